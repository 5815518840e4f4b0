// RIFF chunk bookkeeping: sizes patched at ascend, odd chunks padded, sizes current on demand,
// the 32-bit limit, and a disk that refuses a flush.
#include "platform/riff/RiffFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

using platform::MakeFourCC;
using platform::MMCKINFO;
using platform::RiffFile;

namespace {
uint32_t LE32(const std::string& s, size_t at) {
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}
} // namespace

TEST(RiffFile, NestedChunksGetTheirSizesAndOddChunksArePadded) {
    quortest::TempDir dir;
    auto path = dir / "t.riff";
    {
        auto file = RiffFile::Create(path);
        ASSERT_TRUE(file);
        MMCKINFO form{};
        form.fccType = MakeFourCC('T', 'E', 'S', 'T');
        ASSERT_TRUE(file->CreateChunk(&form, platform::MMIO_CREATERIFF));
        EXPECT_EQ(form.dwDataOffset, 8u);
        MMCKINFO odd{};
        odd.ckid = MakeFourCC('o', 'd', 'd', ' ');
        ASSERT_TRUE(file->CreateChunk(&odd, 0));
        EXPECT_EQ(odd.dwDataOffset, 20u);
        ASSERT_EQ(file->Write("abc", 3), 3);
        ASSERT_TRUE(file->Ascend(&odd));
        EXPECT_EQ(odd.cksize, 3u);
        EXPECT_FALSE(file->Ascend(&odd)) << "a closed chunk cannot be closed again";
        ASSERT_TRUE(file->Ascend(&form));
        EXPECT_EQ(form.cksize, 4u + 8u + 4u);
    }
    std::string bytes = quortest::ReadFile(path);
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(LE32(bytes, 4), 16u);
    EXPECT_EQ(bytes.substr(8, 8), "TESTodd ");
    EXPECT_EQ(LE32(bytes, 16), 3u);
    EXPECT_EQ(bytes.substr(20, 3), "abc");
    EXPECT_EQ(bytes[23], '\0') << "pad byte";
}

TEST(RiffFile, FlushSizesMakesOpenChunksCurrentOnDisk) {
    quortest::TempDir dir;
    auto path = dir / "live.riff";
    auto file = RiffFile::Create(path);
    MMCKINFO form{};
    form.fccType = MakeFourCC('W', 'A', 'V', 'E');
    ASSERT_TRUE(file->CreateChunk(&form, platform::MMIO_CREATERIFF));
    MMCKINFO data{};
    data.ckid = MakeFourCC('d', 'a', 't', 'a');
    ASSERT_TRUE(file->CreateChunk(&data, 0));
    std::string payload(1000, 'x');
    ASSERT_EQ(file->Write(payload.data(), 1000), 1000);
    ASSERT_TRUE(file->FlushSizes());
    // Read while the file is still open, as after a crash.
    std::string bytes = quortest::ReadFile(path);
    ASSERT_EQ(bytes.size(), 1020u);
    EXPECT_EQ(LE32(bytes, 4), 1012u);
    EXPECT_EQ(LE32(bytes, 16), 1000u);
}

TEST(RiffFile, NeverGrowsPastItsLimit) {
    quortest::TempDir dir;
    auto file = RiffFile::Create(dir / "cap.riff", 100);
    ASSERT_TRUE(file);
    MMCKINFO data{};
    data.ckid = MakeFourCC('d', 'a', 't', 'a');
    ASSERT_TRUE(file->CreateChunk(&data, 0));
    std::string payload(200, 'y');
    EXPECT_EQ(file->Write(payload.data(), 200), 92) << "only what fits under the limit";
    EXPECT_EQ(file->Room(), 0u);
    EXPECT_EQ(file->Write(payload.data(), 10), 0);
    EXPECT_TRUE(file->Ascend(&data));
    EXPECT_EQ(data.cksize, 92u);
}

TEST(RiffFile, CreateFailsInAMissingFolderAndForASecondWriter) {
    quortest::TempDir dir;
    EXPECT_FALSE(RiffFile::Create((dir / "no/such/dir/x.wav").string()));
    auto first = RiffFile::Create(dir / "busy.wav");
    ASSERT_TRUE(first);
    EXPECT_FALSE(RiffFile::Create(dir / "busy.wav")) << "exclusive access";
}

TEST(RiffFile, AFlushRefusedByAFullDiskKeepsTheSizesTrueToTheFile) {
    // A file size limit stands in for a full disk. 100020 bytes leave room for a whole number of
    // 4-byte frames after the 20 header bytes, so nothing is cut back at the end: the position
    // alone decides whether the sizes match the file.
    quortest::TempDir dir;
    {
        const quortest::FileSizeLimit full(100020);
        auto file = RiffFile::Create(dir / "full.wav");
        ASSERT_TRUE(file);
        MMCKINFO form{};
        form.fccType = MakeFourCC('W', 'A', 'V', 'E');
        MMCKINFO data{};
        data.ckid = MakeFourCC('d', 'a', 't', 'a');
        ASSERT_TRUE(file->CreateChunk(&form, platform::MMIO_CREATERIFF));
        ASSERT_TRUE(file->CreateChunk(&data, 0));
        std::string block(4000, 'p');
        long written = 0;
        for (int i = 0; i < 100 && written >= 0; ++i)
            written = file->Write(block.data(), 4000);
        EXPECT_EQ(written, -1) << "the disk refused a flush";
        EXPECT_EQ(file->Position(), 100020u) << "what reached the disk, no more and no less";
        EXPECT_TRUE(file->Ascend(&data));
        EXPECT_TRUE(file->Ascend(&form));
        file->Close();
    }

    const std::string bytes = quortest::ReadFile(dir / "full.wav");
    EXPECT_EQ(bytes.size(), 100020u);
    EXPECT_EQ(LE32(bytes, 4) + 8, bytes.size());
    EXPECT_EQ(LE32(bytes, 16), 100000u);
}
