#include "ui/CentreOverOwner.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui {

void CentreOverOwner(QWidget* box) {
    QRect over;
    if (box->parentWidget())
        over = box->parentWidget()->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isValid())
        box->move(over.center() - QPoint(box->width() / 2, box->height() / 2));
}

} // namespace ui
