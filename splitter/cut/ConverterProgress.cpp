// Progress lines of the converter; only a written time that grew counts as progress.
#include "splitter/cut/ConverterProgress.h"

#include <cstring>
#include <memory>

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

platform::ProgramRunner ConverterRunner(std::chrono::milliseconds stallLimit, WrittenHandler onWritten) {
    platform::ProgramRunner runner(stallLimit);
    runner.SetEndsWithThisProcess(true);
    auto latest = std::make_shared<std::chrono::milliseconds>(-1);
    runner.SetLineHandler([latest, onWritten = std::move(onWritten)](const QString& line) {
        const std::chrono::milliseconds written = ReportedTime(line);
        if (written <= *latest)
            return false;
        *latest = written;
        if (onWritten)
            onWritten(written);
        return true;
    });
    return runner;
}
