// The capture path of the main window: at start-up it unmutes the capture lines, connects the
// recording-volume slider to the capture volume, finds the input mixers, lists the capture
// destination's source lines, recognises the stereo mix by its name and selects it in the
// destination's MUX. Holds the working lists for the window's lifetime. Window thread only.
#pragma once

#include "platform/mixer/Mixer.h"
#include "recorder/devices/CVolumeCtrl.h"
#include "recorder/devices/CapturePathHost.h"

#include <string>
#include <vector>

class CapturePath {
public:
    struct InputDevice {
        std::u16string name;
        uint32_t index; // mixer device index
    };
    struct CaptureControl {
        std::u16string text; // "line-control"
        uint32_t controlId;
        bool onDestination; // found on the capture destination line itself
    };
    static constexpr size_t kMaxSourceLines = 259;

    // notifyTarget: told of the opened mixers' line and control changes, the capture volume's
    // among them, on the mixer's notification thread (may be null).
    CapturePath(ICapturePathHost& host, IVolumeSlider& slider, IMixerNotify* notifyTarget = nullptr);
    ~CapturePath(); // closes the mixers FindInputMixers opened
    CapturePath(const CapturePath&) = delete;
    CapturePath& operator=(const CapturePath&) = delete;

    void PrepareCapturePath();
    // Once the sound server is back (or its first output appeared); mixers that could not be
    // opened before are opened now. A source the user chose on the volume page that is there again
    // stays chosen, its volume and mute untouched. Otherwise the set-up of PrepareCapturePath runs
    // again without its message, and when the chosen source has gone the user is told so once and
    // the stereo mix is selected. Waiting (nothing changed) while the choice cannot be told yet and
    // `chosenMayStillAppear`: call again later.
    enum class Recovery { Done, Waiting };
    Recovery RecoverCapturePath(bool chosenMayStillAppear);
    bool FindInputMixers();
    void ListCaptureLines();
    void CollectMuxControls(HMIXER mixer, const std::u16string& lineName, uint32_t lineId,
                            uint32_t controlCount, bool onDestination);
    void SelectStereoMix();

    // The slider moved to `position`: the capture volume becomes maximum - position. A drag
    // (`dragging`) that was pressed on a full volume (which a boost above 100 % reads as) writes
    // only when it is released, so that a touch ending at the top keeps the boost.
    void OnVolumeSliderPressed();
    void OnVolumeSliderMoved(int position, bool dragging = false);
    void OnVolumeSliderReleased(int position);
    // A change the notify target heard of, handed back on the window thread: when it is the
    // capture volume's (set by another program or the volume page), the slider shows it.
    void OnMixerChange(HMIXER mixer, uint32_t message, uint32_t controlId);

    const std::vector<InputDevice>& InputDevices() const { return m_InputDevices; }
    int SelectedInputDevice() const { return m_SelectedInput; }
    const std::vector<std::u16string>& SourceLines() const { return m_SourceLines; }
    const std::vector<CaptureControl>& CaptureControls() const { return m_CaptureControls; }
    size_t StereoMixPosition() const { return m_StereoMixPosition; }
    size_t MixerCount() const { return m_Caps.size(); }

    // Name rules, public for the volume page.
    static bool IsInputMixerName(const std::u16string& productName);
    static bool IsStereoMixName(const std::u16string& lineName);
    static bool IsMuxName(const std::u16string& controlName);

    static const char* const kStereoDeviceMessage;
    static const char* const kChosenSourceGoneMessage;
    static const char* const kNoticeTitle;

private:
    // What the capture destination's MUX has selected: the stereo mix, another line (its item),
    // nothing (the chosen line has gone), or unknown (no MUX, or it cannot be read).
    struct Choice {
        enum Kind { Unknown, StereoMix, Chosen, Missing } kind;
        size_t item = 0;
    };

    void RefreshSliderPosition();
    void Prepare(bool tellFailure);
    void ConnectSlider();
    void OpenMixers();
    void ReadCaptureLines();
    const CaptureControl* DestinationMux() const;
    HMIXER SelectedMixer() const;
    void WriteMuxItem(size_t item);
    Choice CurrentChoice() const;

    ICapturePathHost& m_Host;
    IVolumeSlider& m_Slider;
    IMixerNotify* m_NotifyTarget;
    CVolumeCtrl m_AnalogMute;    // object A of the start-up sequence
    CVolumeCtrl m_CaptureVolume; // object C: drives the slider
    bool m_bTablesBuilt = false;
    std::vector<MIXERCAPS> m_Caps;
    std::vector<HMIXER> m_Handles;
    std::vector<InputDevice> m_InputDevices;
    int m_SelectedInput = -1;
    std::vector<std::u16string> m_SourceLines;
    std::vector<CaptureControl> m_CaptureControls;
    size_t m_StereoMixPosition = 0;
    bool m_bStereoMixFound = false;
    bool m_bCaptureMixerMissing = false; // the stereo-device message was shown
    bool m_bHoldingVolume = false;       // a drag pressed on a full volume
};
