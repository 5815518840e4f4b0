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
    // The same picture as an image, for pixel work (masks, regions). Null when missing. GUI
    // thread only.
    static QImage Image(SkinSet set, int id);
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
