// Capture against a private PulseAudio server that plays a known sine into "speakers": the
// recording capture hears it on the monitor, the WAV file holds exactly what was captured, the
// monitor hands on full buffers, and a killed recording still opens.
#include "recorder/engine/CSoundFile.h"
#include "recorder/engine/CSoundIn.h"
#include "recorder/engine/Recorder.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/Signal.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Capture {
    std::mutex lock;
    std::string bytes;
    std::vector<int> lengths;
    std::chrono::steady_clock::time_point first;
    CSoundFile* file = nullptr;

    static void Take(CBuffer& buffer, void* self) {
        auto* c = static_cast<Capture*>(self);
        std::lock_guard<std::mutex> guard(c->lock);
        if (c->lengths.empty())
            c->first = std::chrono::steady_clock::now();
        c->lengths.push_back(buffer.ByteLen);
        c->bytes.append(static_cast<const char*>(buffer.ptr), static_cast<size_t>(buffer.ByteLen));
        if (c->file)
            c->file->Write(&buffer);
    }
    // Waits until `span` has passed since the first buffer arrived.
    bool RunFor(std::chrono::milliseconds span) {
        return quortest::Eventually(
            [&] {
                std::lock_guard<std::mutex> guard(lock);
                return !lengths.empty() && std::chrono::steady_clock::now() - first >= span;
            },
            6s);
    }
};

std::string Run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buf[512];
    size_t n;
    while (pipe && (n = fread(buf, 1, sizeof buf, pipe.get())) > 0)
        out.append(buf, n);
    return out;
}

double SoxSeconds(const std::string& path) {
    return std::atof(Run("soxi -D '" + path + "' 2>/dev/null").c_str());
}

} // namespace

TEST(CaptureAudio, RecordingCaptureHearsTheSineInFourThousandByteBuffers) {
    quortest::SharedPulseServer().WakeSink();
    quortest::SignalPlayer sine(1000.0);
    ASSERT_TRUE(sine.Playing());
    Capture capture;
    CSoundIn in;
    in.DataFromSoundIn = &Capture::Take;
    in.m_pOwner = &capture;
    in.SetSamplesPerSecond(32000);
    ASSERT_TRUE(in.Start()) << in.LastError().text;
    ASSERT_TRUE(capture.RunFor(1000ms));
    in.Stop();

    std::lock_guard<std::mutex> guard(capture.lock);
    // Whole buffers, and last the part of one that the stop found filled.
    ASSERT_FALSE(capture.lengths.empty());
    for (size_t i = 0; i + 1 < capture.lengths.size(); ++i)
        EXPECT_EQ(capture.lengths[i], 4000);
    EXPECT_LE(capture.lengths.back(), 4000);
    EXPECT_EQ(capture.lengths.back() % 4, 0) << "whole frames";
    // Judge the last half second: the first buffers may still carry the sink's start-up.
    size_t frames = 16000;
    ASSERT_GE(capture.bytes.size(), frames * 4);
    auto* pcm = reinterpret_cast<const int16_t*>(capture.bytes.data() + capture.bytes.size() - frames * 4);
    auto left = quortest::Channel(pcm, frames, 2, 0);
    EXPECT_NEAR(quortest::ZeroCrossingFrequency(left, 32000), 1000.0, 10.0);
    EXPECT_GT(quortest::ToneShare(left, 32000, 1000.0), 0.9);
    EXPECT_GT(quortest::Rms(left), 32767 * 0.5 * 0.6);
}

