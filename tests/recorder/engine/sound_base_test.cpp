// PCM format record and buffer views.
#include "recorder/engine/CBuffer.h"
#include "recorder/engine/CSoundBase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

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

    // A view over a heap block (too big for the per-thread cache, so a free shows in the heap's
    // in-use total at once): destroying the view leaves the block allocated.
    constexpr int32_t kBlock = 4096;
    void* block = std::malloc(kBlock);
    ASSERT_NE(block, nullptr);
    const size_t inUseBefore = mallinfo2().uordblks;
    {
        CBuffer view(block, kBlock);
        EXPECT_EQ(view.ByteLen, kBlock);
        EXPECT_FALSE(view.Owns);
    }
    const size_t inUseAfter = mallinfo2().uordblks;
    EXPECT_EQ(inUseAfter, inUseBefore) << "the view freed memory it does not own";
    if (inUseAfter == inUseBefore)
        std::free(block);

    CBuffer owned(4000, true);
    ASSERT_NE(owned.ptr, nullptr);
    EXPECT_EQ(owned.ByteLen, 4000);
}
