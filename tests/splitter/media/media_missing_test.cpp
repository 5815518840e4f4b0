// Without the library every query fails and the record keeps its start values.
#include "splitter/media/MediaQuery.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(MediaQueryWithoutLibrary, EveryQueryFailsAndLeavesTheRecord) {
    quortest::TempDir dir("qmedia");
    const std::string path = (dir / "song.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(path, 2.0));
    MediaProps props;
    props.audioBitRate = "kept";
    const MediaProps before = props;
    EXPECT_FALSE(QueryMedia(path, props));
    EXPECT_FALSE(QueryMedia(path, props)) << "the next query tries to load again and fails again";
    EXPECT_EQ(props, before);
}
