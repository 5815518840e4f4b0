// The volume page: every mixer device, the lines of the chosen device's playback or recording
// destination, the chosen line's volume, switch and (recording side) source, and a live input
// level bar. Every change goes to the mixer at once; Commit has nothing to do. GUI thread only,
// except OnMixerNotify (the mixer's notification thread), which only posts to the GUI thread.
#pragma once

#include "platform/mixer/Mixer.h"
#include "recorder/settings/dialog/SettingsPage.h"

#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class CFrequencyGraph;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSlider;
class Recorder;

namespace CSettingDlg_VolumeIds {
constexpr int IDD_SETTING_VOLUME = 133;
constexpr int IDC_STATIC_LEVEL = 1002;
constexpr int IDC_COMBO_DEVICE = 1036;
constexpr int IDC_LIST_PLAYBACK_LINES = 1043;
constexpr int IDC_COMBO_SOURCE = 1044;
constexpr int IDC_SLIDER_PLAYBACK = 1045;
constexpr int IDC_CHK_PLAYBACK_SWITCH = 1046;
constexpr int IDC_SLIDER_RECORD = 1047;
constexpr int IDC_CHK_RECORD_SWITCH = 1048;
constexpr int IDC_LIST_RECORD_LINES = 1049;
} // namespace CSettingDlg_VolumeIds

class CSettingDlg_Volume : public SettingsPage, private IMixerNotify {
    Q_OBJECT
public:
    static const QString& HelpText();

    explicit CSettingDlg_Volume(QWidget* parent = nullptr);
    // The settings dialog's maker of its volume page.
    static SettingsPage* Create(QWidget* parent) { return new CSettingDlg_Volume(parent); }
    // Closes each distinct mixer handle once and stops the level capture.
    ~CSettingDlg_Volume() override;

    void Commit() override {}

    CFrequencyGraph* LevelMeter() const { return m_Level; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // One side of the page: the playback (speakers) or the recording (wave-in) destination.
    struct Side {
        QListWidget* lines = nullptr;
        QSlider* slider = nullptr;
        QCheckBox* check = nullptr;
        uint32_t volumeId = 0;
        uint32_t switchId = 0;
    };

    void ListDevices();
    HMIXER ChosenMixer() const;
    void ListLines();
    void ListDestination(HMIXER mixer, const MIXERLINE& destination, QListWidget* list);
    void ShowLineControls(Side& side);
    void ResetValueControls();
    void ShowVolume(Side& side, const MIXERCONTROL& control);
    void ShowSwitch(Side& side, const MIXERCONTROL& control, const QString& caption);
    void ShowSource(const MIXERCONTROL& control);
    // The source selector shows the MUX item that `items` (one value per item) has selected.
    void ShowSelectedSource(const std::vector<uint32_t>& items);
    void ReadSliderFromMixer(QSlider* slider, uint32_t controlId);

    void WriteVolume(const Side& side);
    void WriteSwitch(const Side& side, bool on);
    void WriteSource(int entry);
    // The selector's entries are the MUX's item names as the mixer gives them now.
    bool SourceEntriesCurrent() const;

    // The lines read again (sources or outputs came or went, the default output changed), with
    // the line that was chosen chosen again.
    void RelistKeepingChoice();

    void OnMixerNotify(HMIXER mixer, uint32_t message, uint32_t id) override;
    void RefreshControl(HMIXER mixer, uint32_t controlId);

    void StartLevelMeter();

    QComboBox* m_Devices;
    QLabel* m_DevicesLabel;
    QLabel* m_VolumeLabel;
    QLabel* m_MuteLabel;
    QLabel* m_Help;
    QComboBox* m_Source;
    CFrequencyGraph* m_Level;
    Side m_Playback;
    Side m_Record;
    // The MUX the source selector shows and writes (0 while none is shown).
    uint32_t m_SourceMuxId = 0;
    QTimer m_Relist;

    std::vector<MIXERCAPS> m_Caps;
    std::vector<HMIXER> m_Handles;
    std::unique_ptr<Recorder> m_LevelCapture;
};
