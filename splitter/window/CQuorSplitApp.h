// QuorSplit's application object: takes the file to open from the command line, sets up fonts,
// locale and message boxes, and runs the window modally; the program ends with it.
#pragma once

#include <QStringList>

#include <string>

class CQuorSplitApp {
public:
    // The input path: the first argument after the program name, verbatim; empty without one.
    static std::string InputPathFrom(const QStringList& arguments);
    // Runs the program inside an existing QApplication; returns its exit code.
    int Run();
};
