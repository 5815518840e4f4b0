// The self-pipe: the signal handler only writes a byte; the window thread reads it and acts.
#include "ui/TerminationSignals.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_SignalPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_SignalPipe[0], &byte, 1);
}
} // namespace

TerminationSignals::TerminationSignals(QWidget* window, std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_Window(window), m_OnSignal(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_SignalPipe) != 0)
        return;
    ::fcntl(g_SignalPipe[0], F_SETFL, O_NONBLOCK);
    ::fcntl(g_SignalPipe[1], F_SETFL, O_NONBLOCK);
    m_Notifier = new QSocketNotifier(g_SignalPipe[1], QSocketNotifier::Read, this);
    connect(m_Notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(g_SignalPipe[1], buffer, sizeof buffer) == static_cast<ssize_t>(sizeof buffer)) {
        }
        if (!m_Received) {
            m_Received = true;
            qApp->installEventFilter(this);
        }
        CloseBoxes();
        m_OnSignal();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

void TerminationSignals::CloseBoxes() {
    // Innermost first: each cancelled box leaves the modal stack at once. Bounded, in case a box
    // refuses to go.
    for (int i = 0; i < 16; ++i) {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box == m_Window)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->reject();
        else
            box->close();
    }
}

bool TerminationSignals::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != m_Window) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        // Queued: the box's own loop is not running yet while it shows.
        if (dialog && dialog->isWindow() && (dialog->isModal() || dialog->testAttribute(Qt::WA_ShowModal)))
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    }
    return false;
}

TerminationSignals::~TerminationSignals() {
    for (int signal : kSignals)
        ::signal(signal, SIG_DFL);
    if (g_SignalPipe[0] >= 0) {
        delete m_Notifier;
        ::close(g_SignalPipe[0]);
        ::close(g_SignalPipe[1]);
        g_SignalPipe[0] = g_SignalPipe[1] = -1;
    }
}
