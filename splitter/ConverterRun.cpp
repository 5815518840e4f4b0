// QProcess in a nested loop; the media query judges the output.
#include "ConverterRun.h"

#include "player/Mp3Decoder.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <filesystem>

namespace {
constexpr qsizetype kKeptOutput = 4096;
}

ConverterExit RunConverter(const QString& program, const QStringList& args, std::chrono::milliseconds bound) {
    ConverterExit result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        result.output += QString::fromLocal8Bit(process.readAllStandardOutput());
        if (result.output.size() > kKeptOutput)
            result.output = result.output.right(kKeptOutput);
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        result.timedOut = true;
        loop.quit();
    });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(10000)) {
        result.output = process.errorString();
        return result;
    }
    result.started = true;
    limit.start(bound);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.output += QString::fromLocal8Bit(process.readAllStandardOutput());
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    return result;
}

std::chrono::milliseconds CutTimeBound(long durationSec) {
    return std::chrono::milliseconds(10 * 1000 * static_cast<long long>(durationSec) + 60 * 1000);
}

bool CutOutputComplete(const std::string& outputPath, long durationSec) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(outputPath, ec) || std::filesystem::file_size(outputPath, ec) == 0)
        return false;
    if (durationSec <= 0)
        return true; // an empty range gives an empty cut
    platform::Mp3Decoder decoder;
    if (!decoder.Open(outputPath))
        return false;
    // The exact decoded length; a little slack for the last frame's rounding.
    return decoder.LengthMs() >= durationSec * 1000 - 150;
}
