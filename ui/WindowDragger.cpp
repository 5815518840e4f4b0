// Press, move, release on the window's own surface.
#include "ui/WindowDragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragger::WindowDragger(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        QWindow* handle = window_->window()->windowHandle();
        if (handle && handle->startSystemMove())
            return true;
        dragging_ = true;
        grabOffset_ = mouse->globalPosition().toPoint() - window_->window()->pos();
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!dragging_ || !(mouse->buttons() & Qt::LeftButton))
            return false;
        window_->window()->move(mouse->globalPosition().toPoint() - grabOffset_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!dragging_)
            return false;
        dragging_ = false;
        return true;
    default:
        return false;
    }
}
