// quor-record against the private sound server playing a known tone: lengths, formats and the
// tone in what it writes, and how each way of ending leaves the file and the exit code.
#include "platform/registry/CRegistry.h"
#include "platform/registry/ProgramKeys.h"
#include "recorder/settings/AutomaticFileName.h"
#include "recorder/settings/RecorderSettings.h"
#include "tests/encoder/Mp3Probe.h"
#include "tests/support/Eventually.h"
#include "tests/support/HiveEnv.h"
#include "tests/support/pulse/ApplicationPlayer.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/Signal.h"
#include "tests/support/pulse/SignalPlayer.h"
#include "tests/tools/quor-record/RecordTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <memory>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// The encoder's delay and end padding, at most two MPEG frames of 1152 samples.
constexpr double kEncoderSeconds = 2 * 1152.0 / 44100;

uint32_t LE32(const std::string& s, size_t at) {
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}
uint16_t LE16(const std::string& s, size_t at) {
    uint16_t v;
    std::memcpy(&v, s.data() + at, 2);
    return v;
}

struct Wav {
    uint32_t rate = 0;
    double seconds = 0;
    std::vector<double> left; // the first channel
};

// Checks the header of a finished 16-bit stereo WAV file and returns its audio.
Wav ReadWav(const fs::path& file) {
    Wav wav;
    const std::string bytes = quortest::ReadFile(file);
    EXPECT_GE(bytes.size(), 46u);
    if (bytes.size() < 46)
        return wav;
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(LE32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LE32(bytes, 16), 18u);
    EXPECT_EQ(LE16(bytes, 20), 1) << "PCM";
    EXPECT_EQ(LE16(bytes, 22), 2) << "stereo";
    wav.rate = LE32(bytes, 24);
    EXPECT_EQ(LE32(bytes, 28), wav.rate * 4) << "bytes per second";
    EXPECT_EQ(LE16(bytes, 32), 4) << "block align";
    EXPECT_EQ(LE16(bytes, 34), 16) << "bits";
    EXPECT_EQ(bytes.substr(38, 4), "data");
    const uint32_t data = LE32(bytes, 42);
    EXPECT_EQ(data, bytes.size() - 46);
    wav.seconds = data / (wav.rate * 4.0);
    wav.left = quortest::Channel(reinterpret_cast<const int16_t*>(bytes.data() + 46), data / 4, 2, 0);
    return wav;
}

std::vector<double> Slice(const std::vector<double>& x, double rate, double from, double to) {
    const size_t a = std::min(x.size(), static_cast<size_t>(from * rate));
    const size_t b = std::min(x.size(), static_cast<size_t>(to * rate));
    return {x.begin() + static_cast<long>(a), x.begin() + static_cast<long>(b)};
}

class QuorRecord : public ::testing::Test {
protected:
    void SetUp() override { quortest::SharedPulseServer().WakeSink(); }
    quortest::HiveEnv hive; // default settings: MP3 at 320 kbps, 44100 Hz
    quortest::TempDir dir{"quorrec"};
};

} // namespace

TEST_F(QuorRecord, DurationAndFormatOptionsGiveFilesOfThatLengthFormatAndTone) {
    quortest::SignalPlayer tone(1000.0);

    const fs::path mp3 = dir / "three.mp3";
    std::string err;
    ASSERT_EQ(quortest::RunRecordTool({"--duration", "3s", mp3.string()}, nullptr, &err), 0) << err;
    EXPECT_EQ(err, "") << "nothing but errors when not on a terminal";
    const auto decoded = quortest::DecodeMp3(mp3);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.rate, 44100);
    EXPECT_EQ(decoded.bitrates, std::set<int>{320}) << "the stored preset 0";
    const double seconds = double(decoded.frames) / decoded.rate;
    EXPECT_GE(seconds, 3.0);
    EXPECT_LE(seconds, 3.0 + kEncoderSeconds);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 0, decoded.rate, {250, 500, 1000, 2000, 4000}), 1000);

    // No --format: the name's extension asks for WAV, and the quality is one of WAV's.
    const fs::path wavFile = dir / "three.wav";
    ASSERT_EQ(
        quortest::RunRecordTool({"--quality", "0", "--duration", "3s", wavFile.string()}, nullptr, &err), 0)
        << err;
    Wav wav = ReadWav(wavFile);
    EXPECT_EQ(wav.rate, 44100u);
    EXPECT_EQ(wav.seconds, 3.0) << "to the sample, however late the program woke";
    EXPECT_NEAR(quortest::ZeroCrossingFrequency(Slice(wav.left, wav.rate, 0.2, 3.0), wav.rate), 1000.0, 5.0);
}

