// The WAV writer: exact layout, sizes kept current while recording, the size limit.
#include "recorder/engine/CSoundFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {
uint32_t LE32(const std::string& s, size_t at) {
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

void CheckHeader(const std::string& bytes, uint32_t dataBytes, const WAVEFORMATEX& format) {
    ASSERT_GE(bytes.size(), 46u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(LE32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LE32(bytes, 16), 18u);
    EXPECT_EQ(0, std::memcmp(bytes.data() + 20, &format, 18)) << "the format record byte for byte";
    EXPECT_EQ(bytes.substr(38, 4), "data");
    EXPECT_EQ(LE32(bytes, 42), dataBytes);
}
} // namespace

TEST(SoundFile, OneBufferGivesTheExactLayout) {
    quortest::TempDir dir;
    CSoundBase format;
    std::string pcm(4000, '\0');
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<char>(i * 7);
    {
        CSoundFile file((dir / "one.wav").string(), format.GetFormat());
        ASSERT_TRUE(file.IsOpen());
        CBuffer view(pcm.data(), 4000);
        EXPECT_TRUE(file.Write(&view));
    }
    std::string bytes = quortest::ReadFile(dir / "one.wav");
    ASSERT_EQ(bytes.size(), 4046u);
    EXPECT_EQ(LE32(bytes, 4), 4038u);
    CheckHeader(bytes, 4000, *format.GetFormat());
    EXPECT_EQ(bytes.substr(46), pcm);
}

TEST(SoundFile, EmptyRecordingIsAValidFile) {
    quortest::TempDir dir;
    CSoundBase format;
    { CSoundFile file((dir / "empty.wav").string(), format.GetFormat()); }
    std::string bytes = quortest::ReadFile(dir / "empty.wav");
    ASSERT_EQ(bytes.size(), 46u);
    EXPECT_EQ(LE32(bytes, 4), 38u);
    CheckHeader(bytes, 0, *format.GetFormat());
}

TEST(SoundFile, MissingFolderMeansNotOpenAndNoFile) {
    quortest::TempDir dir;
    CSoundBase format;
    auto path = dir / "missing" / "x.wav";
    CSoundFile file(path.string(), format.GetFormat());
    EXPECT_FALSE(file.IsOpen());
    char data[4] = {};
    CBuffer view(data, 4);
    EXPECT_FALSE(file.Write(&view));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SoundFile, SizesOnDiskFollowTheRecordingAboutOnceASecond) {
    quortest::TempDir dir;
    CSoundBase format; // 176400 bytes per second
    auto path = dir / "live.wav";
    CSoundFile file(path.string(), format.GetFormat());
    std::string pcm(4000, '\x11');
    CBuffer view(pcm.data(), 4000);
    for (int i = 0; i < 45; ++i) // 180000 bytes: just over one second
        ASSERT_TRUE(file.Write(&view));
    // The file is still open, as when the program dies here.
    std::string bytes = quortest::ReadFile(path);
    ASSERT_GE(bytes.size(), 46u + 176400u);
    CheckHeader(bytes, static_cast<uint32_t>(bytes.size() - 46), *format.GetFormat());
}

TEST(SoundFile, AtTheSizeLimitWholeFramesAreKeptAndTheWriteReportsShort) {
    quortest::TempDir dir;
    CSoundBase format;
    auto path = dir / "full.wav";
    {
        CSoundFile file(path.string(), format.GetFormat(), 46 + 10000 + 2);
        std::string pcm(4000, '\x22');
        CBuffer view(pcm.data(), 4000);
        EXPECT_TRUE(file.Write(&view));
        EXPECT_TRUE(file.Write(&view));
        EXPECT_FALSE(file.Write(&view)) << "the third buffer does not fit";
        EXPECT_FALSE(file.Write(&view));
    }
    std::string bytes = quortest::ReadFile(path);
    ASSERT_EQ(bytes.size(), 46u + 10000u);
    CheckHeader(bytes, 10000, *format.GetFormat());
}
