// Builds regions row by row from runs of kept pixels.
#include "ui/ImageRegion.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QWidget>

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

QImage MaskCoverage(const QImage& source) {
    const QImage mask = source.convertToFormat(QImage::Format_RGB32);
    QImage coverage(mask.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.setDevicePixelRatio(mask.devicePixelRatio());
    for (int y = 0; y < mask.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(coverage.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            const int a = 255 - qGray(in[x]);
            out[x] = qRgba(a, a, a, a);
        }
    }
    return coverage;
}

QPixmap WithoutColour(const QImage& image, QRgb key) {
    QPixmap pixmap = QPixmap::fromImage(image);
    if (!image.isNull())
        pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
    return pixmap;
}

void ShapeWindowToFace(QWidget* window, const QImage& face, QRgb key) {
    if (face.isNull())
        return;
    // Only a Wayland session needs it (its compositor shows X11 windows whole); on X11 an alpha
    // visual would cost the first paint time for nothing.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        QGuiApplication::platformName() == QLatin1String("wayland"))
        window->setAttribute(Qt::WA_TranslucentBackground);
    window->setMask(RegionOfPixelsNot(face, key));
}

} // namespace ui
