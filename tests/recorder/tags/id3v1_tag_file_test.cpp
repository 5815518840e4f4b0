// ID3v1 records: reading, field cuts in code page 949, and never touching the audio.
#include "recorder/tags/Cp949.h"
#include "recorder/tags/Id3v1TagFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using quortest::ReadFile;
using quortest::WriteFile;

namespace {

std::string Record(const std::string& title, const std::string& artist, const std::string& album,
                   const std::string& year, const std::string& comment, const std::string& tail) {
    std::string r(128, '\0');
    r.replace(0, 3, "TAG");
    r.replace(3, title.size(), title);
    r.replace(33, artist.size(), artist);
    r.replace(63, album.size(), album);
    r.replace(93, year.size(), year);
    r.replace(97, comment.size(), comment);
    r.replace(125, 3, tail);
    return r;
}

std::string Audio(size_t bytes) {
    std::string a(bytes, '\0');
    std::mt19937 rng(7);
    for (auto& c : a)
        c = static_cast<char>(rng());
    return a;
}

} // namespace

TEST(Id3v1Tag, ReadsAFullRecordInCodePage949) {
    quortest::TempDir dir;
    auto path = dir / "song.mp3";
    std::string artist = tags::Utf8ToCp949("똠양꿍 밴드"); // 똠 exists only in CP949, not EUC-KR
    WriteFile(path, Audio(5000) + Record("Title", artist, "Album", "2024", "note", "\x01\x02\x03"));
    Id3v1TagFile tag;
    EXPECT_EQ(tag.Read(path), 0);
    EXPECT_EQ(tag.Title(), "Title");
    EXPECT_EQ(tag.Artist(), "똠양꿍 밴드");
    EXPECT_EQ(tag.Album(), "Album");
    EXPECT_EQ(tag.Year(), "2024");
    EXPECT_EQ(tag.Comment(), "note");
}

TEST(Id3v1Tag, SavingRewritesOnlyTheFieldsAndKeepsTheLastThreeBytes) {
    quortest::TempDir dir;
    auto path = dir / "song.mp3";
    std::string audio = Audio(3000);
    WriteFile(path, audio + Record("Old", "Old", "Old", "1999", "Old", "\x07\x08\x09"));
    {
        Id3v1TagFile tag;
        ASSERT_EQ(tag.Read(path), 0);
        EXPECT_EQ(tag.SetArtist("아티스트"), 0);
        EXPECT_EQ(tag.SetAlbum(""), 0);
        EXPECT_EQ(tag.SetTitle("A title that is much longer than thirty characters"), 0);
        EXPECT_EQ(tag.SetYear("20240"), 0);
        EXPECT_EQ(tag.SetComment("c"), 0);
    }
    std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), audio.size() + 128);
    EXPECT_EQ(bytes.substr(0, audio.size()), audio);
    std::string record = bytes.substr(audio.size());
    std::string artist = tags::Utf8ToCp949("아티스트");
    EXPECT_EQ(record, Record("A title that is much longer th", artist, "", "2024", "c", "\x07\x08\x09"));
}

TEST(Id3v1Tag, KoreanTextIsCutAtWholeCharacters) {
    quortest::TempDir dir;
    auto path = dir / "k.mp3";
    WriteFile(path, Audio(500));
    std::string twenty = "가나다라마바사아자차카타파하가나다라마바"; // 20 characters, 40 bytes in CP949
    std::string comment = "ab" + twenty;                             // 2 + 40 bytes: 28 fits 2 + 13 chars
    {
        Id3v1TagFile tag;
        tag.Read(path);
        ASSERT_EQ(tag.SetTitle(twenty), 0);
        ASSERT_EQ(tag.SetComment(comment), 0);
        ASSERT_EQ(tag.SetArtist("a" + twenty), 0); // 41 bytes: 'a' + 14 chars = 29, the 15th does not fit
    }
    Id3v1TagFile tag;
    ASSERT_EQ(tag.Read(path), 0);
    EXPECT_EQ(tag.Title(), tags::FirstUtf8Chars(twenty, 15));
    EXPECT_EQ(tag.Artist(), "a" + tags::FirstUtf8Chars(twenty, 14)) << "no half character at the end";
    EXPECT_EQ(tag.Comment(), "ab" + tags::FirstUtf8Chars(twenty, 13));
    std::string record = ReadFile(path).substr(500);
    EXPECT_EQ(record[33 + 29], '\0') << "the dropped character leaves a zero byte, not its lead byte";
}

