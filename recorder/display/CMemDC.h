// An off-screen surface for one paint: everything is drawn into a pixmap of the rectangle's
// size, filled first with the target's background colour, and copied to the target in one
// block when the CMemDC goes out of scope. A printing target is drawn on directly.
// A window that paints often hands in its own pixmap to be reused: a new pixmap per paint also
// means a new paint engine per paint.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QRect>

class CMemDC {
public:
    // rect: logical coordinates of the target; drawing uses the same coordinates.
    CMemDC(QPainter& target, const QRect& rect, const QColor& background, QPixmap* reusable = nullptr);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return m_bMemDC ? m_Painter : m_Target; }

private:
    QPainter& m_Target;
    QPixmap m_OwnBitmap;
    QPixmap& m_Bitmap;
    QPainter m_Painter;
    QRect m_Rect;
    bool m_bMemDC;
};
