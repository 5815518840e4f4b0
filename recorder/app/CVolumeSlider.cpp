// Painting and mouse handling of the skinned volume slider.
#include "recorder/app/CVolumeSlider.h"

#include "ui/FocusMark.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// The volume, not the position: the slider's top is full volume.
class VolumeSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit VolumeSliderAccessible(QSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return Flip(Slider()->value()); }
    void setCurrentValue(const QVariant& value) override { Slider()->setValue(Flip(value.toInt())); }
    QVariant maximumValue() const override { return Slider()->maximum(); }
    QVariant minimumValue() const override { return Slider()->minimum(); }
    QVariant minimumStepSize() const override { return Slider()->singleStep(); }

private:
    QSlider* Slider() const { return static_cast<QSlider*>(widget()); }
    int Flip(int value) const { return Slider()->maximum() + Slider()->minimum() - value; }
};

QAccessibleInterface* VolumeSliderFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CVolumeSlider"))
        if (auto* slider = qobject_cast<QSlider*>(object))
            return new VolumeSliderAccessible(slider);
    return nullptr;
}

} // namespace

CVolumeSlider::CVolumeSlider(QWidget* parent)
    : QSlider(Qt::Vertical, parent),
      m_Track(Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_VOLUME_TRACK)),
      m_Thumb(Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_VOLUME_THUMB)) {
    setInvertedAppearance(true); // minimum at the top
    setInvertedControls(true);   // the up arrow makes it louder, moving the thumb up
    setFocusPolicy(Qt::StrongFocus);
    static const bool factory = [] {
        QAccessible::installFactory(VolumeSliderFactory);
        return true;
    }();
    (void)factory;
    connect(this, &QAbstractSlider::rangeChanged, this, &CVolumeSlider::StepWithRange);
    StepWithRange();
}

void CVolumeSlider::StepWithRange() {
    const int span = maximum() - minimum();
    setSingleStep(std::max(1, span / 50));
    setPageStep(std::max(1, span / 10));
}

int CVolumeSlider::ThumbTop() const {
    const int travel = std::max(0, height() - Skin::SizeOf(m_Thumb).height());
    const int span = maximum() - minimum();
    if (span <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(value() - minimum()) * travel / span);
}

int CVolumeSlider::ValueAt(int y) const {
    const int travel = std::max(1, height() - Skin::SizeOf(m_Thumb).height());
    const int top = std::clamp(y, 0, travel);
    const long long span = static_cast<long long>(maximum()) - minimum();
    return minimum() + static_cast<int>((top * span + travel / 2) / travel);
}

void CVolumeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), m_Track);
    const QPoint thumb((width() - Skin::SizeOf(m_Thumb).width()) / 2, ThumbTop());
    painter.drawPixmap(thumb, m_Thumb);
    if (ui::ShowsFocusMark(this)) {
        if (m_FocusRing.isNull())
            m_FocusRing = ui::FocusRing(m_Thumb.toImage());
        painter.drawImage(thumb, m_FocusRing);
    }
}

void CVolumeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int y = event->position().toPoint().y();
    const int thumbTop = ThumbTop();
    // A press on the thumb keeps the grab point under the mouse; elsewhere the thumb jumps there.
    m_GrabOffset = (y >= thumbTop && y < thumbTop + Skin::SizeOf(m_Thumb).height())
                       ? y - thumbTop
                       : Skin::SizeOf(m_Thumb).height() / 2;
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
