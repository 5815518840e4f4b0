// A button drawn from up to six bitmaps (normal, pressed, hover, disabled, focus, mask). A mask
// shapes the button: only its non-white pixels are drawn and take clicks. GUI thread only.
#pragma once

#include "ui/Skin.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRegion>

class CxSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Kind { PushButton = 0, CheckBox = 2, RadioButton = 4 };
    enum DrawMode { Natural = 0, Stretched = 1, Tiled = 2 };

    explicit CxSkinButton(QWidget* parent = nullptr, Kind kind = Kind::PushButton);

    // Bitmap ids of `set`, 0 for none. Without a disabled id the normal bitmap serves. The last
    // three arguments keep their packed meaning: draw mode 0x8000 = natural size, above 1 =
    // tiled, otherwise unchanged (stretched from construction); border as a signed 16-bit value;
    // margin 0 when bit 15 is set. With a mask in natural mode the button takes the mask's size.
    void SetSkin(SkinSet set, int normal, int pressed, int hover, int disabled, int focus, int mask,
                 int drawMode = 0, int border = 0, int margin = 0);
    void SetTextColor(const QColor& colour);

    bool IsHovering() const { return hovering_; }
    int Mode() const { return drawMode_; }
    // The clickable shape, in button coordinates; empty without a mask (the whole button).
    QRegion ShapeRegion() const { return region_; }

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyMask();
    const QPixmap& FaceFor(bool* sunken) const;
    void DrawBitmap(QPainter& painter, const QPixmap& bitmap) const;
    QPixmap Masked(const QPixmap& bitmap) const;
    void SetHovering(bool hovering);
    const QImage& FocusRingImage();

    Kind kind_;
    bool hovering_ = false;
    LazySkinBitmap normal_, pressed_, disabled_, hover_, focus_;
    QImage mask_;
    QImage maskAlpha_; // mask as coverage: black = opaque, white = clear, greys = soft edge
    int margin_ = 0;
    QColor textColour_;
    QRegion region_;
    int border_ = 0;
    int drawMode_ = Stretched;
    QImage focusRing_; // for the current shape and size, made when first shown
};
