// The recorder's application object: decides whether the program runs at all, lets the maker's
// updater and the start-up checks run first, then runs the main window until it closes.
#pragma once

#include <string>

class CQuorRecorderDlg;

class CQuorRecorderApp {
public:
    // The whole command line after the program's path: the arguments joined by single spaces.
    static std::string CommandLineText(int argc, const char* const* argv);
    // The program runs only when that text is exactly "QuorRecorder" (case-sensitive).
    static bool RunsWith(const std::string& commandLine);

    explicit CQuorRecorderApp(std::string commandLine);
    ~CQuorRecorderApp();

    // Needs the QApplication. Returns after the main window has closed (false, as the program
    // then ends), or at once when the command line does not match.
    bool InitInstance();

    // The running program's application object and main window (null outside InitInstance's
    // window phase): the settings dialog reaches ApplySettings through it.
    static CQuorRecorderApp* Instance() { return s_Instance; }
    CQuorRecorderDlg* MainWindow() const { return m_pMainWnd; }

private:
    void RunStartupChecks();

    static inline CQuorRecorderApp* s_Instance = nullptr;
    std::string m_CommandLine;
    CQuorRecorderDlg* m_pMainWnd = nullptr;
};
