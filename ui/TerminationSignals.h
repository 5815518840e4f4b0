// Turns SIGTERM, SIGINT and SIGHUP (log-out, system shut-down, Ctrl+C) into an orderly close of
// the main window, so that a recording in progress is finished instead of cut off, whatever box
// is open at the time.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
public:
    // `onSignal` runs on the window thread for each signal received while this object lives,
    // after every modal box open over `window` has been cancelled (each returns to the handler
    // that opened it). From the first signal on, a box that opens is cancelled as it shows, so
    // that nothing waits for a click on the way out.
    TerminationSignals(QWidget* window, std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CloseBoxes();

    QPointer<QWidget> m_Window;
    std::function<void()> m_OnSignal;
    QSocketNotifier* m_Notifier = nullptr;
    bool m_Received = false;
};
