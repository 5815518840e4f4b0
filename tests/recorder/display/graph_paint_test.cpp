// Pixels of the display control, read from grab(): geometry, colours and thresholds of the
// spectrum columns and the level bar, the background before any feed, and the hand-off from
// other threads (queued repaint, a window that is gone); live frames read from the backing store.
#include "recorder/display/CFrequencyGraph.h"
#include "recorder/display/GraphPainting.h"
#include "recorder/display/SpectrumFeed.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

namespace {

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

struct Graph {
    std::unique_ptr<CFrequencyGraph> widget;
    Graph(int mode, int width, int height) : widget(std::make_unique<CFrequencyGraph>()) {
        widget->SetMode(mode);
        widget->resize(width, height);
    }
    QImage Picture() { return widget->grab().toImage(); }
};

std::vector<double> Values(std::initializer_list<double> first) {
    std::vector<double> values(512, 0.0);
    std::copy(first.begin(), first.end(), values.begin());
    return values;
}

// Lit segments of column i at 120 x 32: the centre pixel of each segment, bottom up.
int LitInColumn(const QImage& image, int column) {
    int lit = 0;
    for (int j = 0; j < 8; ++j) {
        QColor c = At(image, column * 12 + 5, 32 - j * 4 - 2);
        if (c != graph::kUnlit)
            ++lit;
    }
    return lit;
}

// What the window's backing store holds where the control lies: the picture sent to the screen.
QImage OnScreen(QWidget& control) {
    QWidget* top = control.window();
    const auto* store = dynamic_cast<const QImage*>(top->backingStore()->paintDevice());
    if (!store)
        return {};
    return store->copy(QRect(control.mapTo(top, QPoint(0, 0)), control.size()));
}

} // namespace

TEST(GraphPaint, BeforeAnyFeedOnlyTheBackgroundShows) {
    for (int mode : {CFrequencyGraph::kModeSpectrum, CFrequencyGraph::kModeLevel}) {
        Graph g(mode, 120, 32);
        QPalette palette = g.widget->palette();
        palette.setColor(g.widget->backgroundRole(), QColor(12, 34, 56));
        g.widget->setPalette(palette);
        QImage image = g.Picture();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(At(image, x, y), QColor(12, 34, 56)) << x << "," << y;
    }
}

TEST(GraphPaint, SilenceLeavesEverySpectrumSegmentGrey) {
    Graph g(CFrequencyGraph::kModeSpectrum, 120, 32);
    auto silence = Values({});
    g.widget->SetData(512, silence.data());
    QImage image = g.Picture();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(LitInColumn(image, i), 0) << "column " << i;
    EXPECT_EQ(At(image, 11, 30), graph::kBackground) << "gap at the right of a segment";
}

TEST(GraphPaint, ColumnThresholdsAndZoneColours) {
    Graph g(CFrequencyGraph::kModeSpectrum, 120, 32);
    // Columns 0..9 show values 0..9 only; value 10 must not appear anywhere.
    auto values = Values({1039, 1040, 7999, 8000, 1e9, 0, 3000, 5000, 6000, 0, 8000});
    g.widget->SetData(512, values.data());
    QImage image = g.Picture();
    const int expected[10] = {0, 1, 7, 8, 8, 0, 2, 4, 6, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(LitInColumn(image, i), expected[i]) << "column " << i;

    // Column 3 fully lit: zones bottom up.
    const QColor zones[8] = {graph::kLowSegment,  graph::kLowSegment,    graph::kLowSegment,
                             graph::kLowSegment,  graph::kMiddleSegment, graph::kMiddleSegment,
                             graph::kHighSegment, graph::kHighSegment};
    for (int j = 0; j < 8; ++j)
        EXPECT_EQ(At(image, 3 * 12 + 5, 32 - j * 4 - 2), zones[j]) << "segment " << j;
}

TEST(GraphPaint, SegmentsAreElevenByThreePixelsAt120By32) {
    Graph g(CFrequencyGraph::kModeSpectrum, 120, 32);
    auto values = Values({8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000});
    g.widget->SetData(512, values.data());
    QImage image = g.Picture();
    // Every pixel is either black (gap) or part of exactly one 11 x 3 segment.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 120; ++x) {
            bool inSegment = x % 12 < 11 && y % 4 != 0;
            ASSERT_EQ(At(image, x, y) != graph::kBackground, inSegment) << x << "," << y;
        }
    }
    EXPECT_EQ(At(image, 0, 29), graph::kLowSegment) << "bottom segment spans y 29..31";
    EXPECT_EQ(At(image, 10, 31), graph::kLowSegment);
    EXPECT_EQ(At(image, 0, 1), graph::kHighSegment) << "top segment spans y 1..3";
}

