// Runs the converter hidden and waits for it without freezing the window: a nested event loop in
// which the window keeps painting and playing, reports the converter's progress, and can be
// cancelled. A converter that stops making progress is ended.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

struct ConverterExit {
    bool started = false;
    bool timedOut = false;  // ended because it made no progress for the stall limit
    bool cancelled = false; // ended by Cancel()
    bool crashed = false;
    int exitCode = -1;
    QString output; // the last part of what it printed, for the log
    bool Succeeded() const { return started && !timedOut && !cancelled && !crashed && exitCode == 0; }
};

// One run at a time, window thread only. The converter gets standard input closed, is started
// without a shell, and dies with this process (even when it is killed).
class ConverterRun {
public:
    // Called on the window thread with the media time the converter reports having written.
    using ProgressHandler = std::function<void(std::chrono::milliseconds written)>;

    explicit ConverterRun(std::chrono::milliseconds stallLimit = std::chrono::seconds(30));

    void SetProgressHandler(ProgressHandler handler) { m_OnProgress = std::move(handler); }
    // Starts program with args and returns when it has ended, been cancelled or stalled.
    ConverterExit Run(const QString& program, const QStringList& args);
    // Ends a running converter; Run returns soon after with `cancelled`. Harmless otherwise.
    void Cancel();
    bool Running() const { return m_Loop != nullptr; }

private:
    void TakeOutput(class QProcess& process, ConverterExit& result);

    std::chrono::milliseconds m_StallLimit;
    ProgressHandler m_OnProgress;
    class QEventLoop* m_Loop = nullptr;
    bool m_CancelAsked = false;
    QString m_PendingLine;
    std::chrono::milliseconds m_Written{-1};
};

// The media time in a progress line of the converter ("out_time_us=1500000", or the older
// "out_time_ms=", which also counts microseconds); negative when the line holds none.
std::chrono::milliseconds ReportedTime(const QString& line);

// Whether the converter's output is a real cut: an MP3 whose length covers the range (the
// converter also ends well when it was asked to seek past the end, writing an empty file).
bool CutOutputComplete(const std::string& outputPath, long durationSec);
