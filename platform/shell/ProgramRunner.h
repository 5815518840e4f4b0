// Starting a program and waiting for it to end, as ShellExecuteEx followed by a wait would. The
// wait is a nested event loop, so a window keeps painting meanwhile; it can be cancelled, and it
// ends a program that shows no progress within a time limit.
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QEventLoop;
class QProcess;

namespace platform {

struct ProgramExit {
    bool started = false;
    bool timedOut = false;  // ended because it showed no progress within the time limit
    bool cancelled = false; // ended by Cancel()
    bool crashed = false;
    int exitCode = -1;
    QString output; // the last part of what it printed, when its lines are read
    bool Succeeded() const { return started && !timedOut && !cancelled && !crashed && exitCode == 0; }
};

// One run at a time, window thread only (the wait runs the application's event loop, so there must
// be one). The program is started without a shell, with standard input closed.
class ProgramRunner {
public:
    // Waits as long as the program runs.
    static constexpr std::chrono::milliseconds kNoTimeLimit{0};
    // Called on the window thread with each line the program prints (standard output and error
    // together); true when the line shows progress, which starts the time limit again.
    using LineHandler = std::function<bool(const QString& line)>;

    explicit ProgramRunner(std::chrono::milliseconds timeLimit = kNoTimeLimit);

    // With a handler the output is read line by line and its last part kept; without one it goes
    // where this process's output goes.
    void SetLineHandler(LineHandler handler) { m_OnLine = std::move(handler); }
    // Whether the program dies with this process, even when this one is killed: a converter must
    // not write on alone, an updater that replaces files must be left to finish.
    void SetEndsWithThisProcess(bool ends) { m_EndsWithThisProcess = ends; }

    // Starts program with args and returns when it has ended, been cancelled or timed out.
    ProgramExit Run(const QString& program, const QStringList& args);
    // Ends a running program; Run returns soon after with `cancelled`. Harmless otherwise.
    void Cancel();
    bool Running() const { return m_Loop != nullptr; }

private:
    // Takes what the program printed; true when a line showed progress.
    bool TakeOutput(QProcess& process, ProgramExit& result);

    std::chrono::milliseconds m_TimeLimit;
    LineHandler m_OnLine;
    bool m_EndsWithThisProcess = false;
    QEventLoop* m_Loop = nullptr;
    bool m_CancelAsked = false;
    QString m_PendingLine;
};

// Starts `program` with the argument list and waits, without a time limit, until it has ended; its
// output goes where ours goes. False at once when it is not an executable file or cannot start.
bool RunAndWait(const std::string& program, const std::vector<std::string>& arguments);

} // namespace platform