TEST(GraphPaint, LevelBarExactlyHalfIsGreenOnly) {
    Graph g(CFrequencyGraph::kModeLevel, 100, 15);
    // (a + b) * 100 / 65536 = 50
    auto values = Values({16384, 16384});
    g.widget->SetData(512, values.data());
    QImage image = g.Picture();
    for (int x = 1; x < 99; ++x) {
        if (x % 5 == 0)
            continue;
        QColor expected = x < 50 ? graph::kLevelLow : graph::kUnlit;
        EXPECT_EQ(At(image, x, 7), expected) << "x " << x;
    }
}

TEST(GraphPaint, LevelBarZonesSeparatorsFrameAndClipping) {
    Graph g(CFrequencyGraph::kModeLevel, 100, 15);
    // The largest value at even and at odd positions count, wherever they are; far above W.
    auto values = Values({10, -20, 30, 40});
    values[300] = 50000;
    values[301] = 60000;
    g.widget->SetData(512, values.data());
    QImage image = g.Picture();
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 15; ++y) {
            QColor expected;
            if (x % 5 == 0)
                expected = graph::kBackground;
            else if (y == 0 || y == 14 || x == 99)
                expected = graph::kUnlit; // frame over the zones' edge pixels
            else
                expected = x < 50 ? graph::kLevelLow : x < 90 ? graph::kLevelMiddle : graph::kLevelHigh;
            ASSERT_EQ(At(image, x, y), expected) << x << "," << y;
        }
    }
}

TEST(GraphPaint, LevelLengthTruncatesAndSilenceShowsOnlyGreyAndSeparators) {
    std::vector<double> v = {3276.8, 0};
    EXPECT_EQ(graph::LevelLength(v.data(), 2, 100), 5);
    v[0] = 3276.7;
    EXPECT_EQ(graph::LevelLength(v.data(), 2, 100), 4);

    Graph g(CFrequencyGraph::kModeLevel, 100, 15);
    auto silence = Values({});
    g.widget->SetData(512, silence.data());
    QImage image = g.Picture();
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(At(image, x, 7), x % 5 == 0 ? graph::kBackground : graph::kUnlit) << x;
}

TEST(GraphPaint, FeedFromAnotherThreadIsDrawnOnTheWindowThread) {
    CFrequencyGraph graphWindow;
    graphWindow.SetMode(CFrequencyGraph::kModeSpectrum);
    graphWindow.resize(120, 32);
    graphWindow.show();
    QApplication::processEvents();

    // A tone centred on bin 5 of the interleaved sequence: 5 * 88200 / 1024 Hz.
    std::vector<int16_t> pcm(2048);
    for (size_t n = 0; n < 1024; ++n)
        pcm[2 * n] = pcm[2 * n + 1] = static_cast<int16_t>(
            std::lround(16000 * std::sin(2 * M_PI * (5 * 88200.0 / 1024) * n / 44100.0)));
    WAVEHDR header{};
    header.lpData = reinterpret_cast<char*>(pcm.data());
    header.dwBufferLength = 4096;
    const int framesBefore = graphWindow.FramesDrawn();
    std::thread([&] { EXPECT_EQ(SpectrumFeed(&graphWindow, &header), 1); }).join();

    auto values = graphWindow.Values();
    ASSERT_EQ(values.size(), 512u);
    EXPECT_GT(values[5], 8000.0);
    // The queued repaint reaches the window thread and the window's backing store, the picture
    // that goes to the screen.
    ASSERT_TRUE(quortest::Eventually([&] { return graphWindow.FramesDrawn() > framesBefore; }));
    const QImage image = OnScreen(graphWindow);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(LitInColumn(image, i), i == 5 ? 8 : 0) << "column " << i;
}

