// QuorSplit's window: open an MP3, play it from the start thumb, choose a range on the slider and
// cut it through the converter. Window thread only; the cut waits for the converter in a nested
// loop in which the window shows the progress and takes only Escape, cancel and close. Tab walks
// the buttons and the two thumbs, Return or Space presses a button, the arrow and page keys move
// a thumb; Escape closes the window.
#pragma once

#include "splitter/loudness/LoudnessScan.h"
#include "splitter/media/SplitContext.h"
#include "splitter/player/COgg.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class CutProgressPanel;
class CHoverButton;
class CxSkinButton;
class IShellActions;
class QLineEdit;
class SliderBoth;
namespace ui {
class TextReadout;
}
namespace platform {
struct ProgramExit;
class ProgramRunner;
} // namespace platform

class CQuorSplitDlg : public QDialog {
    Q_OBJECT
public:
    using PlayerFactory = std::function<std::unique_ptr<platform::AudioPlayer>()>;

    // shell: what opens folders and addresses; the real desktop when null.
    explicit CQuorSplitDlg(QWidget* parent = nullptr,
                           PlayerFactory makePlayer = platform::CreatePulseAudioPlayer,
                           IShellActions* shell = nullptr);
    ~CQuorSplitDlg() override;
    void setVisible(bool visible) override;

    // The start-up argument, before the window initialises.
    void SetInputPath(const std::string& path);
    // Runs the initialisation once (showing the window runs it too).
    void OnInitDialog();

    void OnOpen();
    void OnOpenFolder();
    void OnPlay();
    void OnPauseResume();
    void OnStop();
    void OnCut();
    void OnAbout();
    void OnPlayTimer();
    void OnSliderCommand(int commandId);

    bool AskOutputPath();
    bool FindConverter(std::string& path) const;
    // Ends a running cut (the converter stops, its temporary file goes); harmless otherwise.
    void CancelCut();
    // SIGTERM and the like (TerminationSignals has cancelled the open boxes): a running cut is
    // cancelled, then the window closes; no box opens after it.
    void OnTerminationSignal();
    bool Cutting() const { return m_CutRun != nullptr; }
    CutProgressPanel* Progress() const { return m_Progress; }
    // How long a converter may go without reporting progress before it is ended.
    void SetConverterStallLimit(std::chrono::milliseconds limit) { m_StallLimit = limit; }

    SliderBoth* Slider() const { return m_Slider; }
    COgg* Player() const { return m_Player.get(); }
    bool PlayTimerActive() const { return m_PlayTimer.isActive(); }
    // True once the sound server and the file named at start have been opened (after the first paint).
    bool Started() const { return m_Started; }
    // The argument string of the last cut, as a log shows it.
    const std::string& LastCutArguments() const { return m_LastCutArguments; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    // The sound server and the file named on the command line, once the window is on the screen.
    void OnFirstShown();
    void SetTransport(bool play, bool pause, bool stop);
    void LoadFile(const std::string& path, const std::string& name, int tick);
    // Loads the file when it can be played; false (and nothing changed) otherwise.
    bool TryLoad(const std::string& path, const std::string& name, int tick);
    // Playback that could not start or that the sound server dropped: told, and back to idle.
    void PlaybackFailed(bool lost);
    platform::ProgramExit RunCut(const QString& converter, const QStringList& arguments, long rangeSec);
    // The splitter's notification box; Cancel without a box once the program is ending.
    int Notify(const QString& message, int buttonLayout, int width, int height);
    void TellCannotPlay();
    // Reads the loaded file's loudness picture on a thread of its own.
    void StartLoudnessScan();
    void PaintTexts(class QPainter& painter);
    // Start, end and play position as the window paints them.
    std::array<QString, 3> TimeTexts() const;
    // Repaints `area` of the times and tells screen readers the new ones.
    void ShowTimes(const QRect& area);

    SplitContext& m_Ctx;
    PlayerFactory m_MakePlayer;
    std::unique_ptr<COgg> m_Player;
    bool m_Initialised = false;
    bool m_Started = false;
    std::unique_ptr<IShellActions> m_OwnShell;
    IShellActions* m_Shell;
    platform::ProgramRunner* m_CutRun = nullptr; // the running cut
    bool m_CloseAfterCut = false;
    bool m_Terminating = false;
    std::chrono::milliseconds m_StallLimit = std::chrono::seconds(30);
    CutProgressPanel* m_Progress = nullptr;
    QPixmap m_Background;
    SliderBoth* m_Slider = nullptr;
    std::unique_ptr<BackgroundLoudness> m_Loudness; // the loaded file's picture, being read
    bool m_LoudnessPending = false;                 // a file loaded, its scan not yet started
    CHoverButton* m_Close = nullptr;
    CHoverButton* m_Minimize = nullptr;
    CHoverButton* m_About = nullptr;
    CHoverButton* m_Open = nullptr;
    CHoverButton* m_Folder = nullptr;
    CxSkinButton* m_Cut = nullptr;
    CxSkinButton* m_Stop = nullptr;
    CxSkinButton* m_Pause = nullptr;
    CxSkinButton* m_Play = nullptr;
    QLineEdit* m_PathBox = nullptr;
    std::array<ui::TextReadout*, 3> m_TimeReadouts{};
    QTimer m_PlayTimer;
    std::string m_LastCutArguments;
};
