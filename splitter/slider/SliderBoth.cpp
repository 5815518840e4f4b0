// Two-thumb slider: placement, drag handling and the double-buffered ruler.
#include "splitter/slider/SliderBoth.h"

#include "splitter/loudness/LoudnessProfile.h"
#include "splitter/slider/GdiColor.h"
#include "splitter/slider/SliderBothBtn.h"
#include "splitter/slider/SliderEvents.h"
#include "ui/AccessibleName.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFont>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

using namespace slider;

namespace {
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kLabelGrey = 0x808080;
constexpr int kBarTop = 34;
constexpr int kBarBottom = 44;
// The loudness picture: rows from below the labels to the thumbs' lower edge, mirrored about the
// middle one; the selection's amber and a pale shade of the bar's brown.
constexpr int kPictureMiddle = 32;
constexpr int kPictureHalf = 16;
constexpr uint32_t kPictureSelected = 0x00BEFF;
constexpr uint32_t kPictureOutside = 0xB1B9BF;
constexpr double kSnapReachSeconds = 3.0;
constexpr int kFillRepaintMs = 250;
} // namespace

SliderBoth::SliderBoth() {
    m_LoudnessFill.setInterval(kFillRepaintMs);
    connect(&m_LoudnessFill, &QTimer::timeout, this, [this] {
        if (!m_Loudness)
            return m_LoudnessFill.stop();
        if (m_Loudness->Known() != m_LoudnessDrawn)
            update();
        else if (m_Loudness->Ended())
            m_LoudnessFill.stop();
    });
}

SliderBoth::~SliderBoth() = default;

bool SliderBoth::Create(QWidget* parent, const QRect& rect, bool horizontal, int id) {
    if (!horizontal)
        return false;
    m_Id = id;
    m_Horizontal = horizontal;
    m_Baseline = 47;
    setParent(parent);
    setGeometry(rect.x(), rect.y(), rect.width(), kHeight);
    m_StartThumb = new SliderBothBtn(this, true, horizontal);
    m_EndThumb = new SliderBothBtn(this, false, horizontal);
    ui::SetAccessibleRole(this, QAccessible::Grouping);
    setAccessibleName("자르기 구간");
    show();
    return true;
}

void SliderBoth::SetThumbPictures(const QPixmap& start, const QPixmap& end) {
    if (m_StartThumb)
        m_StartThumb->SetPicture(start);
    if (m_EndThumb)
        m_EndThumb->SetPicture(end);
}

void SliderBoth::SetLoudness(std::shared_ptr<const LoudnessProfile> profile) {
    m_Loudness = std::move(profile);
    m_LoudnessDrawn = 0;
    if (m_Loudness)
        m_LoudnessFill.start();
    else
        m_LoudnessFill.stop();
    update();
}

bool SliderBoth::SetRange(int minimum, int maximum, int tick) {
    if (!ApplyRange(m_Range, minimum, maximum, tick))
        return false;
    Redraw();
    return true;
}

void SliderBoth::GetRange(int& minimum, int& maximum, int& tick) const {
    minimum = m_Range.minimum;
    maximum = m_Range.maximum;
    tick = m_Range.tick;
}

void SliderBoth::GetSelection(int& start, int& end) const {
    start = m_Range.start;
    end = m_Range.end;
}

void SliderBoth::PlaceThumbs(int a, int b, bool moveStart, bool moveEnd) {
    if (!m_Ready || !m_StartThumb || !m_EndThumb)
        return;
    std::tie(a, b) = ClampSelection(m_Range, a, b, moveStart, moveEnd);
    const double scale = Scale(width(), m_Range);
    const int xs = ValueX(a - m_Range.minimum, scale);
    const int xe = ValueX(b - m_Range.minimum, scale);
    const int top = m_Baseline - kThumbSize - 1;
    // Screen readers follow a thumb's value as it moves.
    const auto tell = [](SliderBothBtn* thumb, int value) {
        QAccessibleValueChangeEvent changed(thumb, value);
        QAccessible::updateAccessibility(&changed);
    };
    if (moveStart) {
        const bool changed = std::exchange(m_Range.start, a) != a;
        m_StartThumb->move(xs + 1 - kThumbSize, top);
        if (changed)
            tell(m_StartThumb, a);
    }
    if (moveEnd) {
        const bool changed = std::exchange(m_Range.end, b) != b;
        m_EndThumb->move(xe, top);
        if (changed)
            tell(m_EndThumb, b);
    }
    update();
}

void SliderBoth::MoveThumbBy(bool isStart, int seconds) {
    int start = m_Range.start, end = m_Range.end;
    (isStart ? start : end) += seconds;
    PlaceThumbs(start, end, isStart, !isStart);
    // As at a drag's end: only a changed selection is told.
    OnDragEnd();
}

void SliderBoth::SetMarker(int value) {
    m_Marker = value;
    Redraw();
}

void SliderBoth::Reposition(int x, int y, int w, int, bool repaint) {
    setGeometry(x, y, w, kHeight);
    if (m_Ready)
        PlaceThumbs(m_Range.start, m_Range.end, true, true);
    if (repaint)
        Redraw();
}

void SliderBoth::Redraw() {
    if (isVisible())
        repaint();
    else
        update();
}

void SliderBoth::Notify() {
    // Queued, as the posted command message was: the parent sees it after the current event.
    QMetaObject::invokeMethod(
        this, [this] { emit Command(m_Id); }, Qt::QueuedConnection);
}

