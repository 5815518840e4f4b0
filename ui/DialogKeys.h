// The keys of the programs' windows and boxes. The dialogs take the system's own keys: Escape
// closes them as their close or Cancel button would, Return and Enter press the focused button
// or else the default one. The main windows press their focused button on Return and Enter;
// the recorder's window never closes on a key. GUI thread only.
#pragma once

class QAbstractButton;
class QDialog;
class QKeyEvent;
class QWidget;

namespace ui {

// Accepts Enter, Return and Escape so they reach no dialog handler; true when it did. The caller
// passes any other key on to QDialog::keyPressEvent.
bool SwallowDialogCloseKey(QKeyEvent* event);

// Return or Enter: clicks the enabled push button (not a check box) that has the focus in
// `window`; true when it did.
bool PressFocusedButton(QWidget* window, QKeyEvent* event);

// Escape rejects `dialog`; Return and Enter press its focused button, else `defaultButton` (when
// given, shown and enabled). True when the key was used; the caller passes others on.
bool HandleDialogKey(QDialog* dialog, QKeyEvent* event, QAbstractButton* defaultButton);

} // namespace ui
