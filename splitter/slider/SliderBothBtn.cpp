// Thumb dragging: the anchor is taken in the thumb's own coordinates, so each step reports how
// far the pointer is from where it grabbed the thumb, wherever the slider has moved it since.
#include "splitter/slider/SliderBothBtn.h"

#include "splitter/slider/SliderEvents.h"
#include "splitter/slider/SliderRange.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

SliderBothBtn::SliderBothBtn(QWidget* slider, bool isStartThumb, bool horizontal)
    : QWidget(slider), m_IsStart(isStartThumb), m_Horizontal(horizontal) {
    setObjectName(isStartThumb ? "StartThumb" : "EndThumb");
    resize(slider::kThumbSize, slider::kThumbSize);
    setCursor(Qt::SizeHorCursor);
}

void SliderBothBtn::SetPicture(const QPixmap& picture) {
    m_Picture = picture;
    update();
}

void SliderBothBtn::DrawAt(QPainter& painter, const QRect& rect) const {
    if (!m_Picture.isNull())
        painter.drawPixmap(rect, m_Picture);
}

void SliderBothBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawAt(painter, rect());
}

void SliderBothBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_Anchor = Along(event->position().toPoint());
    m_Dragging = true; // Qt grabs the mouse for the pressed widget until the release
}

void SliderBothBtn::mouseMoveEvent(QMouseEvent* event) {
    if (!m_Dragging)
        return;
    QCoreApplication::postEvent(
        parentWidget(), new slider::DragStepEvent(Along(event->position().toPoint()) - m_Anchor, m_IsStart));
}

void SliderBothBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_Dragging)
        return;
    QCoreApplication::postEvent(parentWidget(), new slider::DragEndEvent(m_IsStart));
    m_Dragging = false;
    update();
}
