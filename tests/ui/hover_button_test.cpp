// Hover buttons: which picture of the strip each state shows.
#include "tests/support/gui/GuiHelpers.h"
#include "ui/CHoverButton.h"
#include "ui/ControlId.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace quortest::gui;

namespace Ids {
constexpr int IDC_BTN_TEST = 1234;
}

namespace {

// A strip of `count` pictures of `width` x `height`, each column coloured after its picture
// index and its x inside the picture, so a pixel tells exactly where it came from.
QPixmap NumberedStrip(int count, int width, int height) {
    QImage strip(count * width, height, QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 0; y < height; ++y)
            strip.setPixel(x, y, qRgb(40 + 60 * (x / width), x % width, y));
    return QPixmap::fromImage(strip);
}

// Picture index shown, read back from the button's pixels.
int ShownPicture(CHoverButton& button) {
    const QImage shot = Grab(&button);
    return (qRed(shot.pixel(0, 0)) - 40) / 60;
}

struct HoverButtonTest : ::testing::Test {
    QWidget window;
    CHoverButton* button = new CHoverButton(&window);
    void Load(int count) {
        button->move(5, 7);
        ASSERT_TRUE(button->LoadBitmap(NumberedStrip(count, 22, 22), count));
        window.resize(100, 60);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // Start with the mouse away from the button, wherever the platform left the cursor.
        QCursor::setPos(window.mapToGlobal(QPoint(90, 55)));
        QApplication::processEvents(); // the pointer events the move gives, before they are undone
        Unhover(button);
    }
};

} // namespace

TEST_F(HoverButtonTest, ThreePictureStripCutsIntoNormalHoverPressed) {
    Load(3);
    EXPECT_EQ(button->size(), QSize(22, 22));
    EXPECT_EQ(button->pos(), QPoint(5, 7)) << "loading must not move the button";

    QImage shot = Grab(button);
    ASSERT_EQ(shot.size(), QSize(22, 22));
    for (int x : {0, 10, 21}) // every column of picture 0, pixels 0-21 of the strip
        EXPECT_EQ(Rgb(shot, x, 3), qRgb(40, x, 3) & 0xFFFFFF) << x;

    Hover(button);
    shot = Grab(button);
    EXPECT_EQ(ShownPicture(*button), 1);
    EXPECT_EQ(Rgb(shot, 21, 21), qRgb(100, 21, 21) & 0xFFFFFF); // strip pixel 43

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_EQ(ShownPicture(*button), 2); // pixels 44-65
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_EQ(ShownPicture(*button), 1);

    Unhover(button);
    EXPECT_EQ(ShownPicture(*button), 0) << "leaving returns to picture 0";

    button->SetLocked(true);
    EXPECT_EQ(ShownPicture(*button), 2) << "locked shows the pressed picture without the mouse";
    Hover(button);
    EXPECT_EQ(ShownPicture(*button), 2);
}

TEST_F(HoverButtonTest, TwoPictureStripShowsFirstOnlyWhenLocked) {
    Load(2);
    EXPECT_EQ(ShownPicture(*button), 1);
    Hover(button);
    EXPECT_EQ(ShownPicture(*button), 1);
    button->SetLocked(true);
    EXPECT_EQ(ShownPicture(*button), 0);
    button->SetLocked(false);
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_EQ(ShownPicture(*button), 1);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, {10, 10});
}

TEST_F(HoverButtonTest, FourPictureStripOrdersLockedPressedDisabledHover) {
    Load(4);
    EXPECT_EQ(ShownPicture(*button), 0);
    Hover(button);
    EXPECT_EQ(ShownPicture(*button), 2);
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_EQ(ShownPicture(*button), 1);
    button->SetLocked(true);
    EXPECT_EQ(ShownPicture(*button), 3) << "locked wins over pressed";
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, {10, 10});
    button->SetLocked(false);
    button->setEnabled(false);
    EXPECT_EQ(ShownPicture(*button), 3);
}

TEST_F(HoverButtonTest, OnePictureStripNeverChanges) {
    Load(1);
    Hover(button);
    button->SetLocked(true);
    EXPECT_EQ(ShownPicture(*button), 0);
}

TEST_F(HoverButtonTest, ClickReachesHandlersAndMissingBitmapIsRefused) {
    Load(3);
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
    QUOR_SET_ID(button, Ids::IDC_BTN_TEST);
    EXPECT_EQ(button->objectName(), QStringLiteral("IDC_BTN_TEST")) << "the constant's own name";
    EXPECT_EQ(ui::ControlIdOf(button), 1234);
    EXPECT_TRUE(Click(&window, "IDC_BTN_TEST"));
    EXPECT_EQ(clicks, 1);

    EXPECT_FALSE(button->LoadBitmap(SkinSet::Recorder, 9999, 3));
    EXPECT_FALSE(button->LoadBitmap(NumberedStrip(3, 22, 22), 5));
    EXPECT_EQ(button->size(), QSize(22, 22)) << "a failed load keeps the old strip";
}
