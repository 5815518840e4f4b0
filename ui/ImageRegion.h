// Window shapes from pictures: the pixels of an image that are not of one colour.
#pragma once

#include <QImage>
#include <QRegion>
#include <QRgb>

namespace ui {

// Every pixel whose colour (alpha ignored) differs from `excluded`, as a region in image
// coordinates. White excluded gives a skin button's mask shape; magenta gives a colour-keyed face.
QRegion RegionOfPixelsNot(const QImage& image, QRgb excluded);

} // namespace ui
