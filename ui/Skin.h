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
    // Where a screen's device pixel ratio is above 1 it is the picture drawn at 2x (scaled to the
    // ratio), with that ratio and the colour key already see-through: measure it with SizeOf and
    // take parts of it with PixelsOf.
    static QPixmap Bitmap(SkinSet set, int id);
    // The bitmap with the colour key see-through, for pictures drawn over others (the digits).
    static QPixmap SeeThroughBitmap(SkinSet set, int id);
    // The device pixel ratio the bitmaps are drawn for (1 on an ordinary screen).
    static qreal Ratio();
    // The picture at 1x as an image, for pixel work in window units (masks, regions, shapes).
    // Null when missing. GUI thread only.
    static QImage Image(SkinSet set, int id);
    // The size a picture covers in a window.
    static QSize SizeOf(const QPixmap& picture);
    // Part of a picture, given in window units, as the picture's own pixels.
    static QRectF PixelsOf(const QPixmap& picture, const QRect& part);
    // Resource path of a bitmap, e.g. ":/skin/recorder/159.skin" (packed from skin/recorder/159.png).
    static QString ResourcePath(SkinSet set, int id);
    static bool Has(SkinSet set, int id);
};

// One bitmap of a control, decoded when first drawn: most pictures of a control (pressed, hover,
// disabled) are not seen at start, and the window shows sooner without decoding them.
class LazySkinBitmap {
public:
    void Set(SkinSet set, int id) {
        set_ = set;
        id_ = id;
        loaded_ = id <= 0;
        pixmap_ = QPixmap();
    }
    // The bitmap, or a null pixmap without an id or when the program has none.
    const QPixmap& Get() const {
        if (!loaded_) {
            pixmap_ = Skin::Bitmap(set_, id_);
            loaded_ = true;
        }
        return pixmap_;
    }

private:
    SkinSet set_ = SkinSet::Recorder;
    int id_ = 0;
    mutable bool loaded_ = true;
    mutable QPixmap pixmap_;
};
