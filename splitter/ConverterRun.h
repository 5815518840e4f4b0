// Runs the converter hidden and waits for it without freezing the window: a nested event loop
// that takes no user input (it stays queued, in order, for afterwards) and a bound on the wait.
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

struct ConverterExit {
    bool started = false;
    bool timedOut = false; // stopped by the bound
    bool crashed = false;
    int exitCode = -1;
    QString output; // the last part of what it printed, for the log
    bool Succeeded() const { return started && !timedOut && !crashed && exitCode == 0; }
};

// Starts program with args (no shell), standard input closed, and waits until it ends or the
// bound passes (then it is killed).
ConverterExit RunConverter(const QString& program, const QStringList& args, std::chrono::milliseconds bound);

// The wait a cut of durationSec may take: ten times the range plus a minute.
std::chrono::milliseconds CutTimeBound(long durationSec);

// Whether the converter's output is a real cut: an MP3 whose length covers the range (the
// converter also ends well when it was asked to seek past the end, writing an empty file).
bool CutOutputComplete(const std::string& outputPath, long durationSec);