TEST(CaptureAudio, WavFileHoldsExactlyTheCapturedBytes) {
    quortest::SharedPulseServer().WakeSink();
    quortest::SignalPlayer sine(440.0);
    quortest::TempDir dir;
    const std::string path = (dir / "three.wav").string();
    Capture capture;
    {
        CSoundIn in;
        in.SetSamplesPerSecond(32000);
        CSoundFile file(path, in.GetFormat());
        ASSERT_TRUE(file.IsOpen());
        capture.file = &file;
        in.DataFromSoundIn = &Capture::Take;
        in.m_pOwner = &capture;
        ASSERT_TRUE(in.Start());
        ASSERT_TRUE(capture.RunFor(3000ms));
        in.Stop();
    } // the file completes its sizes here

    std::string bytes = quortest::ReadFile(path);
    ASSERT_EQ(bytes.size(), 46 + capture.bytes.size());
    uint32_t riff, fmt, data;
    std::memcpy(&riff, bytes.data() + 4, 4);
    std::memcpy(&fmt, bytes.data() + 16, 4);
    std::memcpy(&data, bytes.data() + 42, 4);
    EXPECT_EQ(riff, bytes.size() - 8);
    EXPECT_EQ(fmt, 18u);
    EXPECT_EQ(data, capture.bytes.size());
    EXPECT_EQ(bytes.substr(36, 6), std::string("\0\0data", 6)) << "extra size 0, then data at 38";
    EXPECT_TRUE(bytes.substr(46) == capture.bytes) << "the data chunk is exactly what was delivered";
    double seconds = double(capture.bytes.size()) / (32000 * 4);
    EXPECT_NEAR(seconds, 3.0, 0.3);
    EXPECT_NEAR(SoxSeconds(path), seconds, 0.01) << "sox reads the file";
}

// How the sixteen buffers take turns is the monitor unit test's; the server adds full buffers
// that carry what it plays.
TEST(CaptureAudio, MonitorHandsOnFullBuffersOfWhatTheServerPlays) {
    quortest::SharedPulseServer().WakeSink();
    quortest::SignalPlayer sine(2000.0);
    struct Seen {
        std::mutex lock;
        std::vector<uint32_t> lengths;
        std::vector<int16_t> last;
        static int Feed(void* self, WAVEHDR* header) {
            auto* s = static_cast<Seen*>(self);
            std::lock_guard<std::mutex> guard(s->lock);
            s->lengths.push_back(header->dwBufferLength);
            const auto* pcm = reinterpret_cast<const int16_t*>(header->lpData);
            s->last.assign(pcm, pcm + header->dwBufferLength / 2);
            return 1;
        }
        size_t Count() {
            std::lock_guard<std::mutex> guard(lock);
            return lengths.size();
        }
    } seen;
    Recorder recorder(1024);
    ASSERT_EQ(recorder.OpenMonitor(), MMSYSERR_NOERROR);
    recorder.SetMonitorCallback(&seen, &Seen::Feed);
    ASSERT_EQ(recorder.StartMonitor(), MMSYSERR_NOERROR);
    // Two rounds of the sixteen buffers: the later ones are past the sink's start-up.
    quortest::Eventually([&] { return seen.Count() >= 32; });
    recorder.StopMonitor();

    std::lock_guard<std::mutex> guard(seen.lock);
    ASSERT_GE(seen.lengths.size(), 32u);
    for (uint32_t length : seen.lengths)
        ASSERT_EQ(length, 4096u);
    const auto left = quortest::Channel(seen.last.data(), seen.last.size() / 2, 2, 0);
    EXPECT_GT(quortest::Rms(left), 32767 * 0.5 * 0.6) << "the buffers carry the tone";
}

TEST(CaptureAudio, KilledRecordingStillOpensWithAlmostEverything) {
    quortest::SharedPulseServer().WakeSink();
    quortest::SignalPlayer sine(1000.0);
    quortest::TempDir dir;
    const std::string path = (dir / "killed.wav").string();
    pid_t pid;
    char* argv[] = {const_cast<char*>(WAV_RECORD_PROBE), const_cast<char*>(path.c_str()), nullptr};
    ASSERT_EQ(posix_spawn(&pid, WAV_RECORD_PROBE, nullptr, nullptr, argv, environ), 0);
    // Wait for four seconds of data, then kill without warning.
    quortest::Eventually([&] { return quortest::ReadFile(path).size() >= 46 + 4 * 176400; });
    kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    EXPECT_GE(SoxSeconds(path), 2.0) << "sox must read at least two seconds of the killed recording";
}
