// The messages a thumb and the slider post to the slider, handled in posting order.
#pragma once

#include <QEvent>

namespace slider {

inline const QEvent::Type kDragStep = static_cast<QEvent::Type>(QEvent::User + 24);
inline const QEvent::Type kDragEnd = static_cast<QEvent::Type>(QEvent::User + 25);
inline const QEvent::Type kFirstLayout = static_cast<QEvent::Type>(QEvent::User + 124);

class DragStepEvent : public QEvent {
public:
    DragStepEvent(int stepDelta, bool startThumb, bool snapToPause = false)
        : QEvent(kDragStep), delta(stepDelta), isStart(startThumb), snap(snapToPause) {}
    const int delta;
    const bool isStart;
    const bool snap; // Shift held: the thumb goes to the middle of a pause near the pointer
};

class DragEndEvent : public QEvent {
public:
    explicit DragEndEvent(bool startThumb) : QEvent(kDragEnd), isStart(startThumb) {}
    const bool isStart;
};

} // namespace slider
