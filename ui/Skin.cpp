// Resource lookup for the skin images.
#include "Skin.h"

#include <QFile>
#include <QPixmapCache>

namespace {
const char* FolderOf(SkinSet set) {
    return set == SkinSet::Recorder ? "recorder" : "splitter";
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
    if (!QPixmapCache::find(path, &pixmap) && pixmap.load(path))
        QPixmapCache::insert(path, pixmap);
    return pixmap;
}

QImage Skin::Image(SkinSet set, int id) {
    if (id <= 0)
        return {};
    QImage image(ResourcePath(set, id));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}
