// The slider widget offscreen: first layout, thumb placement, drags by mouse with their queued
// notifications, and the picture read back pixel by pixel.
#include "splitter/loudness/LoudnessScan.h"
#include "splitter/slider/SliderBoth.h"
#include "splitter/slider/SliderBothBtn.h"
#include "splitter/slider/SliderEvents.h"
#include "splitter/slider/SliderThumbPictures.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

constexpr int kSliderId = 32774;

class SliderWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = std::make_unique<QWidget>();
        parent->resize(500, 210);
        slider = new SliderBoth;
        ASSERT_TRUE(slider->Create(parent.get(), QRect(8, 96, 483, 20), true, kSliderId));
        slider->SetThumbPictures(StartThumbPicture(), EndThumbPicture());
        parent->show();
        ASSERT_TRUE(quortest::Eventually([&] { return slider->IsReady(); }, std::chrono::seconds(5)))
            << "the first paint posts the first layout";
        spy = std::make_unique<QSignalSpy>(slider, &SliderBoth::Command);
    }

    // Drags a thumb by dx pixels in steps of `step` and releases it; returns after the posted
    // steps and the notifications have been handled.
    void Drag(SliderBothBtn* thumb, int dx, int step = 4, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QPoint at(9, 9);
        QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, at);
        for (int moved = 0; moved != dx;) {
            int next = dx > 0 ? std::min(step, dx - moved) : std::max(-step, dx - moved);
            moved += next;
            // The pointer in the thumb's coordinates: the thumb may have moved under it.
            const QPoint global = thumb->mapToGlobal(QPoint(0, 0));
            const QPoint pointer = start + QPoint(moved, 0);
            QMouseEvent move(QEvent::MouseMove, QPointF(pointer - global), QPointF(pointer), Qt::NoButton,
                             Qt::LeftButton, keys);
            QApplication::sendEvent(thumb, &move);
            QApplication::processEvents();
        }
        QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier,
                            thumb->mapFromGlobal(start + QPoint(dx, 0)));
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void BeginDrag(SliderBothBtn* thumb) { start = thumb->mapToGlobal(QPoint(9, 9)); }

    QImage Picture() { return slider->grab().toImage(); }

    std::unique_ptr<QWidget> parent;
    SliderBoth* slider = nullptr;
    std::unique_ptr<QSignalSpy> spy;
    QPoint start;
};

TEST_F(SliderWidgetTest, HeightIsForcedAndTheConstructionRangeSurvivesTheRefusedSetRange) {
    EXPECT_EQ(slider->geometry(), QRect(8, 96, 483, 60));
    EXPECT_FALSE(slider->SetRange(0, 1, 1));
    int minimum, maximum, tick;
    slider->GetRange(minimum, maximum, tick);
    EXPECT_EQ(maximum, 1);
    EXPECT_EQ(tick, 10);
    EXPECT_EQ(slider->Baseline(), 49);
    EXPECT_EQ(slider->StartThumb()->geometry(), QRect(0, 29, 19, 19)) << "right edge on x = 18";
    EXPECT_EQ(slider->EndThumb()->geometry(), QRect(465, 29, 19, 19)) << "left edge on x = 465";
}

TEST_F(SliderWidgetTest, SelectionPlacesTheThumbsOnTheScaleAndClamps) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(60, 180);
    const double scale = 447.0 / 240;
    EXPECT_EQ(slider->StartThumb()->geometry().right(), 18 + int(60 * scale));
    EXPECT_EQ(slider->EndThumb()->geometry().left(), 18 + int(180 * scale));
    slider->SetSelection(-10, 900);
    int s, e;
    slider->GetSelection(s, e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 240);
    slider->SetSelection(200, 100);
    slider->GetSelection(s, e);
    EXPECT_EQ(s, 100) << "start stops at the end";
    EXPECT_EQ(e, 100);
}

TEST_F(SliderWidgetTest, DraggingTheEndThumbMovesItBySecondsAndNotifiesQueued) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(0, 240);
    BeginDrag(slider->EndThumb());
    Drag(slider->EndThumb(), -40);
    int s, e;
    slider->GetSelection(s, e);
    EXPECT_EQ(s, 0);
    EXPECT_LT(e, 240 - 15);
    EXPECT_GT(e, 240 - 25);
    EXPECT_EQ(slider->EndThumb()->geometry().left(), 18 + int(e * 447.0 / 240));
    ASSERT_GE(spy->count(), 11) << "ten steps and the drag end";
    for (const auto& args : *spy)
        EXPECT_EQ(args.at(0).toInt(), kSliderId);
}

