// PCM format record and buffer views.
#include "CBuffer.h"
#include "CSoundBase.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SoundBase, DefaultsAreCdStereoWithThousandFrameBuffers) {
    CSoundBase s;
    EXPECT_EQ(s.GetBitsPerSample(), 16);
    EXPECT_EQ(s.GetSamplesPerSecond(), 44100);
    EXPECT_EQ(s.GetNumberOfChannels(), 2);
    EXPECT_EQ(s.GetFormat()->nBlockAlign, 4);
    EXPECT_EQ(s.GetFormat()->nAvgBytesPerSec, 176400u);
    EXPECT_EQ(s.GetFormat()->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(s.GetFormat()->cbSize, 0);
    EXPECT_EQ(s.GetBufferSize() * s.GetFormat()->nBlockAlign, 4000);
}

TEST(SoundBase, DerivedFieldsFollowEveryChange) {
    CSoundBase s;
    s.SetSamplesPerSecond(22050);
    EXPECT_EQ(s.GetFormat()->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(s.GetFormat()->nBlockAlign, 4);
    s.SetNumberOfChannels(1);
    EXPECT_EQ(s.GetFormat()->nBlockAlign, 2);
    s.SetNumberOfChannels(2).SetBitsPerSample(8);
    EXPECT_EQ(s.GetFormat()->nBlockAlign, 2);
    EXPECT_EQ(s.GetFormat()->nAvgBytesPerSec, 44100u);
    s.SetBufferSize(512);
    EXPECT_EQ(s.GetFormat()->nBlockAlign, 2) << "the buffer size recomputes nothing";
}

TEST(SoundBase, FormatRecordIsTheWaveLayoutByteForByte) {
    CSoundBase s;
    unsigned char raw[18];
    std::memcpy(raw, s.GetFormat(), sizeof raw);
    const unsigned char expected[18] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(raw, expected, sizeof raw));
}

TEST(Buffer, WrapOfNullHasNoLengthAndViewsNeverFree) {
    CBuffer empty(nullptr, 4000);
    EXPECT_EQ(empty.ByteLen, 0);
    EXPECT_EQ(empty.ptr, nullptr);

    char memory[16] = {7};
    {
        CBuffer view(memory, sizeof memory);
        EXPECT_EQ(view.ByteLen, 16);
        EXPECT_FALSE(view.Owns);
    }
    EXPECT_EQ(memory[0], 7); // still ours (ASan would catch a free of stack memory)

    CBuffer owned(4000, true);
    ASSERT_NE(owned.ptr, nullptr);
    EXPECT_EQ(owned.ByteLen, 4000);
}
