// The skin images of both programs, compiled in as Qt resources and looked up by program and
// resource id (each program keeps its own id space, as its resources did).
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRgb>
#include <QString>

enum class SkinSet { Recorder, Splitter };

// Magenta marks the transparent pixels of colour-keyed images (window faces, digits).
inline constexpr QRgb kSkinColourKey = 0xFFFF00FF;

class Skin {
public:
    // The bitmap with that id, or a null pixmap when the program has none. GUI thread only.
    static QPixmap Bitmap(SkinSet set, int id);
    // The same picture as an image, for pixel work (masks, regions). Null when missing.
    static QImage Image(SkinSet set, int id);
    // Resource path of a bitmap, e.g. ":/skin/recorder/159.png".
    static QString ResourcePath(SkinSet set, int id);
    static bool Has(SkinSet set, int id);
};
