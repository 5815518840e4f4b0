// Picture choice by state, and hover tracking through enter and leave events.
#include "ui/CHoverButton.h"

#include "ui/FocusMark.h"

#include <QEnterEvent>
#include <QPainter>

#include <algorithm>

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

bool CHoverButton::LoadBitmap(SkinSet set, int bitmapId, int imageCount) {
    return LoadBitmap(Skin::Bitmap(set, bitmapId), imageCount);
}

bool CHoverButton::LoadBitmap(const QPixmap& strip, int imageCount) {
    if (strip.isNull() || imageCount < 1 || imageCount > 4)
        return false;
    strip_ = strip;
    imageCount_ = imageCount;
    imageWidth_ = Skin::SizeOf(strip).width() / imageCount;
    imageHeight_ = Skin::SizeOf(strip).height();
    focusRing_ = QImage();
    resize(imageWidth_, imageHeight_);
    update();
    return true;
}

void CHoverButton::SetLocked(bool locked) {
    locked_ = locked;
    update();
}

void CHoverButton::SetTooltip(const QString& text, bool activate) {
    setToolTip(activate ? text : QString());
}

int CHoverButton::CurrentPicture() const {
    const bool pressed = isDown();
    switch (imageCount_) {
    case 2:
        return locked_ ? 0 : 1;
    case 3:
        if (locked_ || pressed)
            return 2;
        return hovering_ ? 1 : 0;
    case 4:
        if (locked_)
            return 3;
        if (pressed)
            return 1;
        if (!isEnabled())
            return 3;
        return hovering_ ? 2 : 0;
    default:
        return 0;
    }
}

void CHoverButton::paintEvent(QPaintEvent*) {
    if (strip_.isNull())
        return;
    QPainter painter(this);
    const QRect source(CurrentPicture() * imageWidth_, 0, imageWidth_, imageHeight_);
    painter.drawPixmap(QPointF(0, 0), strip_, Skin::PixelsOf(strip_, source));
    if (ui::ShowsFocusMark(this))
        painter.drawImage(QPoint(0, 0), FocusRingImage());
}

const QImage& CHoverButton::FocusRingImage() {
    if (!focusRing_.isNull())
        return focusRing_;
    // The button's outline is what any of its pictures covers: a title button's plate shows only
    // under the mouse, faintly, so any cover counts as inside.
    const QImage strip = strip_.toImage().convertToFormat(QImage::Format_ARGB32);
    const int width = strip.width() / imageCount_; // in the strip's own pixels
    QImage shape(width, strip.height(), QImage::Format_ARGB32);
    shape.setDevicePixelRatio(strip.devicePixelRatio());
    for (int y = 0; y < shape.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(shape.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            int cover = 0;
            for (int picture = 0; picture < imageCount_; ++picture)
                cover = std::max(cover, qAlpha(in[picture * width + x]));
            out[x] = qRgba(0, 0, 0, std::min(255, cover * 6));
        }
    }
    focusRing_ = ui::FocusRing(shape);
    return focusRing_;
}

void CHoverButton::enterEvent(QEnterEvent* event) {
    hovering_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CHoverButton::leaveEvent(QEvent* event) {
    hovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CHoverButton::changeEvent(QEvent* event) {
    // A button hidden or disabled under the mouse gets no leave event.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        hovering_ = false;
    QAbstractButton::changeEvent(event);
}

void CHoverButton::hideEvent(QHideEvent* event) {
    // Hidden under the mouse, the button gets no leave event: it must not come back lit.
    hovering_ = false;
    QAbstractButton::hideEvent(event);
}
