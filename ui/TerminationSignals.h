// Turns SIGTERM, SIGINT and SIGHUP (log-out, system shut-down, Ctrl+C) into an orderly close of
// the main window, so that a recording in progress is finished instead of cut off.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
public:
    // `onSignal` runs on the window thread for each signal received while this object lives.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    std::function<void()> m_OnSignal;
    QSocketNotifier* m_Notifier = nullptr;
};
