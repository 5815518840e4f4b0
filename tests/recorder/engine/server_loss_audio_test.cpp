// The recording controller when the sound server dies under it: the capture and the monitor say
// so, the MP3 stops as a whole file with the audio it had, and once a server is back both start
// again in the same process (a lost capture used to refuse every later start).
#include "recorder/engine/Recorder.h"
#include "recorder/settings/RecorderSettings.h"
#include "tests/encoder/Mp3Probe.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

using namespace std::chrono_literals;

namespace {

class ServerLossTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = RecorderSettings{};
        settings.savePath = dir.str();
        settings.bitsPerSample = 16;
        settings.channels = 2;
        settings.fileType = 0;
        settings.fileSetting = 3; // 128 kbps at 44100 Hz
        settings.ApplyPreset();
        ASSERT_EQ(recorder.OpenMonitor(), MMSYSERR_NOERROR);
        recorder.SetMonitorCallback(
            &monitorCalls, [](void* calls, WAVEHDR*) { return ++*static_cast<std::atomic<int>*>(calls), 1; });
        ASSERT_EQ(recorder.StartMonitor(), MMSYSERR_NOERROR);
    }
    void TearDown() override {
        if (!quortest::SharedPulseServer().ServiceRunning())
            quortest::SharedPulseServer().Restart();
    }
    // Waits until the monitor has delivered `more` buffers beyond what it had.
    bool MonitorDelivers(int more) {
        const int from = monitorCalls;
        return quortest::Eventually([&] { return monitorCalls >= from + more; }, 5s);
    }

    quortest::TempDir dir;
    RecorderSettings& settings = TheRecorderSettings();
    std::atomic<int> monitorCalls{0};
    Recorder recorder{1024};
};

} // namespace

TEST_F(ServerLossTest, TheRecordingEndsAsAWholeFileAndBothCapturesStartAgainOnANewServer) {
    quortest::PulseServer& server = quortest::SharedPulseServer();
    auto tone = std::make_unique<quortest::SignalPlayer>(1000.0);
    server.WakeSink();
    ASSERT_TRUE(MonitorDelivers(3));

    settings.fileName = "lost.mp3";
    ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
    const auto path = dir / "lost.mp3";
    ASSERT_TRUE(quortest::Eventually(
        [&] { return std::filesystem::exists(path) && std::filesystem::file_size(path) > 32000; }, 8s));
    const auto recordedBeforeKill = std::filesystem::file_size(path);

    server.Kill();
    ASSERT_TRUE(quortest::Eventually(
        [&] { return recorder.EndedByItself() == Recorder::RecordFailure::CaptureLost; }, 2s));
    EXPECT_TRUE(quortest::Eventually([&] { return recorder.IsMonitorLost(); }, 2s));
    EXPECT_TRUE(recorder.IsRecording()) << "the owner finishes the file; nothing stops by itself";
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_EQ(recorder.EndedByItself(), Recorder::RecordFailure::None)
        << "told once, for the stopped recording";

    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_GT(quortest::CountWholeFrames(bytes), 0) << "whole frames to the end: the writer was flushed";
    EXPECT_GE(bytes.size(), recordedBeforeKill);
    const auto lost = quortest::DecodeMp3(path);
    ASSERT_TRUE(lost.ok);
    EXPECT_GT(double(lost.frames) / lost.rate, 1.0);
    EXPECT_EQ(quortest::DominantOf(lost.pcm, 2, 0, lost.rate, {440, 1000, 2000}), 1000);

    // Without a server nothing opens, and nothing is left half open either.
    settings.fileName = "noserver.mp3";
    EXPECT_FALSE(recorder.StartRecord());
    EXPECT_EQ(recorder.LastFailure(), Recorder::RecordFailure::CaptureFailed);
    EXPECT_NE(recorder.RestartMonitor(), MMSYSERR_NOERROR);
    EXPECT_FALSE(recorder.IsMonitorOpen());

    tone.reset();
    server.Restart();
    server.WakeSink();
    tone = std::make_unique<quortest::SignalPlayer>(440.0);
    ASSERT_EQ(recorder.RestartMonitor(), MMSYSERR_NOERROR);
    EXPECT_FALSE(recorder.IsMonitorLost());
    EXPECT_TRUE(MonitorDelivers(3)) << "the spectrum's capture runs on the new server";

    settings.fileName = "back.mp3";
    ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
    ASSERT_TRUE(quortest::Eventually(
        [&] {
            return std::filesystem::exists(dir / "back.mp3") &&
                   std::filesystem::file_size(dir / "back.mp3") > 32000;
        },
        8s));
    ASSERT_TRUE(recorder.StopRecord());
    const auto back = quortest::DecodeMp3(dir / "back.mp3");
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(quortest::DominantOf(back.pcm, 2, 0, back.rate, {440, 1000, 2000}), 440);
}
