// quor-record's parts that need no sound server: times, options, presets, names, levels and the
// live line; and the program's answers to bad options and to a missing server.
#include "recorder/settings/AutomaticFileName.h"
#include "tests/support/HiveEnv.h"
#include "tests/tools/quor-record/RecordTool.h"
#include "tools/quor-record/LevelWatch.h"
#include "tools/quor-record/RecordOptions.h"
#include "tools/quor-record/StatusLine.h"

#include <gtest/gtest.h>

#include <ctime>

using std::chrono::seconds;

TEST(RecordCommand, TimesAreHoursMinutesSecondsInOrder) {
    EXPECT_EQ(ParseRecordTime("90s"), seconds(90));
    EXPECT_EQ(ParseRecordTime("45m"), seconds(2700));
    EXPECT_EQ(ParseRecordTime("1h30m"), seconds(5400));
    EXPECT_EQ(ParseRecordTime("1h0m30s"), seconds(3630));
    EXPECT_EQ(ParseRecordTime("90"), seconds(90));
    for (const char* bad :
         {"", "0s", "0", "-5s", "5x", "m", "30m1h", "1h1h", "1.5h", "1h 30m", "8d", "169h", "9999999999s"})
        EXPECT_FALSE(ParseRecordTime(bad)) << bad;
}

TEST(RecordCommand, OptionsParseInBothFormsAndMistakesAreNamed) {
    std::string error;
    auto options = ParseRecordOptions({"--format=wav", "--quality", "3", "--duration", "1h",
                                       "--until-silence=2m", "--source", "mic", "out.wav"},
                                      &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->fileType, 1);
    EXPECT_EQ(options->quality, "3");
    EXPECT_EQ(options->duration, seconds(3600));
    EXPECT_EQ(options->untilSilence, seconds(120));
    EXPECT_EQ(options->source, "mic");
    EXPECT_EQ(options->file, "out.wav");
    options = ParseRecordOptions({"--format", "MP3", "--", "--odd-name.mp3"}, &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->fileType, 0);
    EXPECT_EQ(options->file, "--odd-name.mp3");
    // Without --format the name's extension chooses; any other name leaves the stored format.
    EXPECT_EQ(ParseRecordOptions({"/tmp/x.mp3/Show.WAV"}, &error)->fileType, 1);
    EXPECT_EQ(ParseRecordOptions({"show.mp3"}, &error)->fileType, 0);
    for (const char* other : {"show", "show.ogg", ".wav", "wav", "-", "./-"})
        EXPECT_FALSE(ParseRecordOptions({"--", other}, &error)->fileType) << other;
    EXPECT_EQ(ParseRecordOptions({"--", "-"}, &error)->file, "-") << "named so on purpose";
    EXPECT_EQ(ParseRecordOptions({"--app=Firefox"}, &error)->application, "Firefox");

    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        {{"--format", "ogg"}, "--format must be mp3 or wav, not \"ogg\""},
        {{"--duration"}, "--duration needs a value"},
        {{"--until-silence", "soon"}, "--until-silence takes a time such as 90s, 45m or 1h30m, not \"soon\""},
        {{"a.mp3", "b.mp3"}, "only one FILE may be given"},
        {{"--loud"}, "unknown option --loud"},
        {{"--source", "mic", "--app", "Firefox"}, "--source and --app cannot be given together"},
        {{"--format", "wav", "show.mp3"}, "--format wav does not match the file name \"show.mp3\""},
        {{"x.WAV", "--format=mp3"}, "--format mp3 does not match the file name \"x.WAV\""},
        {{"-"},
         "\"-\" is not supported: quor-record writes a file, not standard output (./- names a file \"-\")"},
    };
    for (const auto& [args, expected] : mistakes) {
        EXPECT_FALSE(ParseRecordOptions(args, &error)) << expected;
        EXPECT_EQ(error, expected);
    }
}

