#include "ui/CentreOverOwner.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui {

void CentreOverOwner(QWidget* box) {
    QRect over;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (box->parentWidget()) {
        const QWidget* owner = box->parentWidget()->window();
        over = owner->frameGeometry();
        screen = owner->screen();
    } else if (screen) {
        over = screen->availableGeometry();
    }
    if (!over.isValid())
        return;
    QPoint at = over.center() - QPoint(box->width() / 2, box->height() / 2);
    // A box taller than the space around its owner (a small screen at a large scale) stays whole on
    // the screen: its title bar is what moves it.
    if (screen) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - box->width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - box->height())));
    }
    box->move(at);
}

} // namespace ui
