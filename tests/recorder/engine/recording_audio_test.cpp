// Recording control against the private PulseAudio server playing a known sine: MP3 and WAV
// recordings at several presets, pause, the start and stop rules, the tag editor hook and the
// failures that end a recording.
#include "recorder/engine/Recorder.h"
#include "recorder/settings/RecorderSettings.h"
#include "tests/encoder/Mp3Probe.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"
#include "tests/support/pulse/CountingTonePlayer.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/Signal.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>

using namespace std::chrono_literals;

namespace {

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As in the program, the monitor runs all the time; once it delivers, the sink renders
        // with short blocks and a recording starts at once (an idle null sink starts late).
        // PipeWire may for a moment have no monitor source between tests (the window retries
        // each second); wait for it as the window would.
        MMRESULT opened = MMSYSERR_NOERROR;
        quortest::Eventually([&] { return (opened = recorder.OpenMonitor()) != MMSYSERR_BADDEVICEID; });
        ASSERT_EQ(opened, MMSYSERR_NOERROR);
        recorder.SetMonitorCallback(
            &monitorCalls, [](void* calls, WAVEHDR*) { return ++*static_cast<std::atomic<int>*>(calls), 1; });
        ASSERT_EQ(recorder.StartMonitor(), MMSYSERR_NOERROR);
        quortest::SharedPulseServer().WakeSink();
        quortest::Eventually([&] { return monitorCalls > 0; }, 3s);
        settings = RecorderSettings{};
        settings.savePath = dir.str();
        settings.bitsPerSample = 16;
        settings.channels = 2;
    }
    void Use(int fileType, int fileSetting, const std::string& name) {
        settings.fileType = fileType;
        settings.fileSetting = fileSetting;
        settings.ApplyPreset();
        settings.fileName = name;
    }
    std::filesystem::path PathOf(const std::string& name) { return dir / name; }

    quortest::TempDir dir;
    RecorderSettings& settings = TheRecorderSettings();
    std::atomic<int> monitorCalls{0};
    Recorder recorder{1024};
};

uint32_t LE32(const std::string& s, size_t at) {
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

// Largest jump between neighbouring samples of a sine, relative to its peak: a gap or a repeat
// in the recording shows as a jump far above what the sine itself makes.
double WorstStep(const std::vector<double>& x) {
    double peak = 1, worst = 0;
    for (double v : x)
        peak = std::max(peak, std::abs(v));
    for (size_t i = 1; i < x.size(); ++i)
        worst = std::max(worst, std::abs(x[i] - x[i - 1]));
    return worst / peak;
}

// The left channel of a 16-bit stereo WAV file, without its first 100 ms, where the sink may still
// be waking.
std::vector<double> LeftAfterWaking(const std::string& wav, int rate) {
    const size_t skip = rate / 10;
    const size_t frames = wav.size() > 46 ? (wav.size() - 46) / 4 : 0;
    if (frames <= skip)
        return {};
    auto* pcm = reinterpret_cast<const int16_t*>(wav.data() + 46) + 2 * skip;
    return quortest::Channel(pcm, frames - skip, 2, 0);
}

// A jump in the 440 Hz sine half again as large as its own steepest step.
bool HasBreak(const std::string& wav, int rate) {
    return WorstStep(LeftAfterWaking(wav, rate)) >= 2 * M_PI * 440.0 / rate * 1.5;
}

} // namespace

TEST_F(RecordingTest, Mp3RecordingsHaveThePresetFormatAndTheSignal) {
    quortest::SignalPlayer sine(1000.0);
    for (int preset : {3, 7}) { // 128 kbps at 44100 Hz; 56 kbps at 24000 Hz
        std::string name = "preset" + std::to_string(preset) + ".mp3";
        Use(0, preset, name);
        ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
        EXPECT_TRUE(recorder.IsRecording());
        std::this_thread::sleep_for(5s); // a recording of 5 s
        ASSERT_TRUE(recorder.StopRecord());

        auto mp3 = quortest::DecodeMp3(PathOf(name));
        ASSERT_TRUE(mp3.ok) << name;
        EXPECT_EQ(mp3.rate, settings.sampleRate);
        EXPECT_EQ(mp3.channels, 2);
        EXPECT_EQ(mp3.bitrates, std::set<int>{settings.bitRate});
        EXPECT_TRUE(mp3.allCbr);
        EXPECT_NEAR(double(mp3.frames) / mp3.rate, 5.0, 0.5);
        EXPECT_EQ(quortest::DominantOf(mp3.pcm, 2, 0, mp3.rate, {250, 500, 1000, 2000, 4000}), 1000);
    }
}

