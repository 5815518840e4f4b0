// Saving both tags into a real MP3: the full texts for players that read ID3v2, the code-page-949
// record as before, the audio untouched, and every failure leaving the file as it was.
#include "recorder/tags/Cp949.h"
#include "recorder/tags/Id3v1TagFile.h"
#include "recorder/tags/TagStore.h"
#include "tests/recorder/tags/TagFixtures.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;
using quortest::ReadFile;
using splittest::ProbeTag;

namespace {

const std::string kLongTitle = "안녕하세요 세상 — a long English title of more than thirty characters";

std::string LastRecord(const std::string& bytes) {
    return bytes.substr(bytes.size() - 128);
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TagStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tagtest::MakePlainMp3(path)); }
    quortest::TempDir dir{"qtag"};
    std::string path = (dir / "rec.mp3").string();
};

} // namespace

TEST_F(TagStoreTest, SaveWritesTheFullTextsBesideTheSameId3v1RecordAndKeepsEveryAudioByte) {
    const std::string audio = ReadFile(path);
    const std::string legacy = (dir / "legacy.mp3").string();
    fs::copy_file(path, legacy);
    const tags::TagTexts texts{kLongTitle, "가수 이름이 아주 긴 아티스트입니다 열다섯 글자 넘게", "앨범",
                               "2024", "코멘트 — comment"};
    ASSERT_TRUE(tags::WriteId3v1(legacy, texts)); // the record alone, in place, as it always was

    ASSERT_TRUE(tags::SaveTags(path, texts));
    const std::string saved = ReadFile(path);
    ASSERT_EQ(saved.substr(0, 4), std::string("ID3\x03", 4)) << "an ID3v2.3 tag at the start";
    const size_t tit2 = saved.find("TIT2");
    ASSERT_NE(tit2, std::string::npos);
    EXPECT_EQ(saved[tit2 + 10], '\x01') << "the title in UTF-16";
    EXPECT_EQ(tagtest::AfterId3v2(saved), ReadFile(legacy)) << "audio and record byte for byte";
    // The code page has no em dash (its A1AA is U+2015): '?' as for any character it lacks.
    EXPECT_EQ(LastRecord(saved).substr(3, 30), tags::Utf8ToCp949("안녕하세요 세상") + " ? a long Engli");

    EXPECT_EQ(ProbeTag(path, "title"), kLongTitle);
    EXPECT_EQ(ProbeTag(path, "artist"), texts.artist);
    EXPECT_EQ(ProbeTag(path, "comment"), texts.comment);
    EXPECT_EQ(tags::ReadTags(path), texts);
    EXPECT_EQ(tagtest::AfterId3v2(saved).substr(0, audio.size()), audio);
}

TEST_F(TagStoreTest, SavingAgainReplacesTheTextsKeepsOtherFramesAndEmptyTextsRemoveTheirs) {
    // ffmpeg's own ID3v2.4 tag names the encoder: a frame that is not ours to drop.
    ASSERT_TRUE(splittest::MakeToneMp3(path, 1.0));
    const std::string encoder = ProbeTag(path, "encoder");
    ASSERT_FALSE(encoder.empty());
    EXPECT_EQ(tags::ReadTags(path), tags::TagTexts{})
        << "a tag without the five texts is no tag for the editor";

    ASSERT_TRUE(tags::SaveTags(path, {"첫 제목", "가수", "앨범", "2001", "메모"}));
    const std::string audio = tagtest::AfterId3v2(ReadFile(path));
    const tags::TagTexts second{"두 번째 제목", "", "앨범", "99", ""};
    ASSERT_TRUE(tags::SaveTags(path, second));
    EXPECT_EQ(tags::ReadTags(path), second) << "a two-digit year survives the older tag version";
    EXPECT_EQ(ProbeTag(path, "title"), "두 번째 제목");
    EXPECT_EQ(ProbeTag(path, "artist"), "");
    EXPECT_EQ(ProbeTag(path, "comment"), "");
    EXPECT_EQ(ProbeTag(path, "encoder"), encoder);
    const std::string now = tagtest::AfterId3v2(ReadFile(path));
    EXPECT_EQ(now.substr(0, now.size() - 128), audio.substr(0, audio.size() - 128));
}

TEST_F(TagStoreTest, ReadingFallsBackToTheId3v1RecordAndPrefersTheFullerTag) {
    ASSERT_TRUE(tags::WriteId3v1(path, {"짧은 제목", "가수", "", "1999", ""}));
    EXPECT_EQ(tags::ReadTags(path), (tags::TagTexts{"짧은 제목", "가수", "", "1999", ""}));
    ASSERT_TRUE(tags::SaveTags(path, {kLongTitle, "가수", "", "1999", ""}));
    ASSERT_TRUE(tags::WriteId3v1(path, {})); // the record emptied, the ID3v2 tag left as it is
    EXPECT_EQ(tags::ReadTags(path).title, kLongTitle);
    Id3v1TagFile record;
    ASSERT_EQ(record.Read(path), 0);
    EXPECT_EQ(record.Title(), "");
}

TEST_F(TagStoreTest, ALinkedFileIsChangedThroughTheLinkWithItsPermissionsKept) {
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    const fs::path link = dir / "link.mp3";
    fs::create_symlink(path, link);
    ASSERT_TRUE(tags::SaveTags(link.string(), {"제목", "", "", "", ""}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ProbeTag(path, "title"), "제목");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"link.mp3", "rec.mp3"}));
}

TEST_F(TagStoreTest, EveryFailureLeavesTheFileAsItWasAndNoCopyBehind) {
    ASSERT_TRUE(tags::WriteId3v1(path, {"old", "", "", "", ""}));
    const std::string before = ReadFile(path);
    const tags::TagTexts texts{kLongTitle, "", "", "", ""};
    EXPECT_FALSE(tags::SaveTags((dir / "missing.mp3").string(), texts));
    EXPECT_FALSE(tags::SaveTags(dir.str(), texts)) << "a folder is no file to tag";

    {
        // Room for the copy but not for the tag ahead of the audio: the disk fills while it is written.
        const quortest::FileSizeLimit full(before.size() + 300);
        EXPECT_FALSE(tags::SaveTags(path, texts)) << "a disk that fills up";
    }
    EXPECT_EQ(ReadFile(path), before);

    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.str().c_str(), 0777), 0);
    {
        tagtest::Unprivileged nobody;
        EXPECT_FALSE(tags::SaveTags(path, texts)) << "a read-only file in a writable folder";
    }
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0444));

    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(chmod(dir.str().c_str(), 0555), 0);
    {
        tagtest::Unprivileged nobody;
        EXPECT_FALSE(tags::SaveTags(path, texts)) << "no copy can be made beside the file";
    }
    ASSERT_EQ(chmod(dir.str().c_str(), 0700), 0);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"rec.mp3"});
}