void SliderBoth::OnDragStep(int delta, bool isStart, bool snap) {
    const double scale = Scale(width(), m_Range);
    int start = m_Range.start, end = m_Range.end;
    int& moved = isStart ? start : end;
    moved += DragSeconds(delta, scale);
    if (snap && m_Loudness)
        if (const auto pause = m_Loudness->NearestPause(moved - m_Range.minimum, kSnapReachSeconds))
            moved = m_Range.minimum + static_cast<int>(std::lround(*pause));
    PlaceThumbs(start, end, isStart, !isStart);
    Notify(); // every step, even one that moved nothing
}

void SliderBoth::OnDragEnd() {
    const std::pair<int, int> now{m_Range.start, m_Range.end};
    if (m_LastNotified == now)
        return;
    m_LastNotified = now;
    Notify();
}

bool SliderBoth::event(QEvent* e) {
    if (e->type() == kDragStep) {
        auto* step = static_cast<DragStepEvent*>(e);
        OnDragStep(step->delta, step->isStart, step->snap);
        return true;
    }
    if (e->type() == kDragEnd) {
        OnDragEnd();
        return true;
    }
    if (e->type() == kFirstLayout) {
        if (!m_Ready) {
            m_Ready = true;
            PlaceThumbs(m_Range.minimum, m_Range.maximum, true, true);
            update();
        }
        return true;
    }
    return QWidget::event(e);
}

void SliderBoth::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_StartThumb && m_EndThumb && m_Ready)
        PlaceThumbs(m_Range.start, m_Range.end, true, true);
}

void SliderBoth::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void SliderBoth::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void SliderBoth::paintEvent(QPaintEvent*) {
    if (!m_Ready) {
        m_Baseline = 49; // client top + 49 from the first paint on
        QCoreApplication::postEvent(this, new QEvent(kFirstLayout));
    }
    QPainter painter(this);
    PaintTo(painter);
}

void SliderBoth::PaintTo(QPainter& painter) {
    PaintScale(painter);
    for (SliderBothBtn* thumb : {m_StartThumb, m_EndThumb})
        if (thumb)
            thumb->DrawAt(painter, thumb->geometry());
}

void SliderBoth::PaintScale(QPainter& painter) {
    const int t = 0;
    const int w = width();
    painter.fillRect(rect(), Qt::white);

    const double scale = Scale(w, m_Range);
    const int xs = ValueX(m_Range.start, scale);
    const int xe = ValueX(m_Range.end, scale);
    PaintLoudness(painter, xs, xe);

    QFont font("Arial");
    font.setPixelSize(9); // 7 points at 96 dots per inch
    painter.setFont(font);
    for (const ScaleMark& mark : ScaleMarks(m_Range, w)) {
        painter.setPen(Qt::black);
        painter.drawLine(mark.x, t + 18, mark.x, t + (mark.longTick ? 24 : 21));
        if (!mark.label.empty()) {
            painter.setPen(QColor(FromColorRef(kLabelGrey)));
            painter.drawText(QRect(mark.x - 30, t + 3, 60, 12), Qt::AlignHCenter | Qt::AlignVCenter,
                             QString::fromStdString(mark.label));
        }
    }

    const int xm = ValueX(m_Marker, scale);
    const int lineBottom = m_Baseline + 2; // the line ends before baseline + 3
    painter.setPen(QColor(FromColorRef(kRed)));
    painter.drawLine(xs, t + 18, xs, lineBottom);
    painter.drawLine(xe, t + 18, xe, lineBottom);
    painter.setPen(QColor(FromColorRef(kBlue)));
    painter.drawLine(xm, t + 18, xm, lineBottom);

    const auto band = [&](int left, int right) {
        return QRect(QPoint(left, t + kBarTop), QPoint(right - 1, t + kBarBottom - 1));
    };
    const QRect bar = band(kMargin, w - kMargin);
    FillVerticalGradient(painter, bar, {0x3C505F, 0x5A6E82});
    FrameRect(painter, bar, qRgb(255, 255, 255));
    const QRect selection = band(xs, xe);
    FillVerticalGradient(painter, selection, {0x00BEFF, 0xA0FAFF, 0x00BEFF});
    FrameRect(painter, selection, qRgb(255, 255, 255));
    if (xs <= xm && xm <= xe) {
        const QRect played = band(xs, xm);
        FillVerticalGradient(painter, played, {0x225FFF, 0x22C8FF, 0x223CFF});
        FrameRect(painter, played, qRgb(255, 255, 255));
    }
}

void SliderBoth::PaintLoudness(QPainter& painter, int selectionLeft, int selectionRight) {
    if (!m_Loudness)
        return;
    m_LoudnessDrawn = m_Loudness->Known();
    const double scale = Scale(width(), m_Range);
    const int left = ValueX(0, scale);
    const int right = ValueX(m_Range.maximum - m_Range.minimum, scale);
    // Each column shows the loudest moment of the time it spans, up to where the scan has read.
    for (int x = left; x < right; ++x) {
        const double from = (x - kMargin) / scale, to = (x + 1 - kMargin) / scale;
        const std::optional<int> peak = m_Loudness->PeakBetween(from, to);
        if (!peak)
            break;
        const int half =
            static_cast<int>(std::lround(*peak * double(kPictureHalf) / LoudnessProfile::kFullScale));
        if (half < 1)
            continue;
        const bool selected = selectionLeft <= x && x < selectionRight;
        painter.setPen(QColor(FromColorRef(selected ? kPictureSelected : kPictureOutside)));
        painter.drawLine(x, kPictureMiddle - half, x, kPictureMiddle + half);
    }
}
