#include "ui/DialogKeys.h"

#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>

namespace ui {

namespace {
bool IsReturn(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool Press(QAbstractButton* button) {
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}
} // namespace

bool SwallowDialogCloseKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return true;
    default:
        return false;
    }
}

bool PressFocusedButton(QWidget* window, QKeyEvent* event) {
    if (!IsReturn(event) || event->modifiers() & ~Qt::KeypadModifier)
        return false;
    // A check box keeps its Space; Return on it goes to the default button, as on Windows.
    auto* focused = qobject_cast<QAbstractButton*>(window->focusWidget());
    if (!focused || focused->isCheckable() || focused->window() != window->window() || !Press(focused))
        return false;
    event->accept();
    return true;
}

bool HandleDialogKey(QDialog* dialog, QKeyEvent* event, QAbstractButton* defaultButton) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        dialog->reject();
        return true;
    }
    if (PressFocusedButton(dialog, event))
        return true;
    if (!IsReturn(event) || event->modifiers() & ~Qt::KeypadModifier || !Press(defaultButton))
        return false;
    event->accept();
    return true;
}

} // namespace ui
