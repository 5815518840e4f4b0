// Painting of the flat check box: a framed white square and a tick.
#include "recorder/update/FlatCheckBox.h"

#include <QPainter>
#include <QPainterPath>

void FlatCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const int frame = underMouse() ? 0x50 : 0x8C; // darker under the mouse
    painter.setPen(QColor(frame, frame, frame));
    painter.setBrush(isDown() ? QColor(0xE4, 0xE4, 0xE4) : QColor(Qt::white));
    painter.drawRoundedRect(box, 2, 2);
    if (!isChecked())
        return;
    QPainterPath tick;
    const qreal w = width();
    const qreal h = height();
    tick.moveTo(w * 0.22, h * 0.52);
    tick.lineTo(w * 0.42, h * 0.72);
    tick.lineTo(w * 0.78, h * 0.28);
    painter.setPen(QPen(QColor(0x1F, 0x6F, 0xB2), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}
