// Resource lookup for the skin images.
#include "Skin.h"

#include <QFile>
#include <QImageReader>
#include <QPixmapCache>

namespace {
const char* FolderOf(SkinSet set) {
    return set == SkinSet::Recorder ? "recorder" : "splitter";
}

// Every skin is a PNG: read as one, without asking each image plugin whether it knows the file
// (which loads the SVG, JPEG, GIF and icon plugins and their libraries before the first paint).
QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
} // namespace

QString Skin::ResourcePath(SkinSet set, int id) {
    return QStringLiteral(":/skin/%1/%2.png").arg(QLatin1String(FolderOf(set))).arg(id);
}

bool Skin::Has(SkinSet set, int id) {
    return id > 0 && QFile::exists(ResourcePath(set, id));
}

QPixmap Skin::Bitmap(SkinSet set, int id) {
    if (id <= 0)
        return {};
    const QString path = ResourcePath(set, id);
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        pixmap = QPixmap::fromImage(ReadPng(path));
        if (!pixmap.isNull())
            QPixmapCache::insert(path, pixmap);
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
    const QImage decoded = ReadPng(path);
    if (decoded.isNull())
        return decoded;
    const QImage image = decoded.convertToFormat(QImage::Format_RGB32);
    // Kept for the next caller only when the pixmap would be the same picture.
    if (!decoded.hasAlphaChannel())
        QPixmapCache::insert(path, QPixmap::fromImage(image));
    return image;
}