TEST_F(QuorRecord, UntilSilenceStopsAfterTheToneEndsKeepingTheTone) {
    const fs::path file = dir / "show.wav";
    auto tone = std::make_unique<quortest::SignalPlayer>(440.0);
    quortest::RecordTool tool({"--format", "wav", "--quality", "0", "--until-silence", "2s", file.string()});
    // Three seconds of tone in the file, then silence.
    ASSERT_TRUE(quortest::WaitForFileSize(file, 46 + 3 * 176400)) << "the recording does not grow";
    tone.reset();
    ASSERT_EQ(tool.Wait(), 0) << tool.Err();
    const Wav wav = ReadWav(file);
    EXPECT_GE(wav.seconds, 4.5);
    EXPECT_LE(wav.seconds, 6.0);
    EXPECT_NEAR(quortest::ZeroCrossingFrequency(Slice(wav.left, wav.rate, 0.2, 2.8), wav.rate), 440.0, 3.0);
    EXPECT_LT(quortest::Rms(Slice(wav.left, wav.rate, wav.seconds - 1.0, wav.seconds)), 10.0)
        << "ends in silence";
}

TEST_F(QuorRecord, SigintFinishesAnAutomaticallyNamedFileWithoutReplacingOne) {
    quortest::SignalPlayer tone(1000.0);
    RecorderSettings& settings = TheRecorderSettings();
    settings.Load();
    settings.savePath = (dir / "saved").string();
    settings.fileType = 2; // the old OGG type: recorded as MP3 at its first preset, as the window does
    settings.Save();
    // Files under every name the next seconds could give: none may be replaced.
    fs::create_directories(dir / "saved");
    std::set<fs::path> taken;
    for (std::time_t t = std::time(nullptr), k = 0; k < 4; ++k) {
        taken.insert(dir / "saved" / AutomaticFileName(0, t + k));
        quortest::WriteFile(*taken.rbegin(), "keep");
    }

    quortest::RecordTool tool({});
    // 320 kbps: two seconds are 80000 bytes.
    fs::path made;
    ASSERT_TRUE(quortest::Eventually(
        [&] {
            for (const auto& entry : fs::directory_iterator(dir / "saved"))
                if (!taken.contains(entry.path()))
                    made = entry.path();
            return !made.empty();
        },
        std::chrono::seconds(20)))
        << "no recording appeared in the save folder";
    ASSERT_TRUE(quortest::WaitForFileSize(made, 2 * 40000));
    ASSERT_EQ(kill(tool.Pid(), SIGINT), 0);
    ASSERT_EQ(tool.Wait(), 0) << tool.Err();

    EXPECT_EQ(made.extension(), ".mp3");
    EXPECT_TRUE(made.filename().string().starts_with(AutomaticFileName(0, std::time(nullptr)).substr(0, 8)));
    for (const fs::path& kept : taken)
        EXPECT_EQ(quortest::ReadFile(kept), "keep") << kept;
    const auto decoded = quortest::DecodeMp3(made);
    ASSERT_TRUE(decoded.ok) << "the flushed file decodes";
    EXPECT_EQ(decoded.bitrates, std::set<int>{320});
    EXPECT_GE(double(decoded.frames) / decoded.rate, 1.9);
    EXPECT_LT(double(decoded.frames) / decoded.rate, 4.0);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 0, decoded.rate, {250, 500, 1000, 2000, 4000}), 1000);
}

