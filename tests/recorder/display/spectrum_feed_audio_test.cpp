// The monitor capture of a private PulseAudio server feeding a spectrum display through the
// spectrum feed: a tone played into the sink lights its column, silence lights none.
#include "recorder/display/CFrequencyGraph.h"
#include "recorder/display/GraphPainting.h"
#include "recorder/display/SpectrumFeed.h"
#include "recorder/engine/Recorder.h"
#include "tests/support/Eventually.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "spectrum_feed_audio_test";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The private server's runtime folder is 0700, as Qt wants its runtime folder.
    setenv("XDG_RUNTIME_DIR", (quortest::SharedPulseServer().Folder() + "/runtime").c_str(), 1);
    static QApplication app(argc, argv);
    return app;
}

// The spectrum feed into a graph, counting the buffers it passed on.
struct CountedFeed {
    CFrequencyGraph* graph;
    std::atomic<int> buffers{0};
    static int Feed(void* self, WAVEHDR* header) {
        auto* feed = static_cast<CountedFeed*>(self);
        const int result = SpectrumFeed(feed->graph, header);
        ++feed->buffers;
        return result;
    }
};

// Segments lit per column once the feed has reached the graph and `buffers` more have passed.
std::vector<int> ColumnsAfterFeeding(CountedFeed& feed, int buffers) {
    // An idle null sink may start up to 2 s late.
    quortest::Eventually([&] { return !feed.graph->Values().empty(); }, std::chrono::seconds(5));
    const int from = feed.buffers;
    quortest::Eventually([&] { return feed.buffers >= from + buffers; }, std::chrono::seconds(5));
    auto values = feed.graph->Values();
    std::vector<int> lit;
    for (size_t i = 0; i < 10 && i < values.size(); ++i)
        lit.push_back(graph::LitSegments(values[i]));
    return lit;
}

} // namespace

TEST(SpectrumFeedAudio, ToneLightsItsColumnAndSilenceNone) {
    App();
    quortest::SharedPulseServer().WakeSink();
    CFrequencyGraph graph;
    graph.SetMode(CFrequencyGraph::kModeSpectrum);
    Recorder recorder(1024);
    ASSERT_EQ(recorder.OpenMonitor(), MMSYSERR_NOERROR);
    CountedFeed feed{&graph};
    recorder.SetMonitorCallback(&feed, &CountedFeed::Feed);
    ASSERT_EQ(recorder.StartMonitor(), MMSYSERR_NOERROR);

    auto silent = ColumnsAfterFeeding(feed, 20);
    ASSERT_EQ(silent.size(), 10u) << "the feed reached the graph";
    EXPECT_EQ(silent, std::vector<int>(10, 0));
    {
        // Column 5 of the interleaved-stereo spectrum: 5 * 88200 / 1024 Hz.
        quortest::SignalPlayer tone(5 * 88200.0 / 1024, 0.5);
        ASSERT_TRUE(tone.Playing());
        auto lit = ColumnsAfterFeeding(feed, 40);
        ASSERT_EQ(lit.size(), 10u);
        EXPECT_EQ(lit[5], 8);
        EXPECT_EQ(std::max_element(lit.begin(), lit.end()) - lit.begin(), 5);
        EXPECT_EQ(lit[0], 0);
        EXPECT_EQ(lit[9], 0);
    }
    recorder.StopMonitor();
}
