// Resource lookup for the skin images.
#include "ui/Skin.h"

#include "ui/ImageRegion.h"
#include "ui/skinpack/SkinFormat.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QResource>

#include <cstring>

namespace {
const char* FolderOf(SkinSet set) {
    return set == SkinSet::Recorder ? "recorder" : "splitter";
}

// A skin picture as the build packed it (skinpack/). The build stores it uncompressed, so its
// pixels are used in place, without a copy (copied once only where the resource is not aligned
// for 32-bit pixels). A damaged or compressed resource reads as a missing picture.
QImage ReadSkin(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return {};
    const uchar* data = resource.data();
    const qint64 size = resource.size();
    if (!data || size < skinformat::kHeaderBytes || std::memcmp(data, skinformat::kMagic, 4) != 0)
        return {};
    auto word = [data](int at) {
        return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
               uint32_t(data[at + 3]) << 24;
    };
    const uint32_t width = word(4), height = word(8), format = word(12);
    if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32) ||
        size < skinformat::kHeaderBytes + qint64(width) * height * skinformat::kBytesPerPixel)
        return {};
    const uchar* pixels = data + skinformat::kHeaderBytes;
    const QImage image(pixels, int(width), int(height), int(width) * skinformat::kBytesPerPixel,
                       static_cast<QImage::Format>(format));
    if (reinterpret_cast<uintptr_t>(pixels) % alignof(QRgb) != 0)
        return image.copy();
    return image;
}

// The picture drawn at 2x, brought to `ratio`. The window's shape comes from the 1x picture, so the
// colour key is made see-through here rather than drawn; a smooth scale then blends the edges.
QPixmap HiDpiBitmap(const QString& path, qreal ratio) {
    QImage image(QString(path).replace(QLatin1String(".skin"), QLatin1String("@2x.png")));
    if (image.isNull())
        return QPixmap::fromImage(ReadSkin(path)); // no 2x picture: Qt scales the 1x one
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] == kSkinColourKey)
                row[x] = 0;
    }
    if (!qFuzzyCompare(ratio, 2.0)) {
        const QSize size(qRound(image.width() * ratio / 2), qRound(image.height() * ratio / 2));
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                    .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}
} // namespace

// The highest of the screens' ratios: a window is sharp on the best screen and scaled down on the
// others.
qreal Skin::Ratio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap Skin::SeeThroughBitmap(SkinSet set, int id) {
    if (Ratio() > 1)
        return Bitmap(set, id); // already see-through
    return ui::WithoutColour(Image(set, id), kSkinColourKey);
}

QSize Skin::SizeOf(const QPixmap& picture) {
    return picture.deviceIndependentSize().toSize();
}

QRectF Skin::PixelsOf(const QPixmap& picture, const QRect& part) {
    const qreal ratio = picture.devicePixelRatio();
    return QRectF(part.x() * ratio, part.y() * ratio, part.width() * ratio, part.height() * ratio);
}

QString Skin::ResourcePath(SkinSet set, int id) {
    return QStringLiteral(":/skin/%1/%2.skin").arg(QLatin1String(FolderOf(set))).arg(id);
}

bool Skin::Has(SkinSet set, int id) {
    return id > 0 && QFile::exists(ResourcePath(set, id));
}

QPixmap Skin::Bitmap(SkinSet set, int id) {
    if (id <= 0)
        return {};
    const QString path = ResourcePath(set, id);
    const qreal ratio = Ratio();
    const QString key = ratio > 1 ? path + QLatin1Char('@') + QString::number(ratio) : path;
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = ratio > 1 ? HiDpiBitmap(path, ratio) : QPixmap::fromImage(ReadSkin(path));
        if (!pixmap.isNull())
            QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QImage Skin::Image(SkinSet set, int id) {
    if (id <= 0)
        return {};
    const QString path = ResourcePath(set, id);
    // An opaque picture already held as a pixmap has these very pixels: no second decode (the
    // window faces are drawn and also shape their windows; button masks serve several buttons).
    QPixmap held;
    if (QPixmapCache::find(path, &held) && !held.hasAlphaChannel()) {
        const QImage image = held.toImage();
        if (image.format() == QImage::Format_RGB32)
            return image;
    }
    const QImage decoded = ReadSkin(path);
    if (decoded.isNull())
        return decoded;
    const QImage image = decoded.convertToFormat(QImage::Format_RGB32);
    // Kept for the next caller only when the pixmap would be the same picture.
    if (!decoded.hasAlphaChannel())
        QPixmapCache::insert(path, QPixmap::fromImage(image));
    return image;
}
