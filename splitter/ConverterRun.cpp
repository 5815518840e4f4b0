// QProcess in a nested loop; the converter's progress lines restart the stall timer; the media
// query judges the output.
#include "ConverterRun.h"

#include "player/Mp3Decoder.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <signal.h>
#include <sys/prctl.h>

namespace {
constexpr qsizetype kKeptOutput = 4096;
}

std::chrono::milliseconds ReportedTime(const QString& line) {
    for (const char* key : {"out_time_us=", "out_time_ms="}) {
        if (!line.startsWith(QLatin1String(key)))
            continue;
        bool ok = false;
        const qlonglong us = line.mid(static_cast<qsizetype>(std::strlen(key))).trimmed().toLongLong(&ok);
        if (ok && us >= 0)
            return std::chrono::milliseconds(us / 1000);
    }
    return std::chrono::milliseconds(-1);
}

ConverterRun::ConverterRun(std::chrono::milliseconds stallLimit) : m_StallLimit(stallLimit) {}

void ConverterRun::Cancel() {
    m_CancelAsked = true;
    if (m_Loop)
        m_Loop->quit();
}

void ConverterRun::TakeOutput(QProcess& process, ConverterExit& result) {
    const QString text = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.output += text;
    if (result.output.size() > kKeptOutput)
        result.output = result.output.right(kKeptOutput);
    m_PendingLine += text;
    qsizetype end;
    while ((end = m_PendingLine.indexOf(QLatin1Char('\n'))) >= 0) {
        const std::chrono::milliseconds written = ReportedTime(m_PendingLine.left(end));
        m_PendingLine.remove(0, end + 1);
        if (written > m_Written) {
            m_Written = written;
            if (m_OnProgress)
                m_OnProgress(written);
        }
    }
    if (m_PendingLine.size() > kKeptOutput)
        m_PendingLine.clear(); // stats lines end in carriage returns only; they carry no progress
}

ConverterExit ConverterRun::Run(const QString& program, const QStringList& args) {
    ConverterExit result;
    m_CancelAsked = false;
    m_PendingLine.clear();
    m_Written = std::chrono::milliseconds(-1);
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    // Never left converting on its own when this program ends in any way.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QEventLoop loop;
    QTimer stall;
    stall.setSingleShot(true);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        const std::chrono::milliseconds before = m_Written;
        TakeOutput(process, result);
        if (m_Written > before)
            stall.start(m_StallLimit);
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
        result.timedOut = true;
        loop.quit();
    });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(10000)) {
        result.output = process.errorString();
        return result;
    }
    result.started = true;
    stall.start(m_StallLimit);
    m_Loop = &loop;
    if (process.state() != QProcess::NotRunning && !m_CancelAsked)
        loop.exec();
    m_Loop = nullptr;
    result.cancelled = m_CancelAsked && !result.timedOut;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
    TakeOutput(process, result);
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    return result;
}

bool CutOutputComplete(const std::string& outputPath, long durationSec) {
    std::error_code ec;
    if (durationSec <= 0 || !std::filesystem::is_regular_file(outputPath, ec) ||
        std::filesystem::file_size(outputPath, ec) == 0)
        return false;
    platform::Mp3Decoder decoder;
    if (!decoder.Open(outputPath))
        return false;
    // The exact decoded length; a little slack for the last frame's rounding.
    return decoder.LengthMs() >= durationSec * 1000 - 150;
}