TEST_F(QuorRecord, AFileSizeLimitEndsWithItsCodeAFinishedFileAndOneSentenceSayingSo) {
    quortest::SignalPlayer tone(1000.0);
    const fs::path file = dir / "full.wav";
    // Room for about half a second of CD-quality sound.
    quortest::RecordTool tool({"--format", "wav", "--quality", "0", file.string()}, 100000);
    ASSERT_EQ(tool.Wait(), 4) << tool.Err();
    EXPECT_EQ(tool.Err(),
              "quor-record: the file reached the file-size limit of 100000 bytes (ulimit -f); the "
              "recording stopped and " +
                  file.string() + " holds what was written.\n")
        << "not a full disk, and nothing else printed";
    const Wav wav = ReadWav(file); // sizes completed
    EXPECT_GT(wav.seconds, 0.3);
    EXPECT_NEAR(quortest::ZeroCrossingFrequency(Slice(wav.left, wav.rate, 0.1, wav.seconds), wav.rate),
                1000.0, 5.0);
}

TEST_F(QuorRecord, SourcesAreListedAndAnUnknownOneEndsWithItsCodeAndNoFile) {
    std::string listing, out, err;
    ASSERT_EQ(quortest::RunRecordTool({"--list-sources"}, &listing, &err), 0) << err;
    const size_t defaultLine = listing.find("* speakers.monitor\t");
    ASSERT_NE(defaultLine, std::string::npos) << listing;

    const fs::path file = dir / "none.mp3";
    EXPECT_EQ(quortest::RunRecordTool({"--source", "no-such-source", file.string()}, &out, &err), 5);
    EXPECT_EQ(err, "quor-record: there is no sound source named \"no-such-source\" "
                   "(see quor-record --list-sources).\n");
    EXPECT_FALSE(fs::exists(file));

    // By the description, ignoring case, as --list-sources shows it.
    std::string description = listing.substr(defaultLine + 19);
    std::transform(description.begin(), description.end(), description.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const fs::path named = dir / "named.wav";
    ASSERT_EQ(quortest::RunRecordTool({"--source", description.substr(0, description.find('\n')), "--format",
                                       "wav", "--duration", "1s", named.string()},
                                      nullptr, &err),
              0)
        << err;
    EXPECT_TRUE(fs::exists(named));
}

TEST_F(QuorRecord, OneApplicationIsRecordedAloneAndOneNotPlayingEndsWithItsCode) {
    quortest::ApplicationPlayer music("Music Player"), chat("Chat");
    ASSERT_GE(music.StartStream(440), 0);
    ASSERT_GE(chat.StartStream(660), 0);
    quortest::SharedPulseServer().WakeSink(); // the players' streams render at once
    std::string listing, out, err;
    ASSERT_TRUE(quortest::Eventually([&] {
        return quortest::RunRecordTool({"--list-sources"}, &listing, &err) == 0 &&
               listing.find("  [application] Chat\t") != std::string::npos;
    })) << listing
        << err;
    EXPECT_LT(listing.find("* speakers.monitor\t"), listing.find("  [application] Music Player\t"))
        << "the applications after the sources";

    const fs::path file = dir / "music.wav";
    ASSERT_EQ(
        quortest::RunRecordTool({"--app", "music player", "--duration", "3s", file.string()}, nullptr, &err),
        0)
        << err;
    const Wav wav = ReadWav(file);
    EXPECT_EQ(wav.seconds, 3.0);
    const auto heard = Slice(wav.left, wav.rate, 0.5, 3.0);
    EXPECT_GT(quortest::ToneShare(heard, wav.rate, 440), 0.8);
    EXPECT_LT(quortest::ToneShare(heard, wav.rate, 660), 1e-4 * quortest::ToneShare(heard, wav.rate, 440))
        << "the other application 40 dB down at least";

    const fs::path none = dir / "none.wav";
    EXPECT_EQ(quortest::RunRecordTool({"--app", "Radio", none.string()}, &out, &err), 5);
    EXPECT_EQ(err,
              "quor-record: no application named \"Radio\" is playing (see quor-record --list-sources).\n");
    EXPECT_FALSE(fs::exists(none));
}

TEST_F(QuorRecord, ASaveFolderThatNamesNoPlaceOrAPipeAsSettingsFileRecordsIntoTheMusicFolder) {
    quortest::SignalPlayer tone(1000.0);
    const fs::path started = dir / "started-here";
    fs::create_directories(started);
    struct InFolder {
        fs::path back = fs::current_path();
        explicit InFolder(const fs::path& folder) { fs::current_path(folder); }
        ~InFolder() { fs::current_path(back); }
    } inFolder(started);
    // Empty, relative, a number, and a pipe that would block every reader of the settings.
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        if (round < 3) {
            CRegistry reg;
            ASSERT_TRUE(reg.Open(platform::HKEY_CURRENT_USER, kSettingsKey, 1));
            ASSERT_TRUE(round == 2 ? reg.WriteDWORD("Savepath", 5)
                                   : reg.WriteString("Savepath", round ? "Music" : ""));
        } else {
            fs::remove(hive.HivePath());
            ASSERT_EQ(mkfifo(hive.HivePath().c_str(), 0600), 0);
        }
        std::string err;
        EXPECT_EQ(quortest::RunRecordTool({"--duration", "1s"}, nullptr, &err), 0) << err;
        EXPECT_EQ(err.empty(), round < 3) << err;
        EXPECT_TRUE(err.empty() ||
                    err.starts_with("quor-record: the settings file " + hive.HivePath().string() +
                                    " could not be read; it was moved to "))
            << err;
        EXPECT_TRUE(fs::is_empty(started)) << "nothing where the program was started";
        const fs::path music = hive.Home() / "Music";
        EXPECT_EQ(std::distance(fs::directory_iterator(music), {}), 1);
        fs::remove_all(music);
    }
}

