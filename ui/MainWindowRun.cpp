#include "ui/MainWindowRun.h"

#include <QDialog>
#include <QEventLoop>

namespace ui {

int RunMainWindow(QDialog& window) {
    QEventLoop loop;
    // finished comes from done(), which every close (buttons, the window system, signals) goes
    // through.
    QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
    window.show();
    // exec() had Qt activate the modal window itself; the keyboard must work at once all the same,
    // also on an X server without a window manager.
    window.activateWindow();
    if (window.isVisible())
        loop.exec(QEventLoop::DialogExec);
    return window.result();
}

} // namespace ui
