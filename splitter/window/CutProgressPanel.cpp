// Drawn in the colours of the range slider (its bar and its played part), so the panel reads
// as the range being filled.
#include "splitter/window/CutProgressPanel.h"

#include "splitter/slider/GdiColor.h"
#include "splitter/slider/TimeText.h"
#include "splitter/window/SplitterIds.h"
#include "ui/CHoverButton.h"
#include "ui/ControlId.h"
#include "ui/Fonts.h"
#include "ui/SplitterBitmaps.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

using namespace CQuorSplitDlgIds;

namespace {
const QRect kPanel(8, 95, 484, 62);
const QRect kTitle(16, 9, 300, 16);
const QRect kTimes(16, 9, 362, 16);
const QRect kBar(16, 33, 362, 14);
const QPoint kCancelAt(394, 20);
} // namespace

CutProgressPanel::CutProgressPanel(QWidget* window) : QWidget(window) {
    QUOR_SET_ID(this, IDC_CUT_PROGRESS);
    setGeometry(kPanel);
    m_Cancel = new CHoverButton(this);
    QUOR_SET_ID(m_Cancel, IDC_BTN_CUT_CANCEL);
    m_Cancel->LoadBitmap(SkinSet::Splitter, SplitterBitmap::IDB_BTN_CANCEL, 3);
    m_Cancel->move(kCancelAt);
    m_Cancel->SetTooltip("자르기 취소 (Esc)");
    m_Cancel->setAccessibleName("자르기 취소");
    connect(m_Cancel, &QAbstractButton::clicked, this, &CutProgressPanel::CancelClicked);
    hide();
}

void CutProgressPanel::Start(long rangeSec) {
    m_RangeSec = rangeSec;
    m_WrittenSec = 0;
    m_Written = std::chrono::milliseconds(0);
    show();
    raise();
    update();
}

void CutProgressPanel::SetWritten(std::chrono::milliseconds written) {
    m_Written =
        std::clamp(written, std::chrono::milliseconds(0), std::chrono::milliseconds(m_RangeSec * 1000));
    m_WrittenSec = static_cast<long>(m_Written.count() / 1000);
    update();
}

int CutProgressPanel::Percent() const {
    return m_RangeSec > 0 ? static_cast<int>(m_Written.count() / (m_RangeSec * 10)) : 0;
}

void CutProgressPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    painter.fillPath(outline, QColor(250, 251, 252));
    painter.setPen(QColor(0xB4, 0xBB, 0xC4));
    painter.drawPath(outline);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setFont(ui::CellHeightFont("돋움", 12));
    painter.setPen(QColor(0x4B, 0x4B, 0x4B));
    painter.drawText(kTitle, flags | Qt::AlignLeft, "파일을 자르는 중입니다…");
    painter.setFont(ui::CellHeightFont("돋움체", 12));
    painter.setPen(QColor(0x69, 0x69, 0x69));
    painter.drawText(kTimes, flags | Qt::AlignRight,
                     QString::fromStdString(SplitTimeText(m_WrittenSec) + " / " + SplitTimeText(m_RangeSec)) +
                         QString("  %1%").arg(Percent(), 3));

    FillVerticalGradient(painter, kBar, {0x3C505F, 0x5A6E82});
    const int filled =
        m_RangeSec > 0 ? static_cast<int>(kBar.width() * m_Written.count() / (m_RangeSec * 1000)) : 0;
    if (filled > 0)
        FillVerticalGradient(painter, QRect(kBar.topLeft(), QSize(filled, kBar.height())),
                             {0x225FFF, 0x22C8FF, 0x223CFF});
    FrameRect(painter, kBar, qRgb(255, 255, 255));
}
