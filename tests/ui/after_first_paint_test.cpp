// Work deferred until a window has shown its first frame.
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"
#include "ui/AfterFirstPaint.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace quortest::gui;
using quortest::Eventually;

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
    Settle(50); // a pause on purpose: time for a run that must not come
    EXPECT_EQ(runs, 0) << "a window never shown has not painted";

    window.show();
    ASSERT_TRUE(Eventually([&] { return runs == 1; }));
    EXPECT_GE(paintsWhenRun, 1) << "the work ran before the window painted";

    window.update();
    window.hide();
    window.show();
    Settle(1200); // a pause on purpose: longer than the fallback waits, which must not run it again
    EXPECT_EQ(runs, 1) << "later paints and the fallback must not run it again";
}

TEST(AfterFirstPaint, NothingRunsForAWindowDestroyedFirst) {
    int runs = 0;
    {
        auto window = std::make_unique<CountingWindow>();
        ui::AfterFirstPaint(window.get(), [&] { ++runs; });
        window->show();
    }             // gone before the event loop could paint it
    Settle(1200); // a pause on purpose: longer than the fallback waits
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
    Settle(300); // a pause on purpose: well before the fallback is due, nothing runs
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(Eventually([&] { return runs == 1; }, std::chrono::seconds(2))) << "the fallback ran it";
    EXPECT_EQ(window.paints, 0);
    window.removeEventFilter(&blocker);
}
