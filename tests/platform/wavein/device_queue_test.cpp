// The device queue behind every driver: bytes that found no buffer wait, in order, and a buffer
// handed back while they wait is filled from them at once, so a driver that delivers in large
// fragments keeps a few small buffers cycling without losing or reordering a byte.
#include "platform/wavein/WaveInDevice.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

namespace {

struct Returned {
    std::vector<std::vector<char>> buffers;
    static void Proc(HWAVEIN, uint32_t msg, uintptr_t instance, uintptr_t header, uintptr_t) {
        if (msg != WIM_DATA)
            return;
        auto* h = reinterpret_cast<WAVEHDR*>(header);
        reinterpret_cast<Returned*>(instance)->buffers.emplace_back(h->lpData,
                                                                    h->lpData + h->dwBytesRecorded);
    }
};

// A device whose test is its driver: it delivers what the test gives it, when it says so.
class HandFedDevice final : public WaveInDevice {
public:
    HandFedDevice(const WAVEFORMATEX& format, Returned& returned)
        : WaveInDevice(format, reinterpret_cast<uintptr_t>(&Returned::Proc),
                       reinterpret_cast<uintptr_t>(&returned), CALLBACK_FUNCTION) {}
    using WaveInDevice::Deliver;
    uint32_t fragmentMs = 0;
    MMRESULT SetFragment(uint32_t milliseconds) override {
        fragmentMs = milliseconds;
        return MMSYSERR_NOERROR;
    }

protected:
    MMRESULT StartSource() override { return MMSYSERR_NOERROR; }
    MMRESULT StopSource() override { return MMSYSERR_NOERROR; }
    MMRESULT ResetSource() override { return MMSYSERR_NOERROR; }
    MMRESULT CloseSource() override { return MMSYSERR_NOERROR; }
};

class HandFedDriver final : public WaveInDriver {
public:
    explicit HandFedDriver(Returned& returned) : m_Returned(returned) {
        m_Previous = platform::SetWaveInDriver(this);
    }
    ~HandFedDriver() override { platform::SetWaveInDriver(m_Previous); }
    MMRESULT Open(WaveInDevice** device, uint32_t, const WAVEFORMATEX& format, uintptr_t, uintptr_t,
                  uint32_t) override {
        *device = opened = new HandFedDevice(format, m_Returned);
        return MMSYSERR_NOERROR;
    }
    HandFedDevice* opened = nullptr;

private:
    Returned& m_Returned;
    WaveInDriver* m_Previous;
};

} // namespace

TEST(WaveInQueue, AFragmentLargerThanTheBuffersWaitsAndRefillsEachBufferHandedBack) {
    Returned returned;
    HandFedDriver driver(returned);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    HWAVEIN device = nullptr;
    ASSERT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_FUNCTION), MMSYSERR_NOERROR);
    EXPECT_EQ(platform::SetWaveInFragment(device, 0), MMSYSERR_INVALPARAM);
    ASSERT_EQ(platform::SetWaveInFragment(device, 100), MMSYSERR_NOERROR);
    EXPECT_EQ(driver.opened->fragmentMs, 100u);

    std::array<std::array<char, 8>, 2> data{};
    std::array<WAVEHDR, 2> headers{};
    for (size_t i = 0; i < headers.size(); ++i) {
        headers[i].lpData = data[i].data();
        headers[i].dwBufferLength = 8;
        ASSERT_EQ(waveInPrepareHeader(device, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(device, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(waveInStart(device), MMSYSERR_NOERROR);

    std::vector<char> fragment(36);
    std::iota(fragment.begin(), fragment.end(), 0);
    driver.opened->Deliver(fragment.data(), fragment.size()); // 4.5 buffers' worth, 2 queued
    ASSERT_EQ(returned.buffers.size(), 2u);
    // Each buffer handed back is filled at once from what waits, until less than a buffer is left.
    for (WAVEHDR& header : {std::ref(headers[0]), std::ref(headers[1]), std::ref(headers[0])})
        ASSERT_EQ(waveInAddBuffer(device, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(returned.buffers.size(), 4u) << "the half buffer left waits for more";
    std::vector<char> next(4);
    std::iota(next.begin(), next.end(), 36);
    driver.opened->Deliver(next.data(), next.size());
    ASSERT_EQ(returned.buffers.size(), 5u);

    std::vector<char> all;
    for (const auto& buffer : returned.buffers) {
        EXPECT_EQ(buffer.size(), 8u);
        all.insert(all.end(), buffer.begin(), buffer.end());
    }
    std::vector<char> expected(40);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(all, expected) << "every byte once, in order";

    EXPECT_EQ(waveInReset(device), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(device), MMSYSERR_NOERROR);
    EXPECT_EQ(platform::SetWaveInFragment(device, 100), MMSYSERR_INVALHANDLE);
}