TEST_F(SliderWidgetTest, DraggingPastTheOtherThumbStopsThere) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(50, 120);
    BeginDrag(slider->StartThumb());
    Drag(slider->StartThumb(), 300, 25);
    int s, e;
    slider->GetSelection(s, e);
    EXPECT_EQ(s, 120);
    EXPECT_EQ(e, 120);
    BeginDrag(slider->EndThumb());
    Drag(slider->EndThumb(), -300, 25);
    slider->GetSelection(s, e);
    EXPECT_EQ(e, 120) << "the end cannot go before the start";
}

TEST_F(SliderWidgetTest, ADragEndThatChangedNothingSaysNothing) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(30, 200);
    BeginDrag(slider->StartThumb());
    Drag(slider->StartThumb(), 20);
    const int afterFirst = spy->count();
    ASSERT_GT(afterFirst, 0);
    // Press and release without moving: no steps, and the end repeats the last pair.
    BeginDrag(slider->StartThumb());
    Drag(slider->StartThumb(), 0);
    QTest::qWait(20); // a pause on purpose: time for a notification that must not come
    EXPECT_EQ(spy->count(), afterFirst);
}

TEST_F(SliderWidgetTest, NotificationArrivesOnlyAfterTheCurrentEvent) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(30, 200);
    BeginDrag(slider->StartThumb());
    QTest::mousePress(slider->StartThumb(), Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    QTest::mouseRelease(slider->StartThumb(), Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    QApplication::sendPostedEvents(slider, slider::kDragEnd);
    EXPECT_EQ(spy->count(), 0) << "posted, like a command message";
    QApplication::processEvents();
    EXPECT_EQ(spy->count(), 1);
}

TEST_F(SliderWidgetTest, PictureHasScaleBarSelectionPlayedPartAndMarker) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(60, 180);
    slider->SetMarker(120);
    QImage img = Picture();
    const double scale = 447.0 / 240;
    const int xs = 18 + int(60 * scale), xe = 18 + int(180 * scale), xm = 18 + int(120 * scale);
    auto at = [&](int x, int y) { return QColor(img.pixel(x, y)); };

    EXPECT_EQ(at(2, 2), QColor(Qt::white));
    EXPECT_EQ(at(18, 20), QColor(Qt::black)) << "tick at the origin";
    EXPECT_EQ(at(xs, 20), QColor(255, 0, 0)) << "0x0000FF is red";
    EXPECT_EQ(at(xe, 50), QColor(255, 0, 0));
    EXPECT_EQ(at(xm, 20), QColor(0, 0, 255)) << "0xFF0000 is blue";
    EXPECT_EQ(at(xe, 52), QColor(Qt::white)) << "lines end before baseline + 3";

    // Bar outside the selection: white frame, then 0x3C505F at the top row and 0x5A6E82 below.
    EXPECT_EQ(at(40, 34), QColor(Qt::white));
    EXPECT_EQ(at(40, 43), QColor(Qt::white));
    QColor bar = at(40, 38);
    EXPECT_GE(bar.red(), 0x5F);
    EXPECT_LE(bar.red(), 0x82);
    EXPECT_GT(bar.red(), bar.blue()) << "0x3C505F is R 5F G 50 B 3C";
    // Selection (between marker and end): 0x00BEFF, 0xA0FAFF, 0x00BEFF in two bands of 5 rows.
    const int xsel = (xm + xe) / 2;
    EXPECT_EQ(at(xsel, 39), QColor(0xFF, 0xFA, 0xA0)) << "the middle colour starts the second band";
    EXPECT_EQ(at(xsel, 43), QColor(Qt::white));
    QColor top = at(xsel, 35);
    EXPECT_EQ(top.red(), 0xFF);
    EXPECT_LT(top.blue(), 0x40) << "orange, not blue";
    // Played part (start to marker): 0x225FFF, 0x22C8FF, 0x223CFF.
    const int xplay = (xs + xm) / 2;
    EXPECT_EQ(at(xplay, 39), QColor(0xFF, 0xC8, 0x22));
    // Labels in grey around "00:01:00" at x = 18 + 60 * scale... above the ticks.
    int grey = 0;
    for (int x = xs - 30; x < xs + 30; ++x)
        for (int y = 3; y < 15; ++y)
            if (at(x, y) != QColor(Qt::white))
                ++grey;
    EXPECT_GT(grey, 20) << "a label is drawn over the 60 s tick";
}

