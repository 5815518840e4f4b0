// The real ffmpeg through the converter's runner: a cut of the asked length (also past the first hour), its
// progress, names that a shell would misread, and every way a run can fail (a stall included)
// being told apart from success.
#include "platform/player/Mp3Decoder.h"
#include "splitter/cut/ConverterProgress.h"
#include "splitter/cut/CutCommand.h"
#include "splitter/cut/CutOutput.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

QStringList ToList(const std::vector<std::string>& args) {
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    return list;
}

int64_t DecodedMs(const std::string& path) {
    platform::Mp3Decoder decoder;
    return decoder.Open(path) ? decoder.LengthMs() : -1;
}

class ConverterRunTest : public ::testing::Test {
protected:
    platform::ProgramExit Cut(const CutRequest& r, std::chrono::milliseconds stallLimit = 60s) {
        return ConverterRunner(stallLimit).Run("ffmpeg", ToList(ConverterArguments(r)));
    }
    quortest::TempDir dir{"qcut"};
};

TEST_F(ConverterRunTest, CutsTheRangeAsAMonoMp3OfTheRangesLength) {
    const std::string in = (dir / "song.mp3").string(), out = (dir / "Split_song.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(in, 215.5));
    platform::ProgramExit exit = Cut({65, 135, in, 44100, 128, out});
    ASSERT_TRUE(exit.Succeeded()) << exit.output.toStdString();
    EXPECT_TRUE(CutOutputComplete(out, 135s));
    splittest::ProbeResult probe = splittest::Probe(out);
    EXPECT_EQ(probe.codec, "mp3");
    EXPECT_EQ(probe.channels, 1);
    EXPECT_EQ(probe.sampleRate, 44100);
    EXPECT_NEAR(probe.seconds, 135.0, 2 * 1152.0 / 44100) << "ffprobe counts the encoder delay";
    EXPECT_NEAR(DecodedMs(out), 135000, 1152.0 * 1000 / 44100) << "within one frame";
}

TEST_F(ConverterRunTest, NamesWithBlanksQuotesAndShellSyntaxAreJustNames) {
    std::filesystem::create_directory(dir / "my music");
    const std::string in = (dir / "my music" / "a \"b\" $(touch PWNED) `touch TICK` 노래.mp3").string();
    const std::string out = (dir / "my music" / "Split_a \"b\" $(touch PWNED2) 'c'.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(in, 6.0));
    ASSERT_TRUE(std::filesystem::exists(in));
    platform::ProgramExit exit = Cut({1, 3, in, 44100, 128, out});
    ASSERT_TRUE(exit.Succeeded()) << exit.output.toStdString();
    EXPECT_TRUE(CutOutputComplete(out, 3s));
    EXPECT_NEAR(DecodedMs(out), 3000, 1152.0 * 1000 / 44100);
    for (const char* trace : {"PWNED", "PWNED2", "TICK"}) {
        EXPECT_FALSE(std::filesystem::exists(dir / trace));
        EXPECT_FALSE(std::filesystem::exists(dir / "my music" / trace));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / trace));
    }
}

