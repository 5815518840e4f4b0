// Skin choice by state, mask shape and hit test, packed SetSkin arguments.
#include "ui/CxSkinButton.h"

#include "ui/FocusMark.h"
#include "ui/ImageRegion.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTransform>

#include <cstdint>

CxSkinButton::CxSkinButton(QWidget* parent, Kind kind) : QAbstractButton(parent), kind_(kind) {
    textColour_ = palette().color(QPalette::ButtonText);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    if (kind_ != Kind::PushButton) {
        setCheckable(true);
        setAutoExclusive(kind_ == Kind::RadioButton);
    }
}

void CxSkinButton::SetSkin(SkinSet set, int normal, int pressed, int hover, int disabled, int focus, int mask,
                           int drawMode, int border, int margin) {
    normal_.Set(set, normal);
    pressed_.Set(set, pressed);
    hover_.Set(set, hover);
    disabled_.Set(set, disabled != 0 ? disabled : normal);
    focus_.Set(set, focus);
    mask_ = Skin::Image(set, mask);

    if (drawMode & 0x8000)
        drawMode_ = Natural;
    else if (static_cast<int16_t>(drawMode) > 1)
        drawMode_ = Tiled;
    border_ = static_cast<int16_t>(border);
    margin_ = (margin & 0x8000) ? 0 : margin;

    region_ = QRegion();
    maskAlpha_ = QImage();
    if (!mask_.isNull()) {
        region_ = ui::RegionOfPixelsNot(mask_, 0xFFFFFF);
        // Drawn at the screen's ratio for a smooth edge; the hit shape stays in window units.
        maskAlpha_ = ui::MaskCoverage(Skin::Ratio() > 1 ? Skin::Bitmap(set, mask).toImage() : mask_);
        if (drawMode_ == Natural)
            resize(mask_.size());
    }
    ApplyMask();
    update();
}

void CxSkinButton::SetTextColor(const QColor& colour) {
    textColour_ = colour;
    update();
}

void CxSkinButton::ApplyMask() {
    focusRing_ = QImage();
    if (region_.isEmpty()) {
        clearMask();
        return;
    }
    // A stretched skin stretches its shape with it.
    if (drawMode_ == Stretched && mask_.size() != size())
        setMask(QTransform::fromScale(double(width()) / mask_.width(), double(height()) / mask_.height())
                    .map(region_));
    else
        setMask(region_);
}

void CxSkinButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    ApplyMask();
}

bool CxSkinButton::hitButton(const QPoint& pos) const {
    if (!rect().contains(pos))
        return false;
    if (region_.isEmpty())
        return true;
    if (drawMode_ == Stretched && mask_.size() != size() && !mask_.isNull()) {
        const QPoint scaled(pos.x() * mask_.width() / width(), pos.y() * mask_.height() / height());
        return region_.contains(scaled);
    }
    return region_.contains(pos);
}

const QPixmap& CxSkinButton::FaceFor(bool* sunken) const {
    *sunken = false;
    if (!isEnabled())
        return disabled_.Get();
    if (isDown() || isChecked()) {
        *sunken = true;
        return pressed_.Get();
    }
    if (hovering_ && !hover_.Get().isNull())
        return hover_.Get();
    if (hasFocus() && !focus_.Get().isNull())
        return focus_.Get();
    return normal_.Get();
}

QPixmap CxSkinButton::Masked(const QPixmap& bitmap) const {
    QPixmap out(bitmap.size());
    out.setDevicePixelRatio(bitmap.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(0, 0, bitmap);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(QRectF(QPointF(0, 0), bitmap.deviceIndependentSize()), maskAlpha_);
    return out;
}

void CxSkinButton::DrawBitmap(QPainter& painter, const QPixmap& bitmap) const {
    const QPixmap picture = maskAlpha_.isNull() ? bitmap : Masked(bitmap);
    if (drawMode_ == Tiled)
        painter.drawTiledPixmap(rect(), picture);
    else if (drawMode_ == Stretched)
        painter.drawPixmap(rect(), picture);
    else
        painter.drawPixmap(0, 0, picture);
}

void CxSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    bool sunken = false;
    const QPixmap& face = FaceFor(&sunken);
    if (face.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Button));
    else
        DrawBitmap(painter, face);
    if (border_ != 0) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = rect();
        frame.lineWidth = 1;
        frame.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    }
    if (!text().isEmpty()) {
        QRect caption = rect().adjusted(margin_ + 2, 0, -(margin_ + 2), 0);
        if (sunken)
            caption.translate(1, 1);
        painter.setPen(textColour_);
        painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, text());
    }
    if (ui::ShowsFocusMark(this))
        painter.drawImage(QPoint(0, 0), FocusRingImage());
}

const QImage& CxSkinButton::FocusRingImage() {
    const qreal ratio = devicePixelRatioF();
    if (focusRing_.isNull() || focusRing_.deviceIndependentSize() != QSizeF(size()) ||
        focusRing_.devicePixelRatio() != ratio) {
        QImage shape(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        shape.setDevicePixelRatio(ratio);
        shape.fill(Qt::black); // without a mask the button is its rectangle
        if (!maskAlpha_.isNull()) {
            shape.fill(Qt::transparent);
            QPainter p(&shape);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            if (drawMode_ == Stretched)
                p.drawImage(rect(), maskAlpha_);
            else
                p.drawImage(0, 0, maskAlpha_);
        }
        focusRing_ = ui::FocusRing(shape);
    }
    return focusRing_;
}

void CxSkinButton::SetHovering(bool hovering) {
    if (hovering_ != hovering) {
        hovering_ = hovering;
        update();
    }
}

void CxSkinButton::enterEvent(QEnterEvent* event) {
    SetHovering(hitButton(event->position().toPoint()));
    QAbstractButton::enterEvent(event);
}

void CxSkinButton::leaveEvent(QEvent* event) {
    SetHovering(false);
    QAbstractButton::leaveEvent(event);
}

void CxSkinButton::mousePressEvent(QMouseEvent* event) {
    // While held the button is pressed or normal, never lit: dragged off it must look let go.
    if (event->button() == Qt::LeftButton)
        SetHovering(false);
    QAbstractButton::mousePressEvent(event);
}

void CxSkinButton::mouseReleaseEvent(QMouseEvent* event) {
    QAbstractButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        SetHovering(hitButton(event->position().toPoint()));
}

void CxSkinButton::mouseMoveEvent(QMouseEvent* event) {
    // While held, the base class keeps the pressed look in step with hitButton().
    if (!(event->buttons() & Qt::LeftButton))
        SetHovering(hitButton(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void CxSkinButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    setDown(false);
}

void CxSkinButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        hovering_ = false;
    QAbstractButton::changeEvent(event);
}

void CxSkinButton::hideEvent(QHideEvent* event) {
    // Hidden under the mouse, the button gets no leave event: it must not come back lit.
    hovering_ = false;
    QAbstractButton::hideEvent(event);
}
