// The messages a thumb and the slider post to the slider, handled in posting order.
#pragma once

#include <QEvent>

namespace slider {

inline const QEvent::Type kDragStep = static_cast<QEvent::Type>(QEvent::User + 24);
inline const QEvent::Type kDragEnd = static_cast<QEvent::Type>(QEvent::User + 25);
inline const QEvent::Type kFirstLayout = static_cast<QEvent::Type>(QEvent::User + 124);

class DragStepEvent : public QEvent {
public:
    DragStepEvent(int delta, bool isStart) : QEvent(kDragStep), delta(delta), isStart(isStart) {}
    const int delta;
    const bool isStart;
};

class DragEndEvent : public QEvent {
public:
    explicit DragEndEvent(bool isStart) : QEvent(kDragEnd), isStart(isStart) {}
    const bool isStart;
};

} // namespace slider
