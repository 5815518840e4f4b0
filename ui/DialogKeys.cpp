#include "ui/DialogKeys.h"

#include <QKeyEvent>

namespace ui {

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

} // namespace ui
