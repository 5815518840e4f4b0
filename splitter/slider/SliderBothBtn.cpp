// Thumb dragging: the anchor is taken in the thumb's own coordinates, so each step reports how
// far the pointer is from where it grabbed the thumb, wherever the slider has moved it since.
#include "splitter/slider/SliderBothBtn.h"

#include "splitter/slider/SliderBoth.h"
#include "splitter/slider/SliderEvents.h"
#include "splitter/slider/SliderRange.h"
#include "splitter/slider/TimeText.h"
#include "ui/FocusMark.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// A thumb as a slider of its own: its value is the second it marks.
class ThumbAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ThumbAccessible(SliderBothBtn* thumb)
        : QAccessibleWidget(thumb, QAccessible::Slider, thumb->IsStart() ? "시작 위치" : "끝 위치") {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return QString::fromStdString(SplitTimeText(Value()));
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return Value(); }
    void setCurrentValue(const QVariant& value) override {
        if (SliderBoth* slider = Slider())
            slider->MoveThumbBy(Thumb()->IsStart(), value.toInt() - Value());
    }
    QVariant maximumValue() const override { return Limit(false); }
    QVariant minimumValue() const override { return Limit(true); }
    QVariant minimumStepSize() const override { return 1; }

private:
    SliderBothBtn* Thumb() const { return static_cast<SliderBothBtn*>(widget()); }
    SliderBoth* Slider() const { return qobject_cast<SliderBoth*>(Thumb()->parentWidget()); }
    int Value() const {
        int start = 0, end = 0;
        if (SliderBoth* slider = Slider())
            slider->GetSelection(start, end);
        return Thumb()->IsStart() ? start : end;
    }
    int Limit(bool lower) const {
        int minimum = 0, maximum = 0, tick = 0;
        if (SliderBoth* slider = Slider())
            slider->GetRange(minimum, maximum, tick);
        return lower ? minimum : maximum;
    }
};

// The thumb pictures stand on the ruler's white, without alpha: their shape is what is not white.
QImage ThumbShape(const QImage& picture) {
    QImage shape = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shape.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < shape.width(); ++x) {
            const int ink = 255 - std::min({qRed(line[x]), qGreen(line[x]), qBlue(line[x])});
            line[x] = qRgba(0, 0, 0, std::min(qAlpha(line[x]), std::min(255, ink * 3)));
        }
    }
    return shape;
}

QAccessibleInterface* ThumbFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("SliderBothBtn"))
        if (auto* thumb = qobject_cast<SliderBothBtn*>(object))
            return new ThumbAccessible(thumb);
    return nullptr;
}

} // namespace

SliderBothBtn::SliderBothBtn(QWidget* slider, bool isStartThumb, bool horizontal)
    : QWidget(slider), m_IsStart(isStartThumb), m_Horizontal(horizontal) {
    setObjectName(isStartThumb ? "StartThumb" : "EndThumb");
    resize(slider::kThumbSize, slider::kThumbSize);
    setCursor(Qt::SizeHorCursor);
    setFocusPolicy(Qt::StrongFocus);
    static const bool factory = [] {
        QAccessible::installFactory(ThumbFactory);
        return true;
    }();
    (void)factory;
}

void SliderBothBtn::SetPicture(const QPixmap& picture) {
    m_Picture = picture;
    m_FocusRing = QImage();
    update();
}

void SliderBothBtn::DrawAt(QPainter& painter, const QRect& rect) const {
    if (!m_Picture.isNull())
        painter.drawPixmap(rect, m_Picture);
}

void SliderBothBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawAt(painter, rect());
    if (!m_Picture.isNull() && ui::ShowsFocusMark(this)) {
        if (m_FocusRing.isNull()) {
            QImage picture = m_Picture.toImage().scaled(size() * devicePixelRatioF());
            picture.setDevicePixelRatio(devicePixelRatioF());
            m_FocusRing = ui::FocusRing(ThumbShape(picture));
        }
        painter.drawImage(0, 0, m_FocusRing);
    }
}

void SliderBothBtn::keyPressEvent(QKeyEvent* event) {
    auto* slider = qobject_cast<SliderBoth*>(parentWidget());
    int minimum = 0, maximum = 0, tick = 0;
    if (slider)
        slider->GetRange(minimum, maximum, tick);
    const int whole = maximum - minimum;
    int seconds = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        seconds = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        seconds = 1;
        break;
    case Qt::Key_PageDown:
        seconds = -10;
        break;
    case Qt::Key_PageUp:
        seconds = 10;
        break;
    case Qt::Key_Home:
        seconds = -whole;
        break;
    case Qt::Key_End:
        seconds = whole;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (slider)
        slider->MoveThumbBy(m_IsStart, seconds);
    event->accept();
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
        parentWidget(), new slider::DragStepEvent(Along(event->position().toPoint()) - m_Anchor, m_IsStart,
                                                  event->modifiers().testFlag(Qt::ShiftModifier)));
}

void SliderBothBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_Dragging)
        return;
    QCoreApplication::postEvent(parentWidget(), new slider::DragEndEvent(m_IsStart));
    m_Dragging = false;
    update();
}