TEST_F(ConverterRunTest, OptionLikeOutputNameIsWrittenAsAFile) {
    const std::string in = (dir / "song.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(in, 4.0));
    std::filesystem::current_path(dir.path());
    platform::ProgramExit exit = Cut({0, 2, "song.mp3", 44100, 128, "-version.mp3"});
    ASSERT_TRUE(exit.Succeeded()) << exit.output.toStdString();
    EXPECT_TRUE(CutOutputComplete((dir / "-version.mp3").string(), 2s));
}

TEST_F(ConverterRunTest, JunkInputFailsWithTheConvertersExitCode) {
    quortest::WriteFile(dir / "junk.mp3", "not audio at all");
    const std::string out = (dir / "out.mp3").string();
    platform::ProgramExit exit = Cut({0, 2, (dir / "junk.mp3").string(), 44100, 128, out});
    EXPECT_TRUE(exit.started);
    EXPECT_FALSE(exit.Succeeded());
    EXPECT_NE(exit.exitCode, 0);
    EXPECT_FALSE(CutOutputComplete(out, 2s));
}

TEST_F(ConverterRunTest, ACutToTheEndNeedsWhatTheSourceHoldsAndNoLess) {
    // 3.0 s of a variable bit rate without a length header: a length guessed from its quiet
    // first frames runs long, so the range given may pass the real end.
    const std::string in = (dir / "vbr.mp3").string();
    ASSERT_TRUE(splittest::MakeVbrMp3WithoutHeader(in, 3.0));
    const std::chrono::milliseconds toTheEnd = ExpectedCut(in, 1, 4, true);
    EXPECT_NEAR(toTheEnd.count(), 2000, 60) << "what the source decodes to after 1 s";
    EXPECT_EQ(ExpectedCut(in, 1, 1, true), 1s) << "never more than the range";
    EXPECT_EQ(ExpectedCut(in, 1, 4, false), 4s) << "a range inside the file needs all of it";

    const std::string whole = (dir / "whole.mp3").string(), part = (dir / "part.mp3").string();
    ASSERT_TRUE(Cut({1, 4, in, 44100, 0, whole}).Succeeded());
    EXPECT_TRUE(CutOutputComplete(whole, toTheEnd));
    EXPECT_FALSE(CutOutputComplete(whole, 4s)) << "judged by the range alone it would be refused";
    ASSERT_TRUE(Cut({1, 1, in, 44100, 0, part}).Succeeded());
    EXPECT_FALSE(CutOutputComplete(part, toTheEnd)) << "a cut that came out short is still refused";

    const std::string past = (dir / "past.mp3").string();
    platform::ProgramExit exit = Cut({10, 5, in, 44100, 0, past});
    EXPECT_TRUE(exit.Succeeded()) << "seeking past the end: ffmpeg says all is well";
    EXPECT_FALSE(CutOutputComplete(past, ExpectedCut(in, 10, 5, true))) << "but there is nothing to cut";
    EXPECT_FALSE(CutOutputComplete(past, 5s)) << "and the file holds no five seconds";
}

TEST_F(ConverterRunTest, ConverterWithoutProgressIsEndedAtTheStallLimit) {
    const std::string fifo = (dir / "never.mp3").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto began = std::chrono::steady_clock::now();
    platform::ProgramExit exit = Cut({0, 1, fifo, 44100, 128, (dir / "out.mp3").string()}, 1500ms);
    auto took = std::chrono::steady_clock::now() - began;
    EXPECT_TRUE(exit.started);
    EXPECT_TRUE(exit.timedOut);
    EXPECT_FALSE(exit.cancelled);
    EXPECT_FALSE(exit.Succeeded());
    EXPECT_GE(took, 1400ms) << "timers may fire a little early";
    EXPECT_LT(took, 10s);
}

TEST_F(ConverterRunTest, NinetyToNinetyFiveMinutesOfThreeHoursWithItsProgress) {
    const std::string in = (dir / "long.mp3").string(), out = (dir / "Split_long.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(in, 3 * 3600, 440, 8000, 8, 1));
    const CutRequest request{90 * 60, 5 * 60, in, 8000, 8, out};
    EXPECT_NE(ConverterArgumentString(request).find("-ss 01:30:00 -t 00:05:00 -i"), std::string::npos);
    std::vector<std::chrono::milliseconds> progress;
    platform::ProgramRunner run =
        ConverterRunner(60s, [&](std::chrono::milliseconds written) { progress.push_back(written); });
    platform::ProgramExit exit = run.Run("ffmpeg", ToList(ConverterArguments(request)));
    ASSERT_TRUE(exit.Succeeded()) << exit.output.toStdString();
    EXPECT_TRUE(CutOutputComplete(out, 5min));
    EXPECT_NEAR(DecodedMs(out), 300000, 2 * 576 * 1000 / 8000);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GE(progress.back(), 299s) << "the range's own time, from 0, not the file's";
    EXPECT_LE(progress.back(), 301s);
}

TEST_F(ConverterRunTest, MissingProgramDoesNotStart) {
    platform::ProgramExit exit = ConverterRunner(5s).Run((dir / "screenshot").c_str(), {"-version"});
    EXPECT_FALSE(exit.started);
    EXPECT_FALSE(exit.Succeeded());
}

} // namespace
