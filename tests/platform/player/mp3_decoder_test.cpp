// Mp3Decoder on files made by ffmpeg: exact lengths, seeks that land on the very sample, and
// files that libmpg123 would open but that are not MP3s.
#include "platform/player/Mp3Decoder.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

using platform::Mp3Decoder;

namespace {

std::vector<int16_t> DecodeAll(Mp3Decoder& decoder) {
    std::vector<int16_t> pcm;
    std::vector<unsigned char> buffer(8192);
    size_t got;
    while ((got = decoder.Read(buffer.data(), buffer.size())) > 0) {
        auto* s = reinterpret_cast<const int16_t*>(buffer.data());
        pcm.insert(pcm.end(), s, s + got / 2);
    }
    return pcm;
}

class Mp3DecoderTest : public ::testing::Test {
protected:
    quortest::TempDir dir{"qdec"};
};

TEST_F(Mp3DecoderTest, LengthIsExactInSamplesAndMilliseconds) {
    const std::string path = (dir / "tone.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(path, 2.5));
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(path));
    EXPECT_EQ(decoder.Rate(), 44100);
    EXPECT_EQ(decoder.Channels(), 2);
    EXPECT_EQ(decoder.LengthFrames(), 110250);
    EXPECT_EQ(decoder.LengthMs(), 2500);
    EXPECT_EQ(DecodeAll(decoder).size(), 110250u * 2) << "decoding gives exactly the length";
}

TEST_F(Mp3DecoderTest, MonoAndOtherRatesKeepTheirOwnFormat) {
    const std::string path = (dir / "mono.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(path, 1.0, 1000, 22050, 64, 1));
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(path));
    EXPECT_EQ(decoder.Rate(), 22050);
    EXPECT_EQ(decoder.Channels(), 1);
    EXPECT_EQ(decoder.LengthFrames(), 22050);
}

TEST_F(Mp3DecoderTest, SeekLandsOnTheExactSample) {
    const std::string path = (dir / "tone.mp3").string();
    ASSERT_TRUE(splittest::MakeTwoToneMp3(path, 3.0, 1.5, 440, 1760));
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(path));
    const std::vector<int16_t> all = DecodeAll(decoder);
    for (int64_t frame : {int64_t(0), int64_t(1), int64_t(44100), int64_t(70001), int64_t(132299)}) {
        ASSERT_TRUE(decoder.SeekFrame(frame));
        std::vector<int16_t> rest = DecodeAll(decoder);
        ASSERT_EQ(rest.size(), all.size() - frame * 2) << "from frame " << frame;
        EXPECT_TRUE(std::equal(rest.begin(), rest.end(), all.begin() + frame * 2)) << "from frame " << frame;
    }
}

TEST_F(Mp3DecoderTest, FilesThatAreNotMp3sAreRefused) {
    quortest::WriteFile(dir / "notes.txt", "This is a text file and nothing else.\n");
    quortest::WriteFile(dir / "empty.mp3", "");
    std::string wav("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x44\xac\x00\x00\x88\x58\x01"
                    "\x00\x02\x00\x10\x00"
                    "data\x00\x00\x00\x00",
                    44);
    quortest::WriteFile(dir / "silence.wav", wav);
    for (const char* name : {"notes.txt", "empty.mp3", "silence.wav", "missing.mp3"}) {
        Mp3Decoder decoder;
        EXPECT_FALSE(decoder.Open((dir / name).string())) << name;
        Mp3Decoder prober;
        EXPECT_FALSE(prober.Probe((dir / name).string())) << name << ": the quick test refuses it too";
    }
    Mp3Decoder folder;
    EXPECT_FALSE(folder.Open(dir.str()));
    EXPECT_FALSE(folder.Probe(dir.str()));
}

TEST_F(Mp3DecoderTest, ProbePassesAnMp3AndLeavesTheDecoderFreeForAnOpen) {
    const std::string path = (dir / "mono.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(path, 1.0, 1000, 22050, 64, 1));
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Probe(path));
    EXPECT_EQ(decoder.Rate(), 22050);
    EXPECT_EQ(decoder.Channels(), 1);
    ASSERT_TRUE(decoder.Open(path));
    EXPECT_EQ(decoder.LengthFrames(), 22050);
}

TEST_F(Mp3DecoderTest, ProbeGivesTheLengthThatDecodesWhateverTheHeaderClaims) {
    const auto lengths = [](const std::string& path) {
        Mp3Decoder probed, opened;
        EXPECT_TRUE(probed.Probe(path)) << path;
        EXPECT_TRUE(opened.Open(path)) << path;
        return std::pair(probed.LengthMs(), opened.LengthMs());
    };
    // Cut to its first 48 000 bytes (3 s at 128 kbit/s): the info frame still names 5 s.
    const std::string whole = (dir / "whole.mp3").string(), cut = (dir / "cut.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(whole, 5.0));
    quortest::WriteFile(cut, quortest::ReadFile(whole).substr(0, 48000));
    auto [probed, opened] = lengths(cut);
    EXPECT_NEAR(opened, 3000, 60);
    EXPECT_NEAR(probed, opened, 30);

    // Junk in the middle: the rest of the file still plays (libmpg123 alone gives up after 1 KiB).
    std::string bytes = quortest::ReadFile(whole);
    bytes.insert(40000, std::string(3000, 'x'));
    quortest::WriteFile(cut, bytes);
    std::tie(probed, opened) = lengths(cut);
    EXPECT_NEAR(opened, 5000, 60);
    EXPECT_NEAR(probed, opened, 60);

    // No header and a quiet start: a length guessed from the first frames would be three times
    // too long.
    const std::string vbr = (dir / "vbr.mp3").string();
    ASSERT_TRUE(splittest::MakeVbrMp3WithoutHeader(vbr, 6.0));
    std::tie(probed, opened) = lengths(vbr);
    EXPECT_NEAR(opened, 6000, 60);
    EXPECT_EQ(probed, opened);

    // A long constant bit rate file is measured from its header and size: the same length.
    const std::string lecture = (dir / "lecture.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(lecture, 600, 440, 8000, 8, 1));
    std::tie(probed, opened) = lengths(lecture);
    EXPECT_NEAR(opened, 600000, 100);
    EXPECT_NEAR(probed, opened, 10);
}

} // namespace