TEST_F(RecordingTest, WavRecordingsHoldWholeFramesOfAnUnbrokenSine) {
    // The sine is the player's left channel. A recording made while the player ran dry (on a busy
    // machine the server then plays silence for it) is made again: that break is not the capture's.
    // So is one with a break the player was not told of: a starved PipeWire graph skips a cycle
    // silently. A fault of the capture shows in every recording; a busy machine not three in a row.
    quortest::CountingTonePlayer sine({{"speakers", 440.0}});
    ASSERT_TRUE(sine.Playing());
    for (int preset : {0, 3}) { // 44100 Hz; 22050 Hz
        std::string bytes;
        for (int attempt = 1;; ++attempt) {
            const std::string name =
                "preset" + std::to_string(preset) + "-" + std::to_string(attempt) + ".wav";
            Use(1, preset, name);
            const int underflows = sine.Underflows();
            ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
            const uint64_t fiveSeconds = uint64_t(settings.sampleRate) * 4 * 5;
            ASSERT_TRUE(quortest::Eventually([&] { return recorder.RecordedBytes() >= fiveSeconds; }));
            ASSERT_TRUE(recorder.StopRecord());
            bytes = quortest::ReadFile(PathOf(name));
            if ((sine.Underflows() == underflows && !HasBreak(bytes, settings.sampleRate)) || attempt == 3)
                break;
        }
        ASSERT_GT(bytes.size(), 46u);
        uint32_t data = LE32(bytes, 42);
        EXPECT_EQ(LE32(bytes, 4), bytes.size() - 8);
        EXPECT_EQ(LE32(bytes, 16), 18u);
        EXPECT_EQ(LE32(bytes, 24), uint32_t(settings.sampleRate));
        EXPECT_EQ(data, bytes.size() - 46);
        EXPECT_EQ(data % 4, 0u) << "whole frames only";
        EXPECT_NEAR(data / (settings.sampleRate * 4.0), 5.0, 0.5);
        auto left = LeftAfterWaking(bytes, settings.sampleRate);
        EXPECT_NEAR(quortest::ZeroCrossingFrequency(left, settings.sampleRate), 440.0, 3.0);
        EXPECT_FALSE(HasBreak(bytes, settings.sampleRate))
            << "a gap or repeat in the recorded data: a step of " << WorstStep(left) << " of the peak";
    }
}

TEST_F(RecordingTest, PausedStretchIsLeftOut) {
    quortest::SignalPlayer sine(1000.0);
    Use(1, 1, "paused.wav");
    // 2 s recorded, 2 s paused, 2 s recorded: the pauses are the recording's timeline.
    ASSERT_TRUE(recorder.StartRecord());
    std::this_thread::sleep_for(2s); // 2 s recorded
    ASSERT_TRUE(recorder.PauseRecord());
    EXPECT_TRUE(recorder.IsPaused());
    std::this_thread::sleep_for(2s); // 2 s paused, to be left out
    ASSERT_TRUE(recorder.ResumeRecord());
    EXPECT_FALSE(recorder.IsPaused());
    std::this_thread::sleep_for(2s); // 2 s more recorded
    ASSERT_TRUE(recorder.StopRecord());
    std::string bytes = quortest::ReadFile(PathOf("paused.wav"));
    double seconds = LE32(bytes, 42) / (32000.0 * 4);
    EXPECT_NEAR(seconds, 4.0, 0.4);
}

TEST_F(RecordingTest, ASuspendedOutputIsRecordedAsSilenceAndTheRecordingGoesOn) {
    quortest::SignalPlayer sine(1000.0);
    const quortest::PulseServer& server = quortest::SharedPulseServer();
    Use(1, 0, "suspended.wav");
    ASSERT_TRUE(recorder.StartRecord());
    ASSERT_TRUE(quortest::Eventually([&] { return recorder.RecordedBytes() >= 176400; }));
    server.Pactl("suspend-sink speakers 1");
    const uint64_t atSuspend = recorder.RecordedBytes();
    std::this_thread::sleep_for(2s); // a pause on purpose: the output sleeps, the recording goes on
    EXPECT_GT(recorder.RecordedBytes(), atSuspend + 7 * 176400 / 4) << "the recording went on";
    server.Pactl("suspend-sink speakers 0");
    const uint64_t atResume = recorder.RecordedBytes();
    ASSERT_TRUE(quortest::Eventually([&] { return recorder.RecordedBytes() >= atResume + 176400; }));
    EXPECT_EQ(recorder.EndedByItself(), Recorder::RecordFailure::None);
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_EQ(recorder.LastFailure(), Recorder::RecordFailure::None);

    const std::string bytes = quortest::ReadFile(PathOf("suspended.wav"));
    ASSERT_GT(bytes.size(), 46 + atResume);
    const auto left =
        quortest::Channel(reinterpret_cast<const int16_t*>(bytes.data() + 46), LE32(bytes, 42) / 4, 2, 0);
    auto second = [&](uint64_t fromByte) {
        return std::vector<double>(left.begin() + long(fromByte / 4),
                                   left.begin() + long(fromByte / 4 + 39690));
    };
    EXPECT_NEAR(quortest::ZeroCrossingFrequency(second(4410 * 4), 44100), 1000.0, 5.0) << "the tone before";
    EXPECT_LT(quortest::Rms(second(atSuspend + 44100)), 10.0) << "silence while the output slept";
    // PipeWire (0.3.65) keeps a resumed null output silent for every client, parecord too.
    if (!server.IsPipeWire()) {
        EXPECT_NEAR(quortest::ZeroCrossingFrequency(second(bytes.size() - 46 - 176400), 44100), 1000.0, 5.0);
    }
}

