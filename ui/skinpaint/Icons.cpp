// Vector icons, drawn into a box of any size with one ink colour.
#include "ui/skinpaint/SkinPaint.h"

#include <QPainterPath>
#include <QtMath>

namespace skinpaint {
namespace {

QPainterPath Gear(const QPointF& c, double outer, double inner, int teeth) {
    QPainterPath path;
    const double step = 2 * M_PI / (teeth * 2);
    for (int i = 0; i < teeth * 2; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a0 = i * step - step * 0.5, a1 = i * step + step * 0.5;
        const QPointF p0(c.x() + r * std::cos(a0), c.y() + r * std::sin(a0));
        const QPointF p1(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
        if (i == 0)
            path.moveTo(p0);
        else
            path.lineTo(p0);
        path.lineTo(p1);
    }
    path.closeSubpath();
    return path;
}

void FolderShape(QPainter& p, const QRectF& b, const QColor& ink) {
    const double w = b.width(), h = b.height();
    QPainterPath back;
    back.moveTo(b.left(), b.top() + h * 0.15);
    back.lineTo(b.left() + w * 0.38, b.top() + h * 0.15);
    back.lineTo(b.left() + w * 0.48, b.top() + h * 0.28);
    back.lineTo(b.right(), b.top() + h * 0.28);
    back.lineTo(b.right(), b.bottom());
    back.lineTo(b.left(), b.bottom());
    back.closeSubpath();
    QColor dim = ink;
    dim.setAlphaF(ink.alphaF() * 0.55);
    p.fillPath(back, dim);
    QPainterPath front;
    front.addRoundedRect(QRectF(b.left(), b.top() + h * 0.40, w, h * 0.60), w * 0.06, w * 0.06);
    p.fillPath(front, ink);
}

} // namespace

void DrawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& ink) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const QPointF c = box.center();
    const double s = std::min(box.width(), box.height());
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Record: {
        QRadialGradient g(c - QPointF(s * 0.12, s * 0.14), s * 0.5);
        g.setColorAt(0, ink.lighter(150));
        g.setColorAt(1, ink.darker(115));
        p.setBrush(g);
        p.drawEllipse(c, s * 0.42, s * 0.42);
        break;
    }
    case Icon::Pause: {
        const double bw = s * 0.24, bh = s * 0.78, gap = s * 0.16;
        p.drawRoundedRect(QRectF(c.x() - gap / 2 - bw, c.y() - bh / 2, bw, bh), 1, 1);
        p.drawRoundedRect(QRectF(c.x() + gap / 2, c.y() - bh / 2, bw, bh), 1, 1);
        break;
    }
    case Icon::Stop:
        p.drawRoundedRect(QRectF(c.x() - s * 0.34, c.y() - s * 0.34, s * 0.68, s * 0.68), s * 0.1, s * 0.1);
        break;
    case Icon::Play: {
        QPainterPath tri;
        tri.moveTo(c.x() - s * 0.28, c.y() - s * 0.40);
        tri.lineTo(c.x() + s * 0.42, c.y());
        tri.lineTo(c.x() - s * 0.28, c.y() + s * 0.40);
        tri.closeSubpath();
        p.setPen(QPen(ink, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tri);
        break;
    }
    case Icon::Folder:
        FolderShape(p, QRectF(c.x() - s * 0.45, c.y() - s * 0.38, s * 0.9, s * 0.76), ink);
        break;
    case Icon::OpenFile: {
        // A page with a folded corner and a note on it: an audio file to open.
        const QRectF page(c.x() - s * 0.34, c.y() - s * 0.45, s * 0.68, s * 0.9);
        const double fold = s * 0.24;
        QPainterPath sheet;
        sheet.moveTo(page.topLeft());
        sheet.lineTo(page.right() - fold, page.top());
        sheet.lineTo(page.right(), page.top() + fold);
        sheet.lineTo(page.bottomRight());
        sheet.lineTo(page.bottomLeft());
        sheet.closeSubpath();
        QPainterPath note;
        note.addEllipse(QPointF(c.x() - s * 0.06, c.y() + s * 0.2), s * 0.11, s * 0.09);
        note.addRect(QRectF(c.x() + s * 0.03, c.y() - s * 0.18, s * 0.06, s * 0.38));
        note.addRect(QRectF(c.x() + s * 0.03, c.y() - s * 0.18, s * 0.16, s * 0.06));
        p.fillPath(sheet.subtracted(note), ink);
        break;
    }
    case Icon::Gear: {
        QPainterPath gear = Gear(c, s * 0.46, s * 0.33, 8);
        QPainterPath hole;
        hole.addEllipse(c, s * 0.15, s * 0.15);
        p.fillPath(gear.subtracted(hole), ink);
        break;
    }
    case Icon::Info: {
        QPainterPath ring;
        ring.addEllipse(c, s * 0.46, s * 0.46);
        QPainterPath inner;
        inner.addEllipse(c, s * 0.36, s * 0.36);
        p.fillPath(ring.subtracted(inner), ink);
        p.drawEllipse(QPointF(c.x(), c.y() - s * 0.17), s * 0.065, s * 0.065);
        p.drawRoundedRect(QRectF(c.x() - s * 0.055, c.y() - s * 0.04, s * 0.11, s * 0.27), 0.8, 0.8);
        break;
    }
    case Icon::Minimise:
        p.drawRoundedRect(QRectF(c.x() - s * 0.30, c.y() + s * 0.14, s * 0.60, s * 0.12), 1, 1);
        break;
    case Icon::Close: {
        p.setPen(QPen(ink, s * 0.12, Qt::SolidLine, Qt::RoundCap));
        const double r = s * 0.26;
        p.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
        p.drawLine(QPointF(c.x() + r, c.y() - r), QPointF(c.x() - r, c.y() + r));
        break;
    }
    case Icon::Scissors: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, s * 0.09, Qt::SolidLine, Qt::RoundCap));
        const double r = s * 0.15;
        const QPointF ring1(c.x() - s * 0.26, c.y() + s * 0.26), ring2(c.x() + s * 0.26, c.y() + s * 0.26);
        p.drawEllipse(ring1, r, r);
        p.drawEllipse(ring2, r, r);
        p.setPen(QPen(ink, s * 0.11, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(ring1 + QPointF(r * 0.7, -r * 0.7), QPointF(c.x() + s * 0.22, c.y() - s * 0.42));
        p.drawLine(ring2 + QPointF(-r * 0.7, -r * 0.7), QPointF(c.x() - s * 0.22, c.y() - s * 0.42));
        break;
    }
    case Icon::Home: {
        QPainterPath house;
        house.moveTo(c.x(), c.y() - s * 0.42);
        house.lineTo(c.x() + s * 0.44, c.y() - s * 0.02);
        house.lineTo(c.x() + s * 0.32, c.y() - s * 0.02);
        house.lineTo(c.x() + s * 0.32, c.y() + s * 0.40);
        house.lineTo(c.x() + s * 0.10, c.y() + s * 0.40);
        house.lineTo(c.x() + s * 0.10, c.y() + s * 0.14);
        house.lineTo(c.x() - s * 0.10, c.y() + s * 0.14);
        house.lineTo(c.x() - s * 0.10, c.y() + s * 0.40);
        house.lineTo(c.x() - s * 0.32, c.y() + s * 0.40);
        house.lineTo(c.x() - s * 0.32, c.y() - s * 0.02);
        house.lineTo(c.x() - s * 0.44, c.y() - s * 0.02);
        house.closeSubpath();
        p.fillPath(house, ink);
        break;
    }
    }
    p.restore();
}

} // namespace skinpaint
