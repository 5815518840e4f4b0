// The recording capture over the scripted driver: buffer cycle, order, and every failure path.
#include "recorder/engine/CSoundIn.h"
#include "tests/support/Eventually.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/ScriptedWaveIn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

using quortest::ScriptedWaveIn;
using Call = WaveInDevice::Call;

namespace {

struct Sink {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::vector<int16_t>> buffers;

    static void Take(CBuffer& buffer, void* self) {
        auto* sink = static_cast<Sink*>(self);
        auto* values = static_cast<int16_t*>(buffer.ptr);
        {
            std::lock_guard<std::mutex> guard(sink->lock);
            sink->buffers.emplace_back(values, values + buffer.ByteLen / 2);
        }
        sink->arrived.notify_all();
    }
    bool WaitFor(size_t count) {
        std::unique_lock<std::mutex> guard(lock);
        return arrived.wait_for(guard, std::chrono::seconds(5), [&] { return buffers.size() >= count; });
    }
    size_t Count() {
        std::lock_guard<std::mutex> guard(lock);
        return buffers.size();
    }
};

class SoundInTest : public ::testing::Test {
protected:
    void Wire() {
        capture.DataFromSoundIn = &Sink::Take;
        capture.m_pOwner = &sink;
    }
    ScriptedWaveIn driver;
    Sink sink;
    CSoundIn capture;
};

} // namespace

TEST_F(SoundInTest, DeliversFullBuffersInOrderWhileThreeCycleAndAtStopWhatWasFilled) {
    Wire();
    capture.SetSamplesPerSecond(32000);
    ASSERT_TRUE(capture.Start());
    EXPECT_EQ(capture.QueuedBuffers(), 3);
    ASSERT_TRUE(sink.WaitFor(12));
    capture.Stop();

    std::lock_guard<std::mutex> guard(sink.lock);
    int16_t expected = sink.buffers.front().front();
    uint64_t bytes = 0;
    for (const auto& buffer : sink.buffers) {
        // The last one is the buffer the stop found partly filled (whole, by chance, at times).
        if (&buffer != &sink.buffers.back()) {
            ASSERT_EQ(buffer.size(), 2000u) << "4000 bytes: 1000 stereo 16-bit frames";
        }
        for (int16_t v : buffer)
            ASSERT_EQ(v, expected++) << "a buffer was lost, repeated or reordered";
        bytes += buffer.size() * sizeof(int16_t);
    }
    EXPECT_EQ(sink.buffers.front().front(), 0) << "the first buffer starts at the beginning";
    EXPECT_EQ(bytes, driver.ProducedBytes()) << "what was captured before the stop reached the callback";
}

TEST_F(SoundInTest, AConsumerLateByMoreThanTheThreeBuffersLosesNothingEvenWhenStoppedThen) {
    // Three 4000-byte buffers hold 68 ms; the consumer stalls for 300 ms twice, and the second
    // time Stop comes while it is stalled.
    struct Slow {
        Sink sink;
        std::atomic<bool> stalledAgain{false};
        static void Take(CBuffer& buffer, void* self) {
            auto* slow = static_cast<Slow*>(self);
            Sink::Take(buffer, &slow->sink);
            const size_t count = slow->sink.Count();
            if (count == 3 || count == 24) {
                slow->stalledAgain = count == 24;
                std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the consumer's stall
            }
        }
    } slow;
    capture.DataFromSoundIn = &Slow::Take;
    capture.m_pOwner = &slow;
    ASSERT_TRUE(capture.Start());
    ASSERT_TRUE(slow.sink.WaitFor(24));
    // Stopped once more has been captured than the three buffers hold: the rest waits in the device.
    ASSERT_TRUE(quortest::Eventually(
        [&] { return slow.stalledAgain && driver.ProducedBytes() >= (slow.sink.Count() + 4) * 4000; }));
    capture.Stop();
    std::lock_guard<std::mutex> guard(slow.sink.lock);
    int16_t expected = 0;
    uint64_t bytes = 0;
    for (const auto& buffer : slow.sink.buffers) {
        for (int16_t v : buffer)
            ASSERT_EQ(v, expected++) << "audio lost while the consumer was late";
        bytes += buffer.size() * sizeof(int16_t);
    }
    EXPECT_EQ(bytes, driver.ProducedBytes()) << "what waited for the late consumer was dropped at the stop";
    EXPECT_EQ(capture.DroppedBytes(), 0u);
}