TEST(Id3v1Tag, FileWithoutTagGetsAFreshRecordAfterIntactAudio) {
    quortest::TempDir dir;
    for (size_t size : {0u, 3u, 127u, 128u, 4000u}) {
        auto path = dir / ("plain" + std::to_string(size) + ".mp3");
        std::string audio = Audio(size);
        WriteFile(path, audio);
        {
            Id3v1TagFile tag;
            EXPECT_EQ(tag.Read(path), -1) << size;
            EXPECT_EQ(tag.Title(), "");
            EXPECT_EQ(tag.SetTitle("t"), 0);
        }
        std::string bytes = ReadFile(path);
        ASSERT_EQ(bytes.size(), size + 128) << size;
        EXPECT_EQ(bytes.substr(0, size), audio);
        EXPECT_EQ(bytes.substr(size), Record("t", "", "", "", "", std::string(3, '\0')));
    }
}

TEST(Id3v1Tag, EmptyTextsGiveAZeroFilledTag) {
    // What the dialog's cancel, or Clear then save, leaves behind.
    quortest::TempDir dir;
    auto path = dir / "c.mp3";
    WriteFile(path, Audio(200) + Record("T", "A", "B", "2000", "C", "\x05\x06\x07"));
    {
        Id3v1TagFile tag;
        tag.Read(path);
        for (auto set : {&Id3v1TagFile::SetArtist, &Id3v1TagFile::SetAlbum, &Id3v1TagFile::SetTitle,
                         &Id3v1TagFile::SetYear, &Id3v1TagFile::SetComment})
            EXPECT_EQ((tag.*set)(""), 0);
    }
    EXPECT_EQ(ReadFile(path).substr(200), Record("", "", "", "", "", "\x05\x06\x07"));
}

TEST(Id3v1Tag, MissingFileReadsNothingAndWritesNothing) {
    quortest::TempDir dir;
    auto path = dir / "nope.mp3";
    Id3v1TagFile tag;
    EXPECT_EQ(tag.Read(path), -1);
    EXPECT_EQ(tag.SetTitle("x"), -1);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Id3v1Tag, RandomAndTruncatedFilesNeverCorruptTheAudio) {
    quortest::TempDir dir;
    std::mt19937 rng(2026);
    std::string tagged = Audio(700) + Record("x", "y", "z", "1", "w", "abc");
    for (int round = 0; round < 300; ++round) {
        std::string content = round % 2 ? tagged.substr(0, rng() % tagged.size()) : Audio(rng() % 600);
        if (round % 7 == 0 && content.size() >= 3)
            content.replace(content.size() - std::min<size_t>(content.size(), 128), 3, "TAG");
        auto path = dir / "f.mp3";
        WriteFile(path, content);
        bool hadTag;
        {
            Id3v1TagFile tag;
            hadTag = tag.Read(path) == 0;
            tag.SetTitle(tag.Title() + "제목");
            tag.SetComment(tag.Comment());
        }
        std::string after = ReadFile(path);
        size_t audio = hadTag ? content.size() - 128 : content.size();
        ASSERT_EQ(after.size(), audio + 128) << round;
        ASSERT_EQ(after.substr(0, audio), content.substr(0, audio)) << round;
        ASSERT_EQ(after.substr(audio, 3), "TAG");
    }
}

TEST(Cp949, ConvertsBothWaysAndReplacesWhatItCannotHold) {
    EXPECT_EQ(tags::Utf8ToCp949("똠"), "\x8C\x63");
    EXPECT_EQ(tags::Cp949ToUtf8("\x8C\x63"), "똠");
    EXPECT_EQ(tags::Utf8ToCp949("a😀b"), "a?b");
    EXPECT_EQ(tags::Cp949ToUtf8("a\xFF"), "a\xEF\xBF\xBD");
    EXPECT_EQ(tags::CutCp949("a\xB0\xA1\xB3\xAA", 4), "a\xB0\xA1");
}
