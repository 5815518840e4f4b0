// At scale 2 the skin is drawn from its 2x pictures: sharp, in the same window units as at 1x, and
// see-through exactly where the 1x picture shapes the window.
#include "ui/CHoverButton.h"
#include "ui/CxSkinButton.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/SplitterBitmaps.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// Share of 2 x 2 blocks whose four pixels are not all alike: 0 for a picture drawn at 1x and
// doubled.
double DetailShare(const QImage& image, const QRect& area) {
    int blocks = 0, detailed = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2)
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            ++blocks;
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                ++detailed;
        }
    return blocks ? double(detailed) / blocks : 0;
}

} // namespace

TEST(SkinAtScaleTwo, EveryPictureIsDrawnAt2xAndCoversItsWindowSize) {
    ASSERT_DOUBLE_EQ(qGuiApp->devicePixelRatio(), 2.0);
    int pictures = 0;
    for (SkinSet set : {SkinSet::Recorder, SkinSet::Splitter})
        for (int id = 100; id < 300; ++id) {
            if (!Skin::Has(set, id))
                continue;
            ++pictures;
            const QPixmap sharp = Skin::Bitmap(set, id);
            const QImage windowUnits = Skin::Image(set, id);
            EXPECT_EQ(sharp.devicePixelRatio(), 2.0) << id;
            EXPECT_EQ(sharp.size(), windowUnits.size() * 2) << id;
            EXPECT_EQ(Skin::SizeOf(sharp), windowUnits.size()) << id;
        }
    EXPECT_GT(pictures, 60);

    // The faces' titles are text and icons: drawn at 2x, not doubled.
    const QImage face = Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_FACE).toImage();
    EXPECT_GT(DetailShare(face, QRect(0, 0, 240, 62)), 0.05);
    const QImage digits = Skin::SeeThroughBitmap(SkinSet::Recorder, RecorderBitmap::IDB_DIGITS).toImage();
    EXPECT_EQ(digits.size(), QSize(260, 36));
    EXPECT_EQ(qAlpha(digits.pixel(0, 0)), 0) << "the digits' key is see-through";
}

TEST(SkinAtScaleTwo, FacesAreSeeThroughExactlyWhereTheWindowShapeIsCut) {
    for (auto [set, id] : {std::pair{SkinSet::Recorder, int(RecorderBitmap::IDB_FACE)},
                           std::pair{SkinSet::Splitter, int(SplitterBitmap::IDB_BACKGROUND)}}) {
        const QImage shape = Skin::Image(set, id);
        const QImage sharp = Skin::Bitmap(set, id).toImage().convertToFormat(QImage::Format_ARGB32);
        int wrong = 0;
        for (int y = 0; y < sharp.height(); ++y)
            for (int x = 0; x < sharp.width(); ++x) {
                const bool cut = (shape.pixel(x / 2, y / 2) | 0xFF000000u) == kSkinColourKey;
                wrong +=
                    cut != (qAlpha(sharp.pixel(x, y)) == 0) || (!cut && qAlpha(sharp.pixel(x, y)) != 255);
            }
        EXPECT_EQ(wrong, 0) << "a pixel inside the shape shows through, or one outside it is drawn (" << id
                            << ")";
    }
}

TEST(SkinAtScaleTwo, ButtonsKeepTheirWindowSizeAndShape) {
    QWidget window;
    auto* hover = new CHoverButton(&window);
    ASSERT_TRUE(hover->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_BTN_ABOUT, 3));
    EXPECT_EQ(hover->size(), QSize(20, 20));

    auto* round = new CxSkinButton(&window);
    using namespace SplitterBitmap;
    round->SetSkin(SkinSet::Splitter, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, 0, 0, IDB_ROUND_MASK,
                   0, 0, 0);
    round->setGeometry(40, 0, 34, 34);
    EXPECT_TRUE(round->mask().contains(QPoint(17, 17)));
    EXPECT_FALSE(round->mask().contains(QPoint(1, 1)));

    for (QWidget* button : {static_cast<QWidget*>(hover), static_cast<QWidget*>(round)}) {
        const QImage shot = button->grab().toImage();
        EXPECT_EQ(shot.size(), button->size() * 2);
        EXPECT_GT(DetailShare(shot, shot.rect()), 0.05) << "drawn from the 2x picture";
    }
}
