// Build tool: converts skin PNGs into the ready-to-use files the programs carry as resources.
// usage: quor_skin_pack OUT_DIR SET/ID.png... (paths relative to the working directory; each
// becomes OUT_DIR/SET/ID.skin)
#include "ui/skinpack/SkinFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cstdio>

namespace {

bool SeeThrough(const QImage& argb) {
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return true;
    }
    return false;
}

void PutWord(QByteArray& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool Pack(const QString& png, const QString& out) {
    QImageReader reader(png, "png");
    QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "quor_skin_pack: %s: %s\n", qPrintable(png), qPrintable(reader.errorString()));
        return false;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (!SeeThrough(image))
        image = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes(skinformat::kMagic, 4);
    PutWord(bytes, static_cast<uint32_t>(image.width()));
    PutWord(bytes, static_cast<uint32_t>(image.height()));
    PutWord(bytes, static_cast<uint32_t>(image.format()));
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                     image.width() * skinformat::kBytesPerPixel);
    QDir().mkpath(QFileInfo(out).path());
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "quor_skin_pack: cannot write %s\n", qPrintable(out));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR SET/ID.png...\n", argv[0]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const QString png = QString::fromLocal8Bit(argv[i]);
        const QFileInfo info(png);
        const QString out = outDir + '/' + info.path() + '/' + info.completeBaseName() + ".skin";
        if (!Pack(png, out))
            return 1;
    }
    return 0;
}