TEST(RecordCommand, QualityNamesAPresetOfTheFormatByIndexOrLabel) {
    EXPECT_EQ(ResolveQuality(0, "0"), 0);
    EXPECT_EQ(ResolveQuality(0, "7"), 7);
    EXPECT_FALSE(ResolveQuality(0, "8"));
    EXPECT_FALSE(ResolveQuality(1, "7")) << "WAV has seven presets";
    EXPECT_FALSE(ResolveQuality(0, "-1"));
    EXPECT_EQ(ResolveQuality(0, "192KBps, 44100Hz, STEREO - CD음질"), 2);
    EXPECT_EQ(ResolveQuality(0, "192kbps, 44100hz, stereo"), 2) << "without the note, any case";
    EXPECT_EQ(ResolveQuality(1, "22050Hz 16bit STEREO"), 3);
    EXPECT_FALSE(ResolveQuality(0, "22050Hz 16bit STEREO")) << "a WAV label is no MP3 preset";
    EXPECT_FALSE(ResolveQuality(2, "0")) << "OGG is not recorded";
}

TEST(RecordCommand, AutomaticNamesAreTheLocalTimeWithTheTypesExtension) {
    quortest::ScopedEnv zone("TZ", "KST-9");
    tzset();
    const std::time_t when = 1773448205; // 2026-03-14 00:30:05 UTC, 09:30:05 in Seoul
    EXPECT_EQ(AutomaticFileName(0, when), "20260314_093005.mp3");
    EXPECT_EQ(AutomaticFileName(1, when), "20260314_093005.wav");
    EXPECT_EQ(AutomaticFileName(2, when), "20260314_093005.ogg");
    EXPECT_EQ(AutomaticFileName(7, when), "20260314_093005.mp3");
}

TEST(RecordCommand, SilenceIsCountedFromTheLastLoudSampleAcrossBuffers) {
    LevelWatch levels(LevelWatch::ThresholdFor(-50.0));
    EXPECT_EQ(LevelWatch::ThresholdFor(-50.0), 104);
    std::vector<int16_t> samples(2048, 0);
    WAVEHDR header{};
    header.lpData = reinterpret_cast<char*>(samples.data());
    header.dwBytesRecorded = 4096;
    auto feed = [&] { LevelWatch::OnBuffer(&levels, &header); };

    samples[100 * 2 + 1] = -20000; // loud in the right channel of frame 100
    feed();
    EXPECT_EQ(levels.SilentFrames(), 1024u - 101);
    EXPECT_EQ(levels.Peak(), 20000);
    samples.assign(2048, 103); // just below -50 dBFS
    feed();
    feed();
    EXPECT_EQ(levels.SilentFrames(), 1024u - 101 + 2048);
    levels.ResetSilence();
    feed();
    EXPECT_EQ(levels.SilentFrames(), 1024u) << "counted again from the reset";
    samples.back() = 104;
    feed();
    EXPECT_EQ(levels.SilentFrames(), 0u) << "loud at the very end";
}

TEST(RecordCommand, LiveLineShowsTimeSizeAndLevel) {
    EXPECT_EQ(StatusLine(3723, 1536 * 1024, 32767), "01:02:03     1.5 MB  [####################]    0 dB");
    EXPECT_EQ(StatusLine(59, 2048, 0), "00:00:59     2.0 kB  [....................]    - dB");
    EXPECT_EQ(StatusLine(0, 0, 1036), "00:00:00     0.0 kB  [##########..........]  -30 dB");
}

TEST(RecordCommand, BadOptionsAndAMissingServerEndWithTheirCodesAndNoFile) {
    quortest::HiveEnv hive;
    quortest::TempDir dir;
    const std::string file = (dir / "x.mp3").string();
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--format", "flac", file},
                                                 {"--duration", "1y", file},
                                                 {"--bogus", file},
                                                 {file, file},
                                                 {"--quality", "99", file},
                                                 {"--format", "wav", "--quality", "320KBps, 44100Hz, STEREO"},
                                                 {"--format", "wav", file},
                                                 {"-"}}) {
        std::string out, err;
        EXPECT_EQ(quortest::RunRecordTool(args, &out, &err), 2) << args[0];
        EXPECT_TRUE(err.starts_with("quor-record: ")) << err;
        EXPECT_NE(err.find("usage: quor-record"), std::string::npos) << err;
        EXPECT_EQ(out, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "no file made";

    quortest::ScopedEnv nowhere("PULSE_SERVER", "unix:" + (dir / "no-server").string());
    std::string err;
    EXPECT_EQ(quortest::RunRecordTool({"--duration", "1s", file}, nullptr, &err), 3);
    EXPECT_EQ(err, "quor-record: cannot reach the sound server (PulseAudio or PipeWire).\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "no file made";
}
