// The compiled-in skin: every bitmap a window names exists at the size its control needs, and
// the colour keys and masks mean what the windows take them to mean.
#include "ui/ImageRegion.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/SplitterBitmaps.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    SkinSet set;
    int id;
    int width, height;
};

void ExpectSizes(std::initializer_list<Expected> table) {
    for (const Expected& e : table) {
        const QImage image = Skin::Image(e.set, e.id);
        EXPECT_FALSE(image.isNull()) << "missing bitmap " << e.id;
        EXPECT_EQ(image.size(), QSize(e.width, e.height)) << "bitmap " << e.id;
    }
}

bool IsKey(const QImage& image, int x, int y) {
    return (image.pixel(x, y) | 0xFF000000u) == kSkinColourKey;
}

// Black shape on white, with at least `inside` black pixel at the centre and white corners.
void ExpectMask(SkinSet set, int id) {
    const QImage mask = Skin::Image(set, id);
    ASSERT_FALSE(mask.isNull()) << id;
    EXPECT_EQ(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << id;
    EXPECT_EQ(mask.pixel(mask.width() / 2, mask.height() / 2) & 0xFFFFFF, 0u) << id;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            ASSERT_EQ(qRed(mask.pixel(x, y)), qBlue(mask.pixel(x, y))) << "a mask is grey only: " << id;
}

} // namespace

TEST(SkinImages, RecorderBitmapsFitTheirControls) {
    using namespace RecorderBitmap;
    constexpr SkinSet R = SkinSet::Recorder;
    ExpectSizes(
        {{R, IDR_MAINFRAME, 64, 64},      {R, IDB_BTN_CLOSE, 66, 22},      {R, IDB_VOLUME_THUMB, 18, 10},
         {R, IDB_ROUND_MASK, 34, 34},     {R, IDB_PAUSE_PRESSED, 34, 34},  {R, IDB_PAUSE_NORMAL, 34, 34},
         {R, IDB_PAUSE_HOVER, 34, 34},    {R, IDB_RECORD_PRESSED, 34, 34}, {R, IDB_RECORD_NORMAL, 34, 34},
         {R, IDB_RECORD_HOVER, 34, 34},   {R, IDB_BTN_OK, 225, 23},        {R, IDB_PAGE_FILE, 200, 30},
         {R, IDB_PAGE_RECORD, 200, 30},   {R, IDB_PAGE_VOLUME, 200, 30},   {R, IDB_SETTINGS_TITLE, 356, 32},
         {R, IDB_ABOUT_PICTURE, 100, 90}, {R, IDB_BTN_HOMEPAGE, 270, 26},  {R, IDB_ABOUT_FOOTER, 305, 20},
         {R, IDB_ABOUT_TITLE, 356, 32},   {R, IDB_VOLUME_TRACK, 18, 40},   {R, IDB_BTN_CANCEL, 225, 23},
         {R, IDB_POPUP_CLOSE, 57, 19},    {R, IDB_POPUP_FOOTER, 330, 30},  {R, IDB_POPUP_HEADER, 330, 62},
         {R, IDB_FACE, 330, 158},         {R, IDB_LAMP, 56, 28},           {R, IDB_DIGITS, 130, 18},
         {R, IDB_STOP_NORMAL, 34, 34},    {R, IDB_STOP_PRESSED, 34, 34},   {R, IDB_STOP_HOVER, 34, 34},
         {R, IDB_SPLIT_NORMAL, 75, 26},   {R, IDB_SPLIT_PRESSED, 75, 26},  {R, IDB_SPLIT_HOVER, 75, 26},
         {R, IDB_WIDE_MASK, 75, 26},      {R, IDB_FOLDER_NORMAL, 75, 26},  {R, IDB_FOLDER_PRESSED, 75, 26},
         {R, IDB_FOLDER_HOVER, 75, 26},   {R, IDB_BTN_ABOUT, 60, 20},      {R, IDB_BTN_SETTINGS, 60, 20},
         {R, IDB_BTN_MINIMIZE, 66, 22}});
    ExpectMask(R, IDB_ROUND_MASK);
    ExpectMask(R, IDB_WIDE_MASK);
}

TEST(SkinImages, SplitterBitmapsFitTheirControls) {
    using namespace SplitterBitmap;
    constexpr SkinSet S = SkinSet::Splitter;
    ExpectSizes(
        {{S, IDR_MAINFRAME, 64, 64},     {S, IDB_THUMB_START, 19, 19},    {S, IDB_THUMB_END, 19, 19},
         {S, IDB_BACKGROUND, 500, 210},  {S, IDB_BTN_ABOUT, 60, 20},      {S, IDB_BTN_CLOSE, 66, 22},
         {S, IDB_BTN_MINIMIZE, 66, 22},  {S, IDB_BTN_FOLDER, 210, 24},    {S, IDB_BTN_OPEN, 210, 24},
         {S, IDB_PAUSE_HOVER, 34, 34},   {S, IDB_PAUSE_PRESSED, 34, 34},  {S, IDB_PAUSE_NORMAL, 34, 34},
         {S, IDB_STOP_HOVER, 34, 34},    {S, IDB_STOP_PRESSED, 34, 34},   {S, IDB_STOP_NORMAL, 34, 34},
         {S, IDB_CUT_PRESSED, 96, 30},   {S, IDB_CUT_NORMAL, 96, 30},     {S, IDB_CUT_HOVER, 96, 30},
         {S, IDB_ROUND_MASK, 34, 34},    {S, IDB_CUT_MASK, 96, 30},       {S, IDB_PLAY_HOVER, 34, 34},
         {S, IDB_PLAY_NORMAL, 34, 34},   {S, IDB_PLAY_PRESSED, 34, 34},   {S, IDB_BTN_HOMEPAGE, 270, 26},
         {S, IDB_ABOUT_FOOTER, 305, 20}, {S, IDB_ABOUT_PICTURE, 100, 90}, {S, IDB_ABOUT_TITLE, 356, 32},
         {S, IDB_STOP_DISABLED, 34, 34}, {S, IDB_PAUSE_DISABLED, 34, 34}, {S, IDB_PLAY_DISABLED, 34, 34},
         {S, IDB_BTN_OK, 225, 23},       {S, IDB_BTN_CANCEL, 225, 23}});
    ExpectMask(S, IDB_ROUND_MASK);
    ExpectMask(S, IDB_CUT_MASK);
}

