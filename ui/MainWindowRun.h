// Runs a program's main window, a QDialog, until it closes. Not through QDialog::exec(): that
// makes the window modal, so on X11 it claims _NET_WM_STATE_MODAL and window managers and docks
// take it for a dialog. GUI thread only.
#pragma once

class QDialog;

namespace ui {

// Shows the window and returns its result once it is done.
int RunMainWindow(QDialog& window);

} // namespace ui
