// The kit in a desktop session: the focus mark follows the keyboard along each control's shape,
// and a main window runs without claiming to be modal.
#include "CHoverButton.h"
#include "CxSkinButton.h"
#include "FocusMark.h"
#include "MainWindowRun.h"
#include "RecorderBitmaps.h"
#include "SplitterBitmaps.h"
#include "gui/GuiHelpers.h"
#include "gui/KeyboardAndReaders.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace quortest::gui;

TEST(FocusMark, ShowsAlongTheShapeWhileTheKeyboardWorksTheWindowOnly) {
    QWidget window;
    window.resize(200, 80);
    auto* play = new CxSkinButton(&window);
    play->SetSkin(SkinSet::Splitter, SplitterBitmap::IDB_PLAY_NORMAL, SplitterBitmap::IDB_PLAY_PRESSED,
                  SplitterBitmap::IDB_PLAY_HOVER, 0, 0, SplitterBitmap::IDB_ROUND_MASK, 0, 0, 0);
    play->setGeometry(10, 20, 34, 34);
    auto* ok = new CHoverButton(&window);
    ok->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_BTN_OK, 3);
    ok->move(60, 25);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    play->setFocus(Qt::OtherFocusReason);
    const int playBare = FocusAccentPixels(play), okBare = FocusAccentPixels(ok);

    // Focus given by the program, before any key: nothing marked.
    EXPECT_EQ(FocusAccentPixels(play), playBare);
    QTest::keyClick(play, Qt::Key_Tab);
    ASSERT_TRUE(ok->hasFocus());
    EXPECT_GT(FocusAccentPixels(ok), okBare + 60) << "a ring around the pill";
    EXPECT_EQ(FocusAccentPixels(play), playBare);
    // The ring lies on the shape's edge: the top of the circle, not its corner or its middle.
    QTest::keyClick(ok, Qt::Key_Backtab);
    ASSERT_TRUE(play->hasFocus());
    const QImage marked = Grab(play);
    EXPECT_EQ(marked.pixel(17, 17),
              Skin::Image(SkinSet::Splitter, SplitterBitmap::IDB_PLAY_NORMAL).pixel(17, 17));
    EXPECT_GT(qBlue(marked.pixel(17, 1)), qRed(marked.pixel(17, 1)) + 80);
    EXPECT_GT(FocusAccentPixels(play), playBare + 40);

    // A mouse press anywhere in the window hides it; the next key shows it again.
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, {150, 70});
    EXPECT_EQ(FocusAccentPixels(play), playBare);
    QTest::keyClick(play, Qt::Key_Shift);
    EXPECT_GT(FocusAccentPixels(play), playBare + 40);
}

TEST(MainWindowRun, RunsUntilDoneWithoutBeingModal) {
    QDialog window;
    bool modalWhileRunning = true;
    QTimer::singleShot(0, &window, [&] {
        modalWhileRunning = window.isModal() || !window.windowHandle() ||
                            window.windowHandle()->modality() != Qt::NonModal ||
                            QApplication::activeModalWidget() != nullptr;
        window.done(7);
    });
    EXPECT_EQ(ui::RunMainWindow(window), 7);
    EXPECT_FALSE(modalWhileRunning) << "a modal main window claims _NET_WM_STATE_MODAL";
    EXPECT_FALSE(window.isVisible());
}