TEST(SkinImages, ColourKeyedFacesHaveRoundedCornersAndSolidBodies) {
    for (auto [set, id] : {std::pair{SkinSet::Recorder, RecorderBitmap::IDB_FACE},
                           std::pair{SkinSet::Splitter, SplitterBitmap::IDB_BACKGROUND}}) {
        const QImage face = Skin::Image(set, id);
        const int w = face.width(), h = face.height();
        for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_TRUE(IsKey(face, corner.x(), corner.y())) << id;
        const QRegion shape = ui::RegionOfPixelsNot(face, kSkinColourKey);
        EXPECT_FALSE(shape.contains(QPoint(0, 0)));
        EXPECT_TRUE(shape.contains(QPoint(w / 2, 0))) << "edges are inside the window";
        EXPECT_TRUE(shape.contains(QPoint(0, h / 2)));
        int keyed = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                keyed += IsKey(face, x, y);
        EXPECT_LT(keyed, 200) << "only the corners are cut away";
    }
}

TEST(SkinImages, DigitsAreTenKeyedCells) {
    const QImage digits = Skin::Image(SkinSet::Recorder, RecorderBitmap::IDB_DIGITS);
    std::vector<QImage> cells;
    for (int d = 0; d < 10; ++d) {
        const QImage cell = digits.copy(d * 13, 0, 13, 18);
        int keyed = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 13; ++x)
                keyed += IsKey(cell, x, y);
        EXPECT_GT(keyed, 50) << "digit " << d << " shows the display through its key";
        EXPECT_LT(keyed, 13 * 18) << "digit " << d;
        for (const QImage& other : cells)
            EXPECT_NE(cell, other) << "digit " << d << " is drawn twice";
        cells.push_back(cell);
    }
}

TEST(SkinImages, UnknownIdsAreMissingNotBroken) {
    EXPECT_TRUE(Skin::Bitmap(SkinSet::Recorder, 0).isNull());
    EXPECT_TRUE(Skin::Bitmap(SkinSet::Splitter, 149).isNull());
    EXPECT_FALSE(Skin::Has(SkinSet::Recorder, 133)) << "the id spaces are separate";
    EXPECT_TRUE(Skin::Has(SkinSet::Splitter, 133));
}

// Whichever is asked first, the image and the bitmap of a skin are the picture in the committed
// PNG, as packed at build time: a picture with alpha keeps it as a bitmap, and an image shares no
// pixels it should not.
TEST(SkinImages, ImageAndBitmapAgreeWithTheFileInEitherOrder) {
    int withAlpha = 0;
    for (const SkinSet set : {SkinSet::Recorder, SkinSet::Splitter}) {
        for (int id = 100; id < 260; ++id) {
            if (!Skin::Has(set, id))
                continue;
            const QImage file(QStringLiteral(QUOR_SOURCE_DIR "/ui/skin/%1/%2.png")
                                  .arg(set == SkinSet::Recorder ? "recorder" : "splitter")
                                  .arg(id));
            ASSERT_FALSE(file.isNull()) << id;
            const bool imageFirst = id % 2 == 0;
            QImage image = imageFirst ? Skin::Image(set, id) : QImage();
            const QPixmap bitmap = Skin::Bitmap(set, id);
            if (!imageFirst)
                image = Skin::Image(set, id);
            const QImage argb = file.convertToFormat(QImage::Format_ARGB32);
            bool seeThrough = false;
            for (int y = 0; y < argb.height() && !seeThrough; ++y)
                for (int x = 0; x < argb.width() && !seeThrough; ++x)
                    seeThrough = qAlpha(argb.pixel(x, y)) < 255;
            withAlpha += seeThrough;
            EXPECT_EQ(image, file.convertToFormat(QImage::Format_RGB32)) << id;
            EXPECT_EQ(bitmap.hasAlphaChannel(), seeThrough) << id;
            // A pixmap holds premultiplied pixels; unpremultiplying rounds by the processor's own
            // routine, so the two are compared premultiplied.
            EXPECT_EQ(bitmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                      file.convertToFormat(QImage::Format_ARGB32_Premultiplied))
                << id;
            // Pixel work on the image leaves the held picture alone.
            image.setPixel(0, 0, 0xFF123456);
            EXPECT_EQ(Skin::Image(set, id), file.convertToFormat(QImage::Format_RGB32)) << id;
        }
    }
    EXPECT_GT(withAlpha, 0) << "the check covers pictures with alpha";
}
