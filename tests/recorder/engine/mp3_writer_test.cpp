// The MP3 writer: the stream settings it asks for, real files through liblame_enc.so, and its
// failures.
#include "recorder/engine/CWriteMP3File.h"
#include "tests/encoder/Mp3Probe.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(MP3WriterConfig, ConstantBitrateJointStereoWithTheRecordersBits) {
    const BE_CONFIG config = CWriteMP3File::MakeConfig(128, 44100, 0);
    const auto& c = config.format.LHV1;
    EXPECT_EQ(config.dwConfig, BE_CONFIG_LAME);
    EXPECT_EQ(c.dwStructVersion, 1u);
    EXPECT_EQ(c.dwStructSize, 331u);
    EXPECT_EQ(c.dwSampleRate, 44100u);
    EXPECT_EQ(c.dwReSampleRate, 44100u); // no resampling: the file keeps the chosen rate
    EXPECT_EQ(c.nMode, BE_MP3_MODE_JSTEREO);
    EXPECT_EQ(c.dwBitrate, 128u);
    EXPECT_EQ(c.dwMaxBitrate, 0u);
    EXPECT_EQ(c.nPreset, LQP_CBR);
    EXPECT_EQ(c.dwPsyModel, 0u);
    EXPECT_EQ(c.dwEmphasis, 0u);
    EXPECT_EQ(c.bPrivate, 1);
    EXPECT_EQ(c.bCRC, 0);
    EXPECT_EQ(c.bCopyright, 1);
    EXPECT_EQ(c.bOriginal, 1);
    EXPECT_EQ(c.bWriteVBRHeader, 0);
    EXPECT_EQ(c.bEnableVBR, 0);
    EXPECT_EQ(c.nVBRQuality, 0);
    EXPECT_EQ(c.dwVbrAbr_bps, 0u);
    EXPECT_EQ(c.nVbrMethod, 0);
    EXPECT_EQ(c.bNoRes, 1);
    EXPECT_EQ(c.bStrictIso, 0);
    EXPECT_EQ(c.nQuality, 0);
    EXPECT_TRUE(
        std::all_of(std::begin(c.btReserved), std::end(c.btReserved), [](uint8_t b) { return b == 0; }));

    EXPECT_EQ(CWriteMP3File::MakeConfig(32, 22050, 0).format.LHV1.dwMpegVersion, 0u);
    EXPECT_EQ(CWriteMP3File::MakeConfig(56, 24000, 0).format.LHV1.dwMpegVersion, 1u);
    EXPECT_EQ(CWriteMP3File::MakeConfig(320, 44100, 0).format.LHV1.dwMpegVersion, 1u);
    EXPECT_EQ(CWriteMP3File::MakeConfig(128, 44100, 32000).format.LHV1.dwReSampleRate, 32000u);
}

// Feeds the tone as the capture does, 4000 bytes a call.
void Record(CWriteMP3File& writer, std::vector<int16_t> pcm, size_t bufferBytes = 4000) {
    auto* bytes = reinterpret_cast<unsigned char*>(pcm.data());
    const size_t total = pcm.size() * 2;
    for (size_t done = 0; done < total; done += bufferBytes)
        writer.Receive(bytes + done, static_cast<int>(std::min(bufferBytes, total - done)));
}

struct Quality {
    int bitrate;
    int rate;
};

class MP3Writer : public testing::TestWithParam<Quality> {};

