// Skin buttons: the mask decides where the button is, and the bitmap follows the state.
#include "tests/support/gui/GuiHelpers.h"
#include "ui/CxSkinButton.h"
#include "ui/SplitterBitmaps.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace quortest::gui;
using namespace SplitterBitmap;

namespace {

struct SkinButtonTest : ::testing::Test {
    QWidget window;
    CxSkinButton* button = new CxSkinButton(&window);
    int clicks = 0;

    void SetUp() override {
        // The splitter's play button: round mask 148, as its window skins it.
        button->SetSkin(SkinSet::Splitter, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, 0, 0,
                        IDB_ROUND_MASK, 0, 0, 0);
        button->setGeometry(14, 20, 34, 34);
        QObject::connect(button, &QAbstractButton::clicked, [this] { ++clicks; });
        window.resize(120, 80);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // True when the button shows exactly the bitmap `id` at a point well inside the mask.
    bool Shows(int id) {
        const QImage bitmap = Skin::Image(SkinSet::Splitter, id);
        const QImage shot = Grab(button);
        for (QPoint p : {QPoint(17, 8), QPoint(17, 17), QPoint(9, 20)})
            if (Rgb(shot, p.x(), p.y()) != (bitmap.pixel(p) & 0xFFFFFF))
                return false;
        return true;
    }

    void Move(const QPoint& pos, Qt::MouseButtons held) {
        QMouseEvent move(QEvent::MouseMove, pos, button->mapToGlobal(pos), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(button, &move);
    }
};

} // namespace

TEST_F(SkinButtonTest, TakesClicksOnlyInsideTheMasksShape) {
    ASSERT_FALSE(button->ShapeRegion().isEmpty());
    ClickAt(button, {17, 17});
    EXPECT_EQ(clicks, 1);
    ClickAt(button, {1, 1}); // corner: white in the mask
    ClickAt(button, {33, 32});
    EXPECT_EQ(clicks, 1);
    ClickAt(button, {17, 1}); // top of the circle
    ClickAt(button, {3, 17});
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(button->mask(), button->ShapeRegion()) << "the window takes the mask's shape";
}

TEST_F(SkinButtonTest, PressedLookFollowsTheMouseWhileHeld) {
    EXPECT_TRUE(Shows(IDB_PLAY_NORMAL));
    Hover(button, {17, 17});
    EXPECT_TRUE(Shows(IDB_PLAY_HOVER));
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, {17, 17});
    EXPECT_TRUE(Shows(IDB_PLAY_PRESSED));
    Move({80, 17}, Qt::LeftButton); // dragged off
    EXPECT_TRUE(Shows(IDB_PLAY_NORMAL));
    Move({2, 2}, Qt::LeftButton); // inside the rectangle but outside the circle
    EXPECT_TRUE(Shows(IDB_PLAY_NORMAL));
    Move({20, 15}, Qt::LeftButton); // back
    EXPECT_TRUE(Shows(IDB_PLAY_PRESSED));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, {20, 15});
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Shows(IDB_PLAY_HOVER)) << "released over it: lit again";

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, {17, 17});
    Move({80, 17}, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, {80, 17});
    EXPECT_EQ(clicks, 1) << "released off the button: no click";
}

TEST_F(SkinButtonTest, HoverAndDisabledPictures) {
    Hover(button, {17, 17});
    EXPECT_TRUE(button->IsHovering());
    EXPECT_TRUE(Shows(IDB_PLAY_HOVER));
    Unhover(button);
    EXPECT_TRUE(Shows(IDB_PLAY_NORMAL));

    button->setEnabled(false);
    EXPECT_TRUE(Shows(IDB_PLAY_NORMAL)) << "no disabled id: the normal bitmap serves";
    button->SetSkin(SkinSet::Splitter, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, IDB_PLAY_DISABLED,
                    0, IDB_ROUND_MASK, 0, 0, 0);
    EXPECT_TRUE(Shows(IDB_PLAY_DISABLED));
    ClickAt(button, {17, 17});
    EXPECT_EQ(clicks, 0);
}

TEST(SkinButton, CheckBoxTogglesAndRadioStaysSet) {
    QWidget window;
    auto* check = new CxSkinButton(&window, CxSkinButton::Kind::CheckBox);
    auto* radioA = new CxSkinButton(&window, CxSkinButton::Kind::RadioButton);
    auto* radioB = new CxSkinButton(&window, CxSkinButton::Kind::RadioButton);
    for (auto* b : {check, radioA, radioB})
        b->SetSkin(SkinSet::Splitter, IDB_STOP_NORMAL, IDB_STOP_PRESSED, 0, 0, 0, IDB_ROUND_MASK, 0, 0, 0);
    check->setGeometry(0, 0, 34, 34);
    radioA->setGeometry(40, 0, 34, 34);
    radioB->setGeometry(80, 0, 34, 34);
    window.show();

    ClickAt(check, {17, 17});
    EXPECT_TRUE(check->isChecked());
    ClickAt(check, {1, 1}); // outside the shape
    EXPECT_TRUE(check->isChecked());
    ClickAt(check, {17, 17});
    EXPECT_FALSE(check->isChecked());

    ClickAt(radioA, {17, 17});
    ClickAt(radioA, {17, 17});
    EXPECT_TRUE(radioA->isChecked());
    ClickAt(radioB, {17, 17});
    EXPECT_TRUE(radioB->isChecked());
    EXPECT_FALSE(radioA->isChecked());
}

TEST(SkinButton, PackedModeArgumentsAndStretchedShape) {
    QWidget window;
    CxSkinButton button(&window);
    button.resize(68, 68);
    button.SetSkin(SkinSet::Splitter, IDB_STOP_NORMAL, 0, 0, 0, 0, IDB_ROUND_MASK, 0, 0, 0);
    EXPECT_EQ(button.Mode(), CxSkinButton::Stretched) << "0 leaves the mode it was built with";
    EXPECT_EQ(button.size(), QSize(68, 68));
    EXPECT_TRUE(button.mask().contains(QPoint(34, 34)));
    EXPECT_FALSE(button.mask().contains(QPoint(3, 3)));
    EXPECT_TRUE(button.mask().contains(QPoint(34, 2))) << "the shape stretches with the skin";

    button.SetSkin(SkinSet::Splitter, IDB_STOP_NORMAL, 0, 0, 0, 0, IDB_ROUND_MASK, 0x8000, 0, 0);
    EXPECT_EQ(button.Mode(), CxSkinButton::Natural);
    EXPECT_EQ(button.size(), QSize(34, 34)) << "natural mode takes the mask's size";
    button.SetSkin(SkinSet::Splitter, IDB_STOP_NORMAL, 0, 0, 0, 0, 0, 2, 0, 0);
    EXPECT_EQ(button.Mode(), CxSkinButton::Tiled);
    EXPECT_TRUE(button.mask().isEmpty()) << "without a mask the whole button counts";
}
