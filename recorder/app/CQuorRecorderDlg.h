// The recorder's main window: the skinned face with its buttons, the elapsed time, the format
// line, the spectrum and the capture-volume slider. It owns the Recorder for its whole life and
// turns button presses into recording commands; Tab walks the controls and Return or Space
// presses one; Escape never closes the window. Window thread only, except OnMixerNotify (the
// mixer's notification thread), which only posts to the window thread.
#pragma once

#include "platform/mixer/Mixer.h"
#include "platform/wavein/CaptureSource.h"
#include "recorder/app/RecorderFace.h"
#include "recorder/devices/dialog/CapturePathDialogs.h"
#include "recorder/engine/Recorder.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <string>

class CapturePath;
class CFrequencyGraph;
class CHoverButton;
class CVolumeSlider;
class CxSkinButton;
class IShellActions;
namespace ui {
class TextReadout;
}

class CQuorRecorderDlg : public QDialog, private IMixerNotify {
    Q_OBJECT
public:
    // `shell` starts programs and opens folders (not owned); null means the real desktop.
    explicit CQuorRecorderDlg(QWidget* parent = nullptr, IShellActions* shell = nullptr);
    ~CQuorRecorderDlg() override;

    // Reloads the settings record, sets or clears always-on-top without moving the window, and
    // repaints. Called at initialisation and by the settings dialog when it closes with OK.
    void ApplySettings();

    // Handlers, one per control and for the timer.
    void OnBtnRecord();
    void OnBtnStop();
    void OnBtnExit();
    void OnBtnSettings();
    void OnBtnMinimize();
    void OnBtnAbout();
    void OnBtnSaveFolder();
    void OnBtnSplit();
    void OnTimer();
    // Every quarter second while the window lives: a recording that ended by itself (its capture
    // lost the sound server, the disk is full, its file was removed) is finished and told at once;
    // a monitor without a server shows silence and is reopened once one is back (at most once a
    // second), and the capture path recovered on it (see CapturePath::RecoverCapturePath).
    void OnDeviceWatch();
    // The chosen application quit during a recording, or the server would not let it be
    // recorded alone: each said once.
    void TellApplicationEvents();
    // Log-out or a kill request, once TerminationSignals has cancelled the boxes open over the
    // window: the recording is finished and the window closes; nothing opens a box or starts a
    // recording after it.
    void OnTerminationRequest();

    int ElapsedSeconds() const { return m_ElapsedSeconds; }
    const QString& StatusText() const { return m_StatusText; }
    bool TimerRunning() const { return m_Timer.isActive(); }
    Recorder& TheRecorder() { return m_Recorder; }
    // True once the sound devices have been opened (shortly after the first paint).
    bool DevicesStarted() const { return m_CapturePath != nullptr; }
    // True from the sound server's return until the capture path has been recovered on it.
    bool RecoveringCapturePath() const { return m_SinceServerBack.isValid(); }

    // Any close (the exit button, the window system's close, the end of the program) finishes a
    // recording in progress and stops the monitor first.
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void OnInitDialog();
    // The sound devices and the information pop-up, once the window is on the screen.
    void OnFirstShown();
    void StartMonitor();
    void PrepareFileName();
    void SetRecordSkin(bool pauseSkin);
    void SetStatus(const QString& text);
    RecorderFaceState FaceState() const;
    // The time, the status and the format line as screen readers read them.
    void UpdateReadouts();
    void AfterRecordButton();
    void ShowNotice(const QString& message);
    void ReportStopOutcome();
    // True when it finished a recording that had ended by itself (and told why).
    bool FinishIfEndedByItself();
    void ShowSilence();
    // The capture path's recovery after the server came back, until it is done.
    void ContinueRecovery();
    // The capture volume changed elsewhere (another program, the volume page): the slider follows.
    void OnMixerNotify(HMIXER mixer, uint32_t message, uint32_t id) override;
    void OpenSettingsDialog();
    void OpenTagEditor(const std::string& path);

    Recorder m_Recorder{1024};
    RecorderFace m_Face;
    int m_ElapsedSeconds = 0;
    QString m_StatusText;
    QTimer m_Timer;
    QTimer m_DeviceWatch;
    QElapsedTimer m_SinceMonitorRetry;
    QElapsedTimer m_SinceServerBack; // valid while the capture path's recovery is not done
    platform::ApplicationCaptureEvents m_ApplicationEventsTold; // of the source m_ApplicationToldOf
    std::string m_ApplicationToldOf;
    std::unique_ptr<IShellActions> m_OwnShell;
    IShellActions* m_Shell;

    CxSkinButton* m_BtnRecord = nullptr;
    CxSkinButton* m_BtnStop = nullptr;
    CxSkinButton* m_BtnSplit = nullptr;
    CxSkinButton* m_BtnSaveFolder = nullptr;
    CHoverButton* m_BtnAbout = nullptr;
    CHoverButton* m_BtnSettings = nullptr;
    CHoverButton* m_BtnMinimize = nullptr;
    CHoverButton* m_BtnExit = nullptr;
    CVolumeSlider* m_VolumeSlider = nullptr;
    CFrequencyGraph* m_Graph = nullptr;
    ui::TextReadout* m_TimeReadout = nullptr;
    ui::TextReadout* m_FormatReadout = nullptr;

    CapturePathDialogs m_CaptureDialogs{this};
    std::unique_ptr<SliderVolumeAdapter> m_SliderAdapter;
    std::unique_ptr<CapturePath> m_CapturePath;
    bool m_bClosing = false;
    bool m_bTerminating = false;
};
