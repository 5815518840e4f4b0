// Double buffering for the display controls, through the window's backing store.
#include "recorder/display/CMemDC.h"

CMemDC::CMemDC(QPainter& target, const QRect& rect, const QColor& background) : m_Target(target) {
    m_Target.save();
    m_Target.fillRect(rect, background);
}

CMemDC::~CMemDC() {
    m_Target.restore();
}
