// Window shapes from pictures: the pixels of an image that are not of one colour.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QRgb>

class QWidget;

namespace ui {

// Every pixel whose colour (alpha ignored) differs from `excluded`, as a region in image
// coordinates. White excluded gives a skin button's mask shape; magenta gives a colour-keyed face.
QRegion RegionOfPixelsNot(const QImage& image, QRgb excluded);

// A black-on-white mask as coverage (premultiplied alpha): black opaque, white clear, greys
// partly covered, so a shape drawn through it keeps a smooth edge.
QImage MaskCoverage(const QImage& mask);

// The picture with its pixels of colour `key` (alpha ignored) left out, ready to paint.
QPixmap WithoutColour(const QImage& image, QRgb key);

// Gives a skinned top-level window the shape of its face's pixels that are not `key`, on every
// desktop: an X11 shape, and on a Wayland session also a see-through background, as compositors
// there ignore shapes (XWayland under sway, Wayland itself). The window then paints
// its face clipped to its mask(). Before the window is first shown.
void ShapeWindowToFace(QWidget* window, const QImage& face, QRgb key);

} // namespace ui
