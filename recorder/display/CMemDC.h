// The off-screen surface for one paint of a display control. Qt paints a widget into its
// window's backing store and copies the store to the screen in one block once the paint is
// over, so that store already is the off-screen bitmap: a CMemDC fills the rectangle with the
// target's background colour, and closing it restores the painter's state (origin, pen,
// brush) as the caller left it. A second bitmap of our own would be drawn and copied once
// more on every paint, for the same pixels.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

class CMemDC {
public:
    // rect: logical coordinates of the target; drawing uses the same coordinates.
    CMemDC(QPainter& target, const QRect& rect, const QColor& background);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return m_Target; }

private:
    QPainter& m_Target;
};
