// The loudness scan on a file of tone with 2 s of silence from 10 s: a full scan and a sparse one
// (whose peaks must not be the garbage a lone decoded frame gives) put the pause where it is; a
// file cut short shows what it holds and nothing past it; a stopped scan reads nothing.
#include "splitter/loudness/LoudnessScan.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr double kFull = LoudnessProfile::kFullScale;
const std::atomic<bool> kGoOn{false};

// The first and the last quiet step between 0.1 s and 21.9 s (the encoder's delay is quiet).
std::pair<int, int> QuietStretch(const LoudnessProfile& profile) {
    std::pair<int, int> stretch{-1, -1};
    for (int step = 0; step < profile.Known(); ++step) {
        const double at = step * profile.StepSeconds();
        if (at > 0.1 && at < 21.9 &&
            *profile.PeakBetween(at, at + profile.StepSeconds()) < LoudnessProfile::kQuietPeak)
            stretch = {stretch.first < 0 ? step : stretch.first, step};
    }
    return stretch;
}

TEST(LoudnessScan, FindsThePauseFullOrSparseAndStopsWhereTheDataStops) {
    quortest::TempDir dir("loud");
    const std::string paused = (dir / "paused.mp3").string();
    ASSERT_TRUE(splittest::MakePausedToneMp3(paused, 10, 2));

    LoudnessProfile full(22);
    ScanLoudness(paused, full, kGoOn);
    EXPECT_EQ(full.Known(), full.Steps());
    const auto [first, last] = QuietStretch(full);
    // The encoder's delay and a frame's spread move the edges by up to 0.06 s.
    EXPECT_NEAR(first * full.StepSeconds(), 10, 0.06);
    EXPECT_NEAR((last + 1) * full.StepSeconds(), 12, 0.06);
    EXPECT_GT(*full.PeakBetween(1, 9), 0.8 * kFull) << "a tone at 0.9, as the encoder shaped it";
    EXPECT_NEAR(full.NearestPause(8.5, 3.0).value_or(0), 11.0, 0.06);
    EXPECT_FALSE(full.NearestPause(7.0, 3.0)) << "the pause's middle is 4 s away";
    EXPECT_FALSE(full.NearestPause(11.0, 3.0, 2.5)) << "no pause is that long";

    // A few frames decoded at even spacing, against a full scan at the same steps.
    LoudnessProfile sparse(22, 50), coarse(22, 50);
    ScanLoudness(paused, sparse, kGoOn, 180);
    ScanLoudness(paused, coarse, kGoOn);
    EXPECT_EQ(sparse.Known(), sparse.Steps());
    EXPECT_LE(std::abs(QuietStretch(sparse).first - QuietStretch(coarse).first), 1);
    EXPECT_LE(std::abs(QuietStretch(sparse).second - QuietStretch(coarse).second), 1);
    for (double at : {1.0, 5.0, 15.0, 20.0})
        EXPECT_NEAR(*sparse.PeakBetween(at, at + 0.5), *coarse.PeakBetween(at, at + 0.5), 0.02 * kFull)
            << "the tone, not a lone frame's garbage, at " << at << " s";

    // The first 40 % of the file, under a length that claims all 22 s (as a header may).
    const std::string bytes = quortest::ReadFile(paused);
    quortest::WriteFile(dir / "cut.mp3", bytes.substr(0, bytes.size() * 4 / 10));
    LoudnessProfile shortened(22);
    ScanLoudness((dir / "cut.mp3").string(), shortened, kGoOn);
    EXPECT_TRUE(shortened.Ended());
    EXPECT_NEAR(shortened.Known() * shortened.StepSeconds(), 22 * 0.4, 0.3);
    EXPECT_FALSE(shortened.PeakBetween(9.5, 22)) << "no flat line past the data";

    const std::atomic<bool> stop{true};
    LoudnessProfile stopped(22);
    ScanLoudness(paused, stopped, stop);
    EXPECT_TRUE(stopped.Ended());
    EXPECT_EQ(stopped.Known(), 0);
}

} // namespace
