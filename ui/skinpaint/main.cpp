// Draws every skin picture of both programs into <folder>/recorder and <folder>/splitter.
#include "ui/skinpaint/SkinPaint.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <skin folder>\n", argv[0]);
        return 2;
    }
    skinpaint::Writer out(QString::fromLocal8Bit(argv[1]));
    for (int scale : {1, 2}) {
        skinpaint::SetScale(scale);
        skinpaint::PaintRecorderSkin(out);
        skinpaint::PaintSplitterSkin(out);
    }
    std::printf("%d pictures written\n", out.Count());
    return 0;
}
