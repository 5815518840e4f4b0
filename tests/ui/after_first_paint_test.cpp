// Work deferred until a window has shown its first frame.
#include "tests/support/gui/GuiHelpers.h"
#include "ui/AfterFirstPaint.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace quortest::gui;

namespace {

// Counts its paints, so the test can tell whether the work ran after one.
class CountingWindow : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::darkCyan);
        ++paints;
    }
};

void SettleFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        Settle(10);
}

} // namespace

TEST(AfterFirstPaint, RunsOnceAfterTheFirstFrameNotBefore) {
    CountingWindow window;
    window.resize(120, 60);
    int runs = 0;
    int paintsWhenRun = -1;
    ui::AfterFirstPaint(&window, [&] {
        ++runs;
        paintsWhenRun = window.paints;
    });
    Settle(50);
    EXPECT_EQ(runs, 0) << "a window never shown has not painted";

    window.show();
    SettleFor(100);
    ASSERT_EQ(runs, 1);
    EXPECT_GE(paintsWhenRun, 1) << "the work ran before the window painted";

    window.update();
    window.hide();
    window.show();
    SettleFor(1200);
    EXPECT_EQ(runs, 1) << "later paints and the fallback must not run it again";
}

TEST(AfterFirstPaint, NothingRunsForAWindowDestroyedFirst) {
    int runs = 0;
    {
        auto window = std::make_unique<CountingWindow>();
        ui::AfterFirstPaint(window.get(), [&] { ++runs; });
        window->show();
    } // gone before the event loop could paint it
    SettleFor(1200);
    EXPECT_EQ(runs, 0);
}

TEST(AfterFirstPaint, AWindowThatNeverPaintsStillGetsTheWorkAfterAMoment) {
    // Stands for a window system that never exposes the window: every paint is swallowed.
    struct PaintBlocker : QObject {
        bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }
    } blocker;
    CountingWindow window;
    window.resize(120, 60);
    int runs = 0;
    ui::AfterFirstPaint(&window, [&] { ++runs; });
    window.installEventFilter(&blocker); // filters run newest first: this one sees paints first
    window.show();
    SettleFor(300);
    EXPECT_EQ(runs, 0);
    SettleFor(1200);
    EXPECT_EQ(window.paints, 0);
    EXPECT_EQ(runs, 1);
    window.removeEventFilter(&blocker);
}
