// Window shapes from pictures: the pixels of an image that are not of one colour.
#pragma once

#include <QImage>
#include <QRegion>
#include <QRgb>

namespace ui {

// Every pixel whose colour (alpha ignored) differs from `excluded`, as a region in image
// coordinates. White excluded gives a skin button's mask shape; magenta gives a colour-keyed face.
QRegion RegionOfPixelsNot(const QImage& image, QRgb excluded);

// A black-on-white mask as coverage (premultiplied alpha): black opaque, white clear, greys
// partly covered, so a shape drawn through it keeps a smooth edge.
QImage MaskCoverage(const QImage& mask);

} // namespace ui
