// Thumb pictures: a rounded tab with a straight edge on the side that marks the value.
#include "splitter/slider/SliderThumbPictures.h"

#include "splitter/slider/SliderRange.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap Thumb(bool start) {
    const int s = slider::kThumbSize;
    QPixmap picture(s, s);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    // Straight edge on the value side, round on the other.
    if (start) {
        body.moveTo(s, 0.5);
        body.lineTo(s, s - 0.5);
        body.lineTo(7, s - 0.5);
        body.quadTo(0.5, s - 0.5, 0.5, s / 2.0);
        body.quadTo(0.5, 0.5, 7, 0.5);
    } else {
        body.moveTo(0, 0.5);
        body.lineTo(0, s - 0.5);
        body.lineTo(s - 7, s - 0.5);
        body.quadTo(s - 0.5, s - 0.5, s - 0.5, s / 2.0);
        body.quadTo(s - 0.5, 0.5, s - 7, 0.5);
    }
    body.closeSubpath();
    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(250, 96, 70));
    fill.setColorAt(1, QColor(190, 36, 24));
    p.fillPath(body, fill);
    p.setPen(QPen(QColor(120, 20, 12), 1));
    p.drawPath(body);
    // Grip lines.
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    const int gx = start ? 8 : 6;
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(gx + i * 2.5, 6), QPointF(gx + i * 2.5, s - 6));
    return picture;
}

} // namespace

QPixmap StartThumbPicture() {
    return Thumb(true);
}
QPixmap EndThumbPicture() {
    return Thumb(false);
}
