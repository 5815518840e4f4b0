// Double buffering for the display controls.
#include "CMemDC.h"

#include <QPaintDevice>

CMemDC::CMemDC(QPainter& target, const QRect& rect, const QColor& background, QPixmap* reusable)
    : m_Target(target), m_Bitmap(reusable ? *reusable : m_OwnBitmap), m_Rect(rect),
      m_bMemDC(target.device() && target.device()->devType() != QInternal::Printer) {
    if (!m_bMemDC) {
        m_Target.fillRect(rect, background);
        return;
    }
    const qreal ratio = target.device()->devicePixelRatioF();
    const QSize pixels = rect.size() * ratio;
    if (m_Bitmap.size() != pixels || m_Bitmap.devicePixelRatio() != ratio) {
        m_Bitmap = QPixmap(pixels);
        m_Bitmap.setDevicePixelRatio(ratio);
    }
    m_Bitmap.fill(background);
    m_Painter.begin(&m_Bitmap);
    // The window origin is the rectangle's top-left, so callers draw in the target's coordinates.
    m_Painter.translate(-rect.topLeft());
}

CMemDC::~CMemDC() {
    if (!m_bMemDC)
        return;
    m_Painter.end();
    m_Target.drawPixmap(m_Rect.topLeft(), m_Bitmap);
}
