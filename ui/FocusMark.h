// The skin's focus mark: a ring of the skin's accent colour along the inside edge of a control's
// shape, drawn by the skinned controls themselves. As on Windows, a window shows it once the user
// works it with the keyboard and hides it again at a mouse press in that window; a box opened
// from the keyboard shows it at once. GUI thread only.
#pragma once

#include <QColor>
#include <QImage>

class QWidget;

namespace ui {

// The accent of the skin's hover rings.
inline const QColor kFocusAccent(0x4d, 0xab, 0xf7);

// Whether `control` has the focus and its window is worked from the keyboard. The first call
// starts watching the application's key and mouse presses; a change repaints the window's
// focused control.
bool ShowsFocusMark(const QWidget* control);

// The ring, `width` pixels wide, inside the shape given by the alpha channel of `shape`
// (premultiplied ARGB, ready to draw over the control).
QImage FocusRing(const QImage& shape, int width = 2);

} // namespace ui
