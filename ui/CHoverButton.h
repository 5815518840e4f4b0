// A push button drawn from one horizontal strip of 1 to 4 pictures that lights up under the
// mouse. GUI thread only.
#pragma once

#include "ui/Skin.h"

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

class CHoverButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CHoverButton(QWidget* parent = nullptr);

    // Loads the strip, splits it into `imageCount` pictures and resizes the button to one
    // picture without moving it. False (and nothing changed) when the bitmap is missing.
    bool LoadBitmap(SkinSet set, int bitmapId, int imageCount);
    bool LoadBitmap(const QPixmap& strip, int imageCount);

    // A locked button shows its held-down picture whatever the mouse does (page buttons).
    void SetLocked(bool locked);
    bool IsLocked() const { return locked_; }
    bool IsHovering() const { return hovering_; }
    void SetTooltip(const QString& text, bool activate = true);

    // Index of the picture the current state shows.
    int CurrentPicture() const;
    QSize ImageSize() const { return {imageWidth_, imageHeight_}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    QSize sizeHint() const override { return ImageSize(); }

private:
    const QImage& FocusRingImage();

    bool hovering_ = false;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    QPixmap strip_;
    bool locked_ = false;
    int imageCount_ = 1;
    QImage focusRing_; // made when first shown
};
