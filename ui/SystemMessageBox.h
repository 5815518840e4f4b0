// The system's plain message box, for the few messages that do not use the notification box.
#pragma once

#include <QString>

class QWidget;

namespace ui {

// Text with an OK button, titled `caption` or, when empty, the program's caption (below).
// Blocks until closed. GUI thread only.
void ShowSystemMessageBox(QWidget* parent, const QString& text, const QString& caption = {},
                          bool error = false);

// The title of boxes shown without a caption of their own; the application's name until set.
void SetSystemMessageBoxCaption(const QString& caption);

// Routes platform::ShowPlainMessageBox to ShowSystemMessageBox. Call once at start-up, after the
// QApplication exists; callers on other threads wait while the GUI thread shows the box (so a
// thread the GUI thread is waiting for must not call it).
void InstallPlainMessageBoxHandler();

} // namespace ui
