// QProcess in a nested event loop; lines that show progress restart the time limit.
#include "platform/shell/ProgramRunner.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <signal.h>
#include <sys/prctl.h>

namespace platform {

namespace {
constexpr qsizetype kKeptOutput = 4096;
constexpr int kStartWaitMs = 10000;
constexpr int kEndWaitMs = 5000;
} // namespace

ProgramRunner::ProgramRunner(std::chrono::milliseconds timeLimit) : m_TimeLimit(timeLimit) {}

void ProgramRunner::Cancel() {
    m_CancelAsked = true;
    if (m_Loop)
        m_Loop->quit();
}

bool ProgramRunner::TakeOutput(QProcess& process, ProgramExit& result) {
    const QString text = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.output += text;
    if (result.output.size() > kKeptOutput)
        result.output = result.output.right(kKeptOutput);
    m_PendingLine += text;
    bool progress = false;
    qsizetype end;
    while ((end = m_PendingLine.indexOf(QLatin1Char('\n'))) >= 0) {
        const QString line = m_PendingLine.left(end);
        m_PendingLine.remove(0, end + 1);
        if (m_OnLine(line))
            progress = true;
    }
    if (m_PendingLine.size() > kKeptOutput)
        m_PendingLine.clear(); // a status line rewritten with carriage returns only; no progress in it
    return progress;
}

ProgramExit ProgramRunner::Run(const QString& program, const QStringList& args) {
    ProgramExit result;
    m_CancelAsked = false;
    m_PendingLine.clear();
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(m_OnLine ? QProcess::MergedChannels : QProcess::ForwardedChannels);
    if (m_EndsWithThisProcess)
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    const bool limited = m_TimeLimit > kNoTimeLimit;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        if (TakeOutput(process, result) && limited)
            limit.start(m_TimeLimit);
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        result.timedOut = true;
        loop.quit();
    });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(kStartWaitMs)) {
        result.output = process.errorString();
        return result;
    }
    result.started = true;
    if (limited)
        limit.start(m_TimeLimit);
    m_Loop = &loop;
    if (process.state() != QProcess::NotRunning && !m_CancelAsked)
        loop.exec();
    m_Loop = nullptr;
    result.cancelled = m_CancelAsked && !result.timedOut;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kEndWaitMs);
    }
    if (m_OnLine)
        TakeOutput(process, result);
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    return result;
}

bool RunAndWait(const std::string& program, const std::vector<std::string>& arguments) {
    const QString path = QString::fromStdString(program);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    return ProgramRunner().Run(path, list).started;
}

} // namespace platform
