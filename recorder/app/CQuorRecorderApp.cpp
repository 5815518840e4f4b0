// Start-up of the recorder: command line, updater, start-up checks, then the main window.
#include "recorder/app/CQuorRecorderApp.h"

#include "recorder/app/CQuorRecorderDlg.h"
#include "recorder/app/UpdaterLaunch.h"
#include "ui/FontWarmUp.h"
#include "ui/MainWindowRun.h"
#include "ui/TerminationSignals.h"

#if QUOR_UPDATE_CHECKS
#include "platform/net/NetStatus.h"
#include "recorder/update/StartupChecks.h"
#endif

std::string CQuorRecorderApp::CommandLineText(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += ' ';
        text += argv[i];
    }
    return text;
}

bool CQuorRecorderApp::RunsWith(const std::string& commandLine) {
    return commandLine == "QuorRecorder";
}

CQuorRecorderApp::CQuorRecorderApp(std::string commandLine) : m_CommandLine(std::move(commandLine)) {}

bool CQuorRecorderApp::InitInstance() {
    if (!RunsWith(m_CommandLine))
        return false;
    ui::FontWarmUp::WaitUntilRead(); // the start-up checks' boxes and the window show text
    RunStartupChecks();

    CQuorRecorderDlg dialog;
    // Log-out or a kill request closes the window the orderly way: the recording is finished.
    TerminationSignals closeOnSignal(&dialog, [&dialog] { dialog.OnTerminationRequest(); });
    ui::RunMainWindow(dialog);
    return false;
}

void CQuorRecorderApp::RunStartupChecks() {
#if QUOR_UPDATE_CHECKS
    // Every network call below has its own time-out; offline, none is made. Asking whether the
    // computer is online loads the system's network backend: not worth it when nothing is due.
    if (!AnyStartupGateDue(QDate::currentDate()) || !IsOnline())
        return;
    if (UpdaterGate() == 1)
        RunUpdaterIfInstalled(m_CommandLine);
    UpdateCheckGate(nullptr);
    PageRequestGate();
#endif
}
