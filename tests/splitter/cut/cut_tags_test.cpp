// A cut keeps the tags of its source: the converter copies the title, Korean and longer than an
// ID3v1 field, from the source's ID3v2 tag.
#include "recorder/tags/TagStore.h"
#include "splitter/cut/ConverterProgress.h"
#include "splitter/cut/CutCommand.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;

TEST(CutTags, TheCutCarriesTheSourcesFullTitleArtistAndComment) {
    quortest::TempDir dir{"qcuttag"};
    const std::string in = (dir / "녹음.mp3").string(), out = (dir / "Split_녹음.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(in, 4.0));
    const std::string title = "안녕하세요 세상 — a long English title of more than thirty characters";
    ASSERT_TRUE(tags::SaveTags(in, {title, "가수", "앨범", "2024", "코멘트"}));

    QStringList args;
    for (const std::string& a : ConverterArguments({1, 2, in, 44100, 128, out}))
        args << QString::fromStdString(a);
    platform::ProgramExit exit = ConverterRunner(60s).Run("ffmpeg", args);
    ASSERT_TRUE(exit.Succeeded()) << exit.output.toStdString();

    EXPECT_EQ(splittest::ProbeTag(out, "title"), title);
    EXPECT_EQ(splittest::ProbeTag(out, "artist"), "가수");
    EXPECT_EQ(splittest::ProbeTag(out, "album"), "앨범");
    EXPECT_EQ(splittest::ProbeTag(out, "comment"), "코멘트");
    const tags::TagTexts read = tags::ReadTags(out);
    EXPECT_EQ(read.title, title);
    EXPECT_EQ(read.year, "2024");
}