TEST_F(SoundInTest, StopRetiresEveryBufferAndClosesTheDevice) {
    Wire();
    ASSERT_TRUE(capture.Start());
    ASSERT_TRUE(sink.WaitFor(2));
    capture.Stop();
    EXPECT_FALSE(capture.IsStarted());
    EXPECT_EQ(capture.QueuedBuffers(), 0);
    EXPECT_EQ(driver.OpenDevices(), 0);
    size_t after = sink.Count();
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // a pause on purpose: time for a late buffer
    EXPECT_EQ(sink.Count(), after) << "buffers returned after the stop must not reach the callback";

    // And it starts again, from a closed device.
    ASSERT_TRUE(capture.Start());
    EXPECT_TRUE(sink.WaitFor(after + 1));
}

TEST_F(SoundInTest, RefusesToStartWithoutCallbackOrTwice) {
    EXPECT_FALSE(capture.Start());
    EXPECT_EQ(driver.Opens(), 0) << "no device is opened without a callback";
    capture.DataFromSoundIn = &Sink::Take;
    EXPECT_FALSE(capture.Start()) << "the user pointer is required too";
    capture.m_pOwner = &sink;
    ASSERT_TRUE(capture.Start());
    EXPECT_FALSE(capture.Start());
    EXPECT_EQ(driver.Opens(), 1);
    capture.Stop();
    capture.Stop(); // nothing happens when not started
    EXPECT_EQ(driver.Closes(), 1);
}

TEST_F(SoundInTest, GivenFormatIsCopiedAsItIs) {
    Wire();
    WAVEFORMATEX format = *capture.GetFormat();
    format.nSamplesPerSec = 8000;
    format.nAvgBytesPerSec = 12345; // not recomputed
    ASSERT_TRUE(capture.Start(&format));
    EXPECT_EQ(capture.GetSamplesPerSecond(), 8000);
    EXPECT_EQ(capture.GetFormat()->nAvgBytesPerSec, 12345u);
}

TEST_F(SoundInTest, FailedOpenReportsInStartAndQueuesNothing) {
    Wire();
    driver.failOpen = MMSYSERR_NODRIVER;
    EXPECT_FALSE(capture.Start());
    EXPECT_EQ(capture.LastError().context, "in Start()");
    EXPECT_EQ(capture.LastError().result, MMSYSERR_NODRIVER);
    EXPECT_FALSE(capture.LastError().text.empty());
    EXPECT_EQ(capture.QueuedBuffers(), 0);
}

TEST_F(SoundInTest, FailedDeviceStartReportsInStartAndLeavesNothingOpen) {
    Wire();
    driver.FailCall(Call::Start, MMSYSERR_ERROR);
    EXPECT_FALSE(capture.Start());
    EXPECT_EQ(capture.LastError().context, "in Start()");
    EXPECT_FALSE(capture.IsStarted());
    EXPECT_EQ(capture.QueuedBuffers(), 0) << "the three queued buffers are retired";
    EXPECT_EQ(driver.OpenDevices(), 0);
}

TEST_F(SoundInTest, FailedQueueingReportsAndRunsWithTheBuffersItHas) {
    Wire();
    driver.FailCall(Call::AddBuffer, MMSYSERR_NOMEM, 2);
    ASSERT_TRUE(capture.Start());
    EXPECT_EQ(capture.LastError().context, "in AddInputBufferToQueue()");
    EXPECT_EQ(capture.QueuedBuffers(), 2);
    capture.Stop();
    EXPECT_EQ(driver.OpenDevices(), 0);
}