TEST_F(RecordingTest, StartAndStopRules) {
    Use(1, 0, "rules.wav");
    EXPECT_FALSE(recorder.StopRecord()) << "stop while idle";
    EXPECT_FALSE(recorder.PauseRecord()) << "pause while idle";
    ASSERT_TRUE(recorder.StartRecord());
    Use(0, 0, "other.mp3");
    EXPECT_FALSE(recorder.StartRecord()) << "a second start changes nothing";
    EXPECT_FALSE(std::filesystem::exists(PathOf("other.mp3")));
    EXPECT_TRUE(recorder.StopRecord());
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_TRUE(recorder.IsPaused()) << "idle after a stop reads paused";
    EXPECT_TRUE(std::filesystem::exists(PathOf("rules.wav")));

    Use(2, 0, "nothing.ogg");
    EXPECT_FALSE(recorder.StartRecord()) << "OGG cannot be recorded: no recording is pretended";
    EXPECT_EQ(recorder.LastFailure(), Recorder::RecordFailure::NoFormat);
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_FALSE(std::filesystem::exists(PathOf("nothing.ogg")));
}

TEST_F(RecordingTest, TagEditorOpensAfterAnMp3StopOnlyWhenAsked) {
    std::vector<std::string> opened;
    recorder.SetTagEditor([&](const std::string& path) { opened.push_back(path); });
    settings.mp3Id3v1 = 1;
    Use(0, 7, "tagged.mp3");
    ASSERT_TRUE(recorder.StartRecord());
    ASSERT_TRUE(quortest::Eventually([&] { return recorder.RecordedBytes() > 0; }));
    ASSERT_TRUE(recorder.StopRecord());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], dir.str() + "/tagged.mp3");

    Use(1, 6, "plain.wav");
    ASSERT_TRUE(recorder.StartRecord());
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_EQ(opened.size(), 1u) << "a WAV stop never opens it";

    settings.mp3Id3v1 = 0;
    Use(0, 7, "untagged.mp3");
    ASSERT_TRUE(recorder.StartRecord());
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(RecordingTest, StartFailsCleanlyWhenTheFileCannotBeMade) {
    settings.savePath = dir.str() + "/no/such/folder";
    for (int type : {0, 1}) {
        Use(type, 0, type == 0 ? "x.mp3" : "x.wav");
        settings.savePath = dir.str() + "/no/such/folder";
        EXPECT_FALSE(recorder.StartRecord());
        EXPECT_EQ(recorder.LastFailure(), Recorder::RecordFailure::FileNotCreated);
        EXPECT_FALSE(recorder.IsRecording()) << "nothing left running";
        EXPECT_FALSE(recorder.StopRecord());
    }
    // And the next start works.
    settings.savePath = dir.str();
    Use(1, 0, "after.wav");
    EXPECT_TRUE(recorder.StartRecord());
    EXPECT_TRUE(recorder.StopRecord());
}

TEST_F(RecordingTest, FullDiskEndsTheRecordingAndKeepsAValidFile) {
    quortest::SignalPlayer sine(1000.0);
    for (int type : {1, 0}) {
        Use(type, 0, type == 1 ? "full.wav" : "full.mp3");
        const quortest::FileSizeLimit full(200000);
        ASSERT_TRUE(recorder.StartRecord());
        // 200 kB: about 1.1 s of CD-quality WAV, 5 s of 320 kbps MP3.
        quortest::Eventually([&] { return recorder.EndedByItself() != Recorder::RecordFailure::None; });
        EXPECT_EQ(recorder.EndedByItself(), Recorder::RecordFailure::DiskFull);
        EXPECT_TRUE(recorder.StopRecord());
        EXPECT_EQ(recorder.LastFailure(), Recorder::RecordFailure::FileSizeLimit)
            << "a file-size limit is told as what it is";
    }

    std::string wav = quortest::ReadFile(PathOf("full.wav"));
    ASSERT_GE(wav.size(), 46u);
    EXPECT_LE(wav.size(), 200000u);
    EXPECT_EQ(LE32(wav, 4), wav.size() - 8) << "sizes completed";
    EXPECT_EQ(LE32(wav, 42), wav.size() - 46);
    EXPECT_EQ(LE32(wav, 42) % 4, 0u) << "whole frames";
    auto mp3 = quortest::DecodeMp3(PathOf("full.mp3"));
    EXPECT_TRUE(mp3.ok);
    EXPECT_GT(mp3.frames, 44100u * 3);
}
