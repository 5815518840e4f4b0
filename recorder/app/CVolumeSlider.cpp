// Painting and mouse handling of the skinned volume slider.
#include "recorder/app/CVolumeSlider.h"

#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CVolumeSlider::CVolumeSlider(QWidget* parent)
    : QSlider(Qt::Vertical, parent),
      m_Track(Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_VOLUME_TRACK)),
      m_Thumb(Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_VOLUME_THUMB)) {
    setInvertedAppearance(true); // minimum at the top
    setFocusPolicy(Qt::NoFocus);
}

int CVolumeSlider::ThumbTop() const {
    const int travel = std::max(0, height() - m_Thumb.height());
    const int span = maximum() - minimum();
    if (span <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(value() - minimum()) * travel / span);
}

int CVolumeSlider::ValueAt(int y) const {
    const int travel = std::max(1, height() - m_Thumb.height());
    const int top = std::clamp(y, 0, travel);
    const long long span = static_cast<long long>(maximum()) - minimum();
    return minimum() + static_cast<int>((top * span + travel / 2) / travel);
}

void CVolumeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), m_Track);
    painter.drawPixmap((width() - m_Thumb.width()) / 2, ThumbTop(), m_Thumb);
}

void CVolumeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int y = event->position().toPoint().y();
    const int thumbTop = ThumbTop();
    // A press on the thumb keeps the grab point under the mouse; elsewhere the thumb jumps there.
    m_GrabOffset = (y >= thumbTop && y < thumbTop + m_Thumb.height()) ? y - thumbTop : m_Thumb.height() / 2;
    m_Dragging = true;
    setSliderDown(true);
    setValue(ValueAt(y - m_GrabOffset));
    update();
}

void CVolumeSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_Dragging)
        return;
    setValue(ValueAt(event->position().toPoint().y() - m_GrabOffset));
    update();
}

void CVolumeSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_Dragging) {
        m_Dragging = false;
        setSliderDown(false);
    }
}
