// Every made seed of the open-path fuzzer, opened as QuorSplit opens a file: nothing crashes, what
// the window takes is a file the player opens, its length is the one that decodes (never what a
// header claims), and playback decodes. The seeds are grouped by shape, the part of their name
// before the first '-' (splitter/fuzz/make_seeds.py makes them).
#include "splitter/fuzz/OpenPath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Shape {
    const char* name;
    size_t taken; // how many of its seeds hold a second or more of audio
};

void PrintTo(const Shape& shape, std::ostream* out) {
    *out << shape.name;
}

std::vector<std::string> SeedsOf(const std::string& shape) {
    std::vector<std::string> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(QUOR_SOURCE_DIR "/splitter/fuzz/seeds")) {
        const std::string name = entry.path().filename().string();
        if (name.substr(0, name.find_first_of("-.")) == shape)
            seeds.push_back(entry.path().string());
    }
    return seeds;
}

class SeedShapeTest : public ::testing::TestWithParam<Shape> {};

TEST_P(SeedShapeTest, OpensWithoutACrashAndShowsOnlyWhatDecodes) {
    const std::vector<std::string> seeds = SeedsOf(GetParam().name);
    ASSERT_FALSE(seeds.empty());
    size_t taken = 0;
    for (const std::string& seed : seeds) {
        SCOPED_TRACE(std::filesystem::path(seed).filename().string());
        const OpenedFile opened = OpenAsTheSplitterDoes(seed);
        EXPECT_TRUE(opened.readsWholeFrames);
        EXPECT_TRUE(opened.pictureHolds);
        if (opened.playable) {
            EXPECT_GT(opened.framesPlayed, 0);
        }
        if (!opened.taken)
            continue;
        ++taken;
        EXPECT_TRUE(opened.playable) << "the window takes only what the player plays";
        EXPECT_EQ(opened.taken->durationSec, opened.exactMs / 1000) << "the length that decodes";
    }
    EXPECT_EQ(taken, GetParam().taken);
}

// The seeds are a little over a second long where whole; the short one that is truncated at
// every frame is under a second, so only the two cut seeds of the longer file are taken.
INSTANTIATE_TEST_SUITE_P(Seeds, SeedShapeTest,
                         ::testing::Values(Shape{"whole", 9}, Shape{"truncated", 2}, Shape{"junk", 6},
                                           Shape{"id3v2", 9}, Shape{"id3v1", 0}, Shape{"xing", 2},
                                           Shape{"vbri", 2}, Shape{"empty", 0}, Shape{"tiny", 0}),
                         [](const auto& shape) { return std::string(shape.param.name); });

} // namespace