TEST_F(SoundInTest, FailedRequeueRetiresTheBufferInOnWimData) {
    Wire();
    driver.FailCall(Call::AddBuffer, MMSYSERR_NOMEM, 3); // the three first queueings succeed
    ASSERT_TRUE(capture.Start());
    ASSERT_TRUE(sink.WaitFor(1));
    quortest::Eventually([&] { return capture.QueuedBuffers() == 0; }, std::chrono::seconds(2));
    EXPECT_EQ(capture.LastError().context, "in OnWIM_DATA()");
    EXPECT_EQ(capture.QueuedBuffers(), 0) << "every buffer that could not be re-queued retires";
    capture.Stop();
}

TEST_F(SoundInTest, FailedResetKeepsTheCaptureStarted) {
    Wire();
    ASSERT_TRUE(capture.Start());
    driver.FailCall(Call::Reset, MMSYSERR_ERROR);
    capture.Stop();
    EXPECT_EQ(capture.LastError().context, "in Stop()");
    EXPECT_TRUE(capture.IsStarted());
    driver.FailCall(Call::Reset, MMSYSERR_NOERROR);
    capture.Stop();
    EXPECT_FALSE(capture.IsStarted());
    EXPECT_EQ(driver.OpenDevices(), 0);
}

TEST_F(SoundInTest, FailedCloseIsReportedInStop) {
    Wire();
    ASSERT_TRUE(capture.Start());
    driver.FailCall(Call::Close, MMSYSERR_ERROR);
    capture.Stop();
    EXPECT_EQ(capture.LastError().context, "in Stop()");
    driver.FailCall(Call::Close, MMSYSERR_NOERROR);
}

TEST(SoundInLifetime, DestroyingAStartedCaptureStopsAndEndsItsThread) {
    ScriptedWaveIn driver;
    Sink sink;
    {
        CSoundIn capture;
        capture.DataFromSoundIn = &Sink::Take;
        capture.m_pOwner = &sink;
        ASSERT_TRUE(capture.Start());
        ASSERT_TRUE(sink.WaitFor(1));
    }
    EXPECT_EQ(driver.OpenDevices(), 0);
}

TEST(WaveInErrors, EveryCodeHasATextAndTextsAreCut) {
    char text[100];
    for (MMRESULT code : {MMSYSERR_NOERROR, MMSYSERR_ERROR, MMSYSERR_BADDEVICEID, MMSYSERR_ALLOCATED,
                          MMSYSERR_INVALHANDLE, MMSYSERR_NODRIVER, MMSYSERR_NOMEM, MMSYSERR_INVALFLAG,
                          MMSYSERR_INVALPARAM, WAVERR_BADFORMAT, WAVERR_STILLPLAYING, WAVERR_UNPREPARED}) {
        EXPECT_EQ(waveInGetErrorText(code, text, sizeof text), MMSYSERR_NOERROR);
        EXPECT_GT(std::strlen(text), 5u) << code;
    }
    EXPECT_EQ(waveInGetErrorText(999, text, sizeof text), MMSYSERR_BADERRNUM);
    char tiny[8];
    waveInGetErrorText(MMSYSERR_NODRIVER, tiny, sizeof tiny);
    EXPECT_EQ(std::strlen(tiny), 7u);
}

TEST(WaveInHandles, ForeignHandlesAndUnpreparedBuffersAreRefused) {
    ScriptedWaveIn driver;
    WaveInDevice* bogus = reinterpret_cast<WaveInDevice*>(0x1234);
    EXPECT_EQ(waveInStart(bogus), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInClose(nullptr), MMSYSERR_INVALHANDLE);

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    HWAVEIN device = nullptr;
    ASSERT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    char data[64];
    WAVEHDR header{};
    header.lpData = data;
    header.dwBufferLength = sizeof data;
    EXPECT_EQ(waveInAddBuffer(device, &header, sizeof header), WAVERR_UNPREPARED);
    ASSERT_EQ(waveInPrepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInUnprepareHeader(device, &header, sizeof header), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInClose(device), WAVERR_STILLPLAYING) << "a queued buffer keeps the device open";
    ASSERT_EQ(waveInReset(device), MMSYSERR_NOERROR);
    EXPECT_TRUE(header.dwFlags & WHDR_DONE);
    EXPECT_EQ(waveInUnprepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(device), MMSYSERR_NOERROR);
}
