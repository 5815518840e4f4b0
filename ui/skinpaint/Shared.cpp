// Pictures both programs carry in the same look: dialog buttons, title bars, About parts, icons.
#include "ui/skinpaint/SkinPaint.h"

#include <QPainterPath>

namespace skinpaint {

QImage TitleBar(Icon icon, const QString& text) {
    QImage bar = Picture(356, 32, QImage::Format_RGB32);
    QPainter p(&bar);
    Antialias(p);
    FillTitleBand(p, QRect(0, 0, 356, 32));
    p.fillRect(QRect(0, 31, 356, 1), QColor(0x12, 0x14, 0x17));
    DrawIcon(p, icon, QRectF(10, 8, 16, 16), icon == Icon::Record ? colour::kRecordRed : colour::kLightInk);
    p.setFont(CaptionFont(13));
    p.setPen(colour::kLightInk);
    p.drawText(QRectF(33, 0, 280, 32), Qt::AlignLeft | Qt::AlignVCenter, text);
    return bar;
}

QImage AboutFooter(const QString& wordmark) {
    QImage band = Picture(305, 20, QImage::Format_RGB32);
    band.fill(QColor(236, 236, 236));
    QPainter p(&band);
    Antialias(p);
    QLinearGradient line(0, 0, 305, 0);
    line.setColorAt(0, QColor(0xb5, 0xb5, 0xb5, 0));
    line.setColorAt(0.5, QColor(0xb5, 0xb5, 0xb5));
    line.setColorAt(1, QColor(0xb5, 0xb5, 0xb5, 0));
    p.fillRect(QRectF(0, 1, 305, 1), line);
    p.setFont(CaptionFont(10));
    p.setPen(QColor(0x86, 0x8e, 0x96));
    p.drawText(QRectF(0, 4, 305, 16), Qt::AlignCenter, wordmark);
    return band;
}

void DrawGraphiteTile(QPainter& p, const QRectF& tile, double radius) {
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    g.setColorAt(0, QColor(0x4a, 0x52, 0x5b));
    g.setColorAt(1, QColor(0x1f, 0x23, 0x28));
    p.setPen(QPen(QColor(0x12, 0x14, 0x17), 1));
    p.setBrush(g);
    p.drawRoundedRect(tile, radius, radius);
}

QImage EmblemCanvas() {
    QImage pic = Picture(100, 90, QImage::Format_RGB32);
    pic.fill(QColor(236, 236, 236)); // the About box's face
    QPainter p(&pic);
    Antialias(p);
    DrawGraphiteTile(p, QRectF(12.5, 5.5, 75, 75), 16);
    return pic;
}

QImage AppIcon(Icon icon, const QColor& ink) {
    QImage image = Canvas(64, 64);
    QPainter p(&image);
    Antialias(p);
    DrawGraphiteTile(p, QRectF(2.5, 2.5, 59, 59), 13);
    DrawIcon(p, icon, QRectF(14, 14, 36, 36), ink);
    return image;
}

void PaintWindowFace(QPainter& p, const QSize& size, const QColor& bodyTop, const QColor& bodyBottom,
                     Icon icon, const QColor& iconInk, const QString& title) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(0, 0), size), 10, 10);
    p.setClipPath(outline);
    QLinearGradient body(0, 31, 0, size.height());
    body.setColorAt(0, bodyTop);
    body.setColorAt(1, bodyBottom);
    p.fillRect(QRect(QPoint(0, 0), size), body);
    FillTitleBand(p, QRect(0, 0, size.width(), 31));
    p.fillRect(QRect(0, 31, size.width(), 1), QColor(0x12, 0x14, 0x17));
    DrawIcon(p, icon, QRectF(9, 6, 18, 18), iconInk);
    p.setFont(CaptionFont(13));
    p.setPen(colour::kLightInk);
    p.drawText(QRectF(32, 4, 260, 22), Qt::AlignLeft | Qt::AlignVCenter, title);
}

void FinishWindowFace(QPainter& p, const QSize& size, const QColor& edge) {
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(edge, 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 9.5, 9.5);
}

QImage TitleButtonStrip(int size, Icon icon) {
    return Strip(size, size, kThreeStates,
                 [icon](QPainter& p, const QRectF& box, State s) { DrawTitleIconButton(p, box, icon, s); });
}

QImage HomepageStrip() {
    return Strip(90, 26, kThreeStates, [](QPainter& p, const QRectF& r, State s) {
        DrawPillButton(p, r.adjusted(1, 1, -1, -1), Icon::Home, QStringLiteral("홈페이지"), s);
    });
}

QImage RoundFace(Icon icon, State state) {
    QImage image = Picture(34, 34, QImage::Format_RGB32);
    QPainter p(&image);
    // Outside the circle the ring's colours continue, so the mask's soft edge shows the ring
    // and never a light fringe.
    const bool off = state == State::Disabled;
    QLinearGradient bleed(0, 0, 0, 34);
    bleed.setColorAt(0, off ? QColor(0x80, 0x87, 0x8f) : QColor(0x12, 0x14, 0x17));
    bleed.setColorAt(1, off ? QColor(0xa9, 0xb0, 0xb7) : QColor(0x5e, 0x66, 0x70));
    p.fillRect(QRect(0, 0, 34, 34), bleed);
    Antialias(p);
    DrawRoundButton(p, QRectF(0, 0, 34, 34), icon, state);
    return image;
}

QImage PillFace(int width, int height, Icon icon, const QString& caption, State state) {
    QImage image = Picture(width, height, QImage::Format_RGB32);
    image.fill(QColor(0x5b, 0x62, 0x6b)); // the outline's colour under the mask's soft edge
    QPainter p(&image);
    Antialias(p);
    DrawPillButton(p, QRectF(0, 0, width, height), icon, caption, state);
    return image;
}

void PaintSharedDialogParts(Writer& out, const char* program, int ok, int cancel) {
    // The notification box's buttons sit on its white body: OK dark, Cancel silver.
    out.Save(program, ok, Strip(75, 23, kThreeStates, [](QPainter& p, const QRectF& r, State s) {
                 DrawPillButton(p, r.adjusted(1, 0, -1, 0), Icon::None, QStringLiteral("확인"), s, true);
             }));
    out.Save(program, cancel, Strip(75, 23, kThreeStates, [](QPainter& p, const QRectF& r, State s) {
                 DrawPillButton(p, r.adjusted(1, 0, -1, 0), Icon::None, QStringLiteral("취소"), s, false);
             }));
}

} // namespace skinpaint
