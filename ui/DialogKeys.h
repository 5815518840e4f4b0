// The programs' windows and boxes close only through their own buttons: QDialog would close on
// Escape, and on Enter through a default button. GUI thread only.
#pragma once

class QKeyEvent;

namespace ui {

// Accepts Enter, Return and Escape so they reach no dialog handler; true when it did. The caller
// passes any other key on to QDialog::keyPressEvent.
bool SwallowDialogCloseKey(QKeyEvent* event);

} // namespace ui
