// The recorder's application object: decides whether the program runs at all, lets the maker's
// updater and the start-up checks run first, then runs the main window until it closes.
#pragma once

#include <string>

class CQuorRecorderApp {
public:
    // The whole command line after the program's path: the arguments joined by single spaces.
    static std::string CommandLineText(int argc, const char* const* argv);
    // The program runs only when that text is exactly "QuorRecorder" (case-sensitive).
    static bool RunsWith(const std::string& commandLine);

    explicit CQuorRecorderApp(std::string commandLine);

    // Needs the QApplication. Returns after the main window has closed (false, as the program
    // then ends), or at once when the command line does not match.
    bool InitInstance();

private:
    void RunStartupChecks();

    std::string m_CommandLine;
};