TEST_F(SliderWidgetTest, MarkerOutsideTheSelectionDrawsNoPlayedPart) {
    ASSERT_TRUE(slider->SetRange(0, 240, 1));
    slider->SetSelection(60, 180);
    slider->SetMarker(200);
    QImage img = Picture();
    const int xsel = 18 + int(100 * 447.0 / 240);
    EXPECT_EQ(QColor(img.pixel(xsel, 39)), QColor(0xFF, 0xFA, 0xA0));
}

// A file of tone with 2 s of silence from 10 s: each column is lit where the tone is (amber
// between the thumbs, pale brown outside) and blank where the silence is, to within a column;
// nothing past what the scan has read; Shift snaps a dragged thumb to the pause.
TEST_F(SliderWidgetTest, LoudnessPictureShowsToneAndPauseAndShiftSnapsAThumbToThePause) {
    ASSERT_TRUE(slider->SetRange(0, 22, 1));
    slider->SetSelection(2, 8);
    const QImage bare = Picture();
    quortest::TempDir dir("slider");
    const std::string file = (dir / "paused.mp3").string();
    ASSERT_TRUE(splittest::MakePausedToneMp3(file, 10, 2));
    auto profile = std::make_shared<LoudnessProfile>(22);
    const std::atomic<bool> goOn{false};
    ScanLoudness(file, *profile, goOn);
    slider->SetLoudness(profile);
    const QImage img = Picture();

    const double scale = 447.0 / 22, slack = 1 / scale + 0.03;
    const int xs = 18 + int(2 * scale), xe = 18 + int(8 * scale);
    const QColor selected(0xFF, 0xBE, 0x00), outside(0xBF, 0xB9, 0xB1), white(Qt::white);
    const auto colour = [](const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); };
    for (int x = 19; x < 18 + 447; ++x) {
        const double from = (x - 18) / scale, to = from + 1 / scale;
        SCOPED_TRACE(std::to_string(from) + " s");
        if (from > 10 + slack && to < 12 - slack) {
            EXPECT_EQ(colour(img, x, 27), white);
            EXPECT_EQ(colour(img, x, 31), white);
        } else if ((to < 10 - slack || from > 12 + slack) && from > 0.06 && to < 21.9 && x != xs && x != xe) {
            EXPECT_EQ(colour(img, x, 27), xs <= x && x < xe ? selected : outside);
            EXPECT_EQ(colour(img, x, 17), white) << "a tone at 0.9 stops short of the top";
        }
    }

    const auto dragStart = [&](double seconds, Qt::KeyboardModifiers keys) {
        slider->SetSelection(0, 22);
        BeginDrag(slider->StartThumb());
        Drag(slider->StartThumb(), int(seconds * scale), 4, keys);
        int s, e;
        slider->GetSelection(s, e);
        return s;
    };
    EXPECT_EQ(dragStart(10, Qt::ShiftModifier), 11);
    EXPECT_NE(dragStart(10, Qt::NoModifier), 11) << "without Shift the thumb follows the pointer";
    EXPECT_EQ(dragStart(5, Qt::ShiftModifier), dragStart(5, Qt::NoModifier)) << "no pause within 3 s";

    auto half = std::make_shared<LoudnessProfile>(22); // read up to 5 s
    for (int step = 0; step < 200; ++step)
        half->Raise(step, 30000);
    half->Publish(200);
    slider->SetLoudness(half);
    slider->SetSelection(2, 8);
    const QImage partial = Picture();
    EXPECT_EQ(colour(partial, 18 + int(4.9 * scale), 27), selected);
    EXPECT_EQ(colour(partial, 18 + int(5.1 * scale), 27), white);
    EXPECT_EQ(colour(partial, 18 + int(15 * scale), 27), white);
    slider->SetLoudness(nullptr);
    EXPECT_EQ(Picture(), bare) << "without a file the slider is as it always was";
}

} // namespace