TEST(GraphPaint, FeedSkipsAGraphWhoseWindowIsGoneEvenWhileFeeding) {
    std::vector<int16_t> pcm(2048, 1000);
    WAVEHDR header{};
    header.lpData = reinterpret_cast<char*>(pcm.data());
    header.dwBufferLength = 4096;

    auto* graphWindow = new CFrequencyGraph();
    graphWindow->resize(120, 32);
    std::atomic<void*> target{graphWindow};
    std::atomic<bool> stop{false};
    std::atomic<int> fed{0};
    std::thread feeder([&] {
        while (!stop) {
            SpectrumFeed(target.load(), &header);
            ++fed;
        }
    });
    while (fed < 50)
        QApplication::processEvents();
    delete graphWindow; // the feeder keeps using the stale pointer
    int after = fed;
    while (fed < after + 50)
        std::this_thread::yield();
    stop = true;
    feeder.join();
    QApplication::processEvents(); // a repaint queued for the deleted window must be dropped

    double values[512] = {};
    EXPECT_FALSE(CFrequencyGraph::SetDataIfWindow(target.load(), 512, values));
    EXPECT_FALSE(CFrequencyGraph::SetDataIfWindow(nullptr, 512, values));
}

TEST(GraphPaint, LiveFramesShowWhatAFreshPaintShowsAndOnlyAChangedPictureIsDrawn) {
    // After every frame of a sequence that lights, darkens and mixes columns, the store holds the
    // pixels of a whole new paint. Values that give the picture shown (2500 and 2600 light the
    // same two segments and give the same 9-pixel bar) draw no frame, but are kept.
    const std::vector<std::pair<std::vector<double>, bool>> sequence = {
        {Values({2500, 2500}), true},
        {Values({2600, 2600}), false},
        {Values({8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000}), true},
        {Values({2500, 0, 8000, 5000, 1040, 6000, 0, 3000, 7999, 1e9}), true},
        {Values({5000, 8000, 0, 5000, 0, 2500, 8000, 3000, 1040, 0}), true},
        {Values({}), true},
        {Values({16384, 30000, 1000, 65535}), true},
    };
    for (int mode : {CFrequencyGraph::kModeSpectrum, CFrequencyGraph::kModeLevel}) {
        Graph g(mode, 120, 32);
        g.widget->show();
        ASSERT_TRUE(quortest::Eventually([&] { return g.widget->windowHandle()->isExposed(); }));
        for (size_t step = 0; step < sequence.size(); ++step) {
            const auto& [values, changes] = sequence[step];
            const int before = g.widget->FramesDrawn();
            g.widget->SetData(512, values.data());
            if (!changes) {
                for (int i = 0; i < 5; ++i)
                    QApplication::processEvents();
                EXPECT_EQ(g.widget->FramesDrawn(), before) << mode << ": the same picture again";
                EXPECT_EQ(g.widget->Values()[0], values[0]) << mode << ": the values are kept all the same";
                continue;
            }
            ASSERT_TRUE(quortest::Eventually([&] { return g.widget->FramesDrawn() > before; }));
            const QImage live = OnScreen(*g.widget).convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(live.isNull());
            EXPECT_EQ(live, g.Picture().convertToFormat(QImage::Format_RGB32))
                << "mode " << mode << ", step " << step;
            if (mode == CFrequencyGraph::kModeSpectrum && values[0] == 5000) {
                EXPECT_EQ(LitInColumn(live, 0), 4);
            }
        }
    }
}
