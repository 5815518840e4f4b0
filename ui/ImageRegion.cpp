// Builds regions row by row from runs of kept pixels.
#include "ImageRegion.h"

namespace ui {

QRegion RegionOfPixelsNot(const QImage& source, QRgb excluded) {
    if (source.isNull())
        return {};
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const QRgb key = excluded | 0xFF000000u;
    QRegion region;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && (row[x] | 0xFF000000u) == key)
                ++x;
            const int start = x;
            while (x < image.width() && (row[x] | 0xFF000000u) != key)
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

} // namespace ui
