// QueryMedia on real files: durations, rates, codec tables, failures that keep the record, and
// Korean file names whatever the environment's locale.
#include "splitter/media/MediaQuery.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

class MediaQueryTest : public ::testing::Test {
protected:
    quortest::TempDir dir{"qmedia"};
    std::string Path(const std::string& name) { return (dir / name).string(); }
};

TEST_F(MediaQueryTest, ThreeMinutesThirtyFiveAndAHalfGiveTwoHundredFifteenSeconds) {
    const std::string path = Path("song.mp3");
    ASSERT_TRUE(splittest::MakeToneMp3(path, 215.5));
    MediaProps props;
    ASSERT_TRUE(QueryMedia(path, props));
    EXPECT_EQ(props.durationSec, 215);
    EXPECT_EQ(props.audioCodecShort, "MP3") << "legacy audio codec MPA1L3 goes through the table";
    EXPECT_FALSE(props.audioCodecText.empty());
    EXPECT_EQ(props.audioSampleRate, "44.1 kHz");
    EXPECT_EQ(LeadingNumber(props.audioSampleRate, 1000), 44100);
    EXPECT_EQ(LeadingNumber(props.audioBitRate, 1), 128);
    EXPECT_EQ(props.audioChannels, "2");
    EXPECT_EQ(props.audioBitRateMode, "CBR");
    EXPECT_EQ(props.videoBitRateMode, "NotMode") << "no video stream";
    EXPECT_EQ(props.width, 0);
    EXPECT_TRUE(props.videoCodecShort.empty());
    EXPECT_FALSE(props.formatText.empty());
    EXPECT_EQ(props.fileSize, static_cast<int32_t>(std::filesystem::file_size(path)));
}

TEST_F(MediaQueryTest, FortyEightKilohertzAtThreeHundredTwentyKilobits) {
    const std::string path = Path("hq.mp3");
    ASSERT_TRUE(splittest::MakeToneMp3(path, 5.0, 1000, 48000, 320));
    MediaProps props;
    ASSERT_TRUE(QueryMedia(path, props));
    EXPECT_EQ(props.durationSec, 5);
    EXPECT_EQ(LeadingNumber(props.audioSampleRate, 1000), 48000) << props.audioSampleRate;
    EXPECT_EQ(LeadingNumber(props.audioBitRate, 1), 320) << props.audioBitRate;
}

TEST_F(MediaQueryTest, Mpeg4VisualVideoReadsAsMp4vWithItsSize) {
    const std::string path = Path("clip.avi");
    ASSERT_TRUE(splittest::MakeMpeg4Video(path, 2.0));
    MediaProps props;
    ASSERT_TRUE(QueryMedia(path, props));
    EXPECT_EQ(props.videoCodecShort, "MP4V");
    EXPECT_EQ(props.width, 320);
    EXPECT_EQ(props.height, 240);
    EXPECT_EQ(props.audioCodecShort, "MP3");
    EXPECT_EQ(props.durationSec, 2);
    EXPECT_NE(props.videoBitRateMode, "");
}

TEST_F(MediaQueryTest, FailuresLeaveThePreviousRecordUntouched) {
    const std::string song = Path("song.mp3");
    ASSERT_TRUE(splittest::MakeToneMp3(song, 7.0));
    MediaProps props;
    ASSERT_TRUE(QueryMedia(song, props));
    const MediaProps before = props;

    EXPECT_FALSE(QueryMedia(Path("missing.mp3"), props));
    EXPECT_EQ(props, before);

    // The library opens a text file but finds nothing in it: no duration, no audio.
    quortest::WriteFile(dir / "notes.txt", "just some words, not music\n");
    MediaProps text = before;
    bool opened = QueryMedia(Path("notes.txt"), text);
    if (opened) {
        EXPECT_EQ(text.durationSec, 0);
        EXPECT_TRUE(text.audioSampleRate.empty());
    } else {
        EXPECT_EQ(text, before);
    }
}

TEST_F(MediaQueryTest, KoreanFileNameOpensUnderTheCLocale) {
    const std::string path = Path("노래 한곡.mp3");
    ASSERT_TRUE(splittest::MakeToneMp3(path, 3.0));
    std::setlocale(LC_CTYPE, "C"); // as a user's environment without a UTF-8 locale would give
    MediaProps props;
    ASSERT_TRUE(QueryMedia(path, props));
    EXPECT_EQ(props.durationSec, 3);
    EXPECT_EQ(LeadingNumber(props.audioSampleRate, 1000), 44100);
}

} // namespace