TEST_P(MP3Writer, RecordingBecomesAConstantBitrateMp3OfTheSameSound) {
    const Quality q = GetParam();
    quortest::TempDir dir("mp3w");
    const std::vector<int16_t> pcm = quortest::StereoTone(q.rate, 3, 1000, 440);
    CWriteMP3File writer;
    writer.Open((dir / "rec.mp3").string(), q.bitrate, q.rate, 0);
    Record(writer, pcm);
    writer.Close();
    EXPECT_FALSE(writer.WriteFailed());

    const quortest::DecodedMp3 decoded = quortest::DecodeMp3(dir / "rec.mp3");
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.rate, q.rate);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.bitrates, std::set<int>{q.bitrate});
    EXPECT_TRUE(decoded.allCbr);
    const size_t input = pcm.size() / 2, delay = 576 + 529, frame = q.rate >= 32000 ? 1152 : 576;
    EXPECT_GE(decoded.frames, input + delay);
    EXPECT_LT(decoded.frames, input + delay + frame);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 0, q.rate, {440, 1000, 2500}), 1000);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 1, q.rate, {440, 1000, 2500}), 440);
    // Bare frames: no ID3 tag and no Info/Xing frame in front.
    const std::string bytes = quortest::ReadFile(dir / "rec.mp3");
    EXPECT_EQ(quortest::CountWholeFrames(bytes), static_cast<long>(decoded.mp3Frames));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(bytes.substr(0, 1200).find("Info"), std::string::npos);
    EXPECT_EQ(bytes.substr(0, 1200).find("Xing"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Presets, MP3Writer,
                         testing::Values(Quality{128, 44100}, Quality{96, 44100}, Quality{56, 24000}),
                         [](const testing::TestParamInfo<Quality>& test) {
                             return std::to_string(test.param.bitrate) + "kbps_" +
                                    std::to_string(test.param.rate) + "Hz";
                         });

TEST(MP3WriterFiles, StopRightAfterStartLeavesAValidFile) {
    quortest::TempDir dir("mp3w");
    CWriteMP3File writer;
    writer.Open((dir / "empty.mp3").string(), 128, 44100, 0);
    writer.Close();
    ASSERT_TRUE(std::filesystem::exists(dir / "empty.mp3"));
    // Only what the flush gave: whole frames or nothing.
    EXPECT_GE(quortest::CountWholeFrames(quortest::ReadFile(dir / "empty.mp3")), 0);
    writer.Close(); // a second close does nothing
    EXPECT_GE(quortest::CountWholeFrames(quortest::ReadFile(dir / "empty.mp3")), 0);
}

TEST(MP3WriterFiles, LargeBuffersAndAForgottenCloseStillGiveTheWholeRecording) {
    quortest::TempDir dir("mp3w");
    const std::vector<int16_t> pcm = quortest::StereoTone(44100, 4, 1000, 440);
    {
        CWriteMP3File writer;
        writer.Open((dir / "big.mp3").string(), 320, 44100, 0);
        // Two seconds in one call, a capture-sized buffer, then the rest in one call: each large
        // call is encoded as it comes or after the audio that waits for a batch, in order.
        auto* bytes = reinterpret_cast<unsigned char*>(const_cast<int16_t*>(pcm.data()));
        const int half = static_cast<int>(pcm.size()), small = 4000;
        writer.Receive(bytes, half);
        writer.Receive(bytes + half, small);
        writer.Receive(bytes + half + small, half - small);
    }
    const quortest::DecodedMp3 decoded = quortest::DecodeMp3(dir / "big.mp3");
    ASSERT_TRUE(decoded.ok);
    EXPECT_GE(decoded.frames, pcm.size() / 2);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 0, 44100, {440, 1000, 2500}), 1000);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 1, 44100, {440, 1000, 2500}), 440);
    EXPECT_EQ(decoded.bitrates, std::set<int>{320});
}

TEST(MP3WriterFiles, FolderThatDoesNotExistCannotBeCreated) {
    quortest::TempDir dir("mp3w");
    CWriteMP3File writer;
    try {
        writer.Open((dir / "no such folder" / "rec.mp3").string(), 128, 44100, 0);
        FAIL() << "Open succeeded";
    } catch (const CWriteMP3FileError& error) {
        EXPECT_STREQ(error.what(), "Can't create MP3 file.");
        EXPECT_EQ(error.GetReason(), CWriteMP3FileError::Reason::CreateFile);
    }
    writer.Receive(nullptr, 0);
    writer.Close();
}

TEST(MP3WriterFiles, MissingOrIncompleteEncoderRefusesTheRecordingAndKeepsTheFile) {
    quortest::TempDir dir("mp3w");
    const auto path = dir / "keep.mp3";
    quortest::WriteFile(path, "an earlier recording");
    struct Case {
        const char* library;
        CWriteMP3FileError::Reason reason;
    };
    // libmp3lame is a real library without the Blade-style names.
    for (const Case c : {Case{"liblame_enc_absent.so", CWriteMP3FileError::Reason::EncoderMissing},
                         Case{"libmp3lame.so.0", CWriteMP3FileError::Reason::EncoderIncomplete}}) {
        SCOPED_TRACE(c.library);
        CWriteMP3File writer(c.library);
        try {
            writer.Open(path.string(), 128, 44100, 0);
            FAIL() << "Open succeeded";
        } catch (const CWriteMP3FileError& error) {
            EXPECT_EQ(error.GetReason(), c.reason);
            EXPECT_STRNE(error.what(), "Can't create MP3 file.");
            EXPECT_NE(std::string(error.what()).find(c.library), std::string::npos);
        }
        EXPECT_EQ(quortest::ReadFile(path), "an earlier recording");
    }
}

} // namespace