TEST_F(QuorRecord, ARenamedFileAndASuspendedOutputDoNotEndTheRecording) {
    quortest::SignalPlayer tone(1000.0);
    const fs::path first = dir / "take.wav";
    const fs::path renamed = dir / "kept.wav";
    quortest::RecordTool tool({first.string()});
    ASSERT_TRUE(quortest::WaitForFileSize(first, 46 + 176400));
    fs::rename(first, renamed);
    ASSERT_TRUE(quortest::WaitForFileSize(renamed, 46 + 2 * 176400)) << "written on";
    ASSERT_EQ(kill(tool.Pid(), SIGTERM), 0);
    ASSERT_EQ(tool.Wait(), 0) << tool.Err();
    EXPECT_EQ(tool.Err(),
              "quor-record: the file was renamed or moved while recording; the whole recording is in " +
                  renamed.string() + ".\n");
    EXPECT_GT(ReadWav(renamed).seconds, 1.9);

    // An output put to sleep sends nothing (on PulseAudio; PipeWire wakes it for the capture), yet
    // the server runs: the recording has its set length.
    const quortest::PulseServer& server = quortest::SharedPulseServer();
    server.Pactl("suspend-sink speakers 1");
    const fs::path quiet = dir / "quiet.wav";
    std::string err;
    EXPECT_EQ(quortest::RunRecordTool({"--duration", "2s", quiet.string()}, nullptr, &err), 0) << err;
    server.Pactl("suspend-sink speakers 0");
    EXPECT_EQ(err, "");
    EXPECT_EQ(ReadWav(quiet).seconds, 2.0);
}
