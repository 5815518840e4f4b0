// The argument string as the system writes it, and the list built from the same values.
#include "splitter/cut/CutCommand.h"

#include <gtest/gtest.h>

TEST(CutCommand, ArgumentStringForSixtyFiveToTwoHundredSeconds) {
    CutRequest r{65, 135, "/a/song.mp3", 44100, 128, "/b/Split_song.mp3"};
    EXPECT_EQ(ConverterArgumentString(r),
              "-ss 00:01:05 -t 00:02:15 -i \"/a/song.mp3\" -acodec libmp3lame -ac 1 "
              "-ar 44100 -ab 128K -y \"/b/Split_song.mp3\"");
}

TEST(CutCommand, MissingRatesPassZero) {
    CutRequest r{30, 0, "/in.mp3", 0, 0, "/out.mp3"};
    EXPECT_EQ(
        ConverterArgumentString(r),
        "-ss 00:00:30 -t 00:00:00 -i \"/in.mp3\" -acodec libmp3lame -ac 1 -ar 0 -ab 0K -y \"/out.mp3\"");
}

TEST(CutCommand, ListCarriesTheSameValuesWithEachPathWhole) {
    CutRequest r{65, 135, "/a b/\"q\" $(x) `y`.mp3", 22050, 64, "/c d/-o ut.mp3"};
    std::vector<std::string> expected{
        "-nostdin", "-nostats",   "-progress", "pipe:1", "-ss",
        "00:01:05", "-t",         "00:02:15",  "-i",     "file:/a b/\"q\" $(x) `y`.mp3",
        "-acodec",  "libmp3lame", "-ac",       "1",      "-ar",
        "22050",    "-ab",        "64K",       "-y",     "file:/c d/-o ut.mp3"};
    EXPECT_EQ(ConverterArguments(r), expected);
}
