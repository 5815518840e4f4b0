// Scripted capture devices: a real-time ramp generator and per-call failures.
#include "tests/support/pulse/ScriptedWaveIn.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace quortest {
namespace {

class ScriptedDevice final : public WaveInDevice {
public:
    ScriptedDevice(ScriptedWaveIn& driver, const WAVEFORMATEX& format, uintptr_t callback, uintptr_t instance,
                   uint32_t flags)
        : WaveInDevice(format, callback, instance, flags), m_Driver(driver) {}
    ~ScriptedDevice() override { Halt(); }

    MMRESULT Check(Call call) override { return m_Driver.Decide(call); }

protected:
    MMRESULT StartSource() override {
        Halt();
        m_Run = true;
        m_Thread = std::thread([this] { Generate(); });
        return MMSYSERR_NOERROR;
    }
    MMRESULT StopSource() override {
        Halt();
        return MMSYSERR_NOERROR;
    }
    MMRESULT ResetSource() override {
        Halt();
        return MMSYSERR_NOERROR;
    }
    MMRESULT CloseSource() override {
        Halt();
        m_Driver.CountClose();
        return MMSYSERR_NOERROR;
    }

private:
    void Halt() {
        m_Run = false;
        if (m_Thread.joinable())
            m_Thread.join();
    }
    MMRESULT SetFragment(uint32_t milliseconds) override {
        m_FragmentMs = milliseconds;
        return MMSYSERR_NOERROR;
    }

    // 10 ms of audio every 10 ms, each 16-bit value one more than the last; delivered at once, or,
    // when the driver holds fragments, once a fragment's worth has been made, as a sound server
    // does.
    void Generate() {
        const size_t values = Format().nAvgBytesPerSec / 100 / 2;
        std::vector<int16_t> held;
        auto next = std::chrono::steady_clock::now();
        while (m_Run) {
            for (size_t i = 0; i < std::max<size_t>(values, 1); ++i)
                held.push_back(m_Counter++);
            m_Driver.CountMade(std::max<size_t>(values, 1) * sizeof(int16_t));
            const size_t fragment = m_Driver.holdFragments ? values * m_FragmentMs / 10 : 0;
            if (held.size() >= fragment) {
                Deliver(held.data(), held.size() * sizeof(int16_t));
                m_Driver.CountProduced(held.size() * sizeof(int16_t));
                held.clear();
            }
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next); // paced as a device: 10 ms of audio every 10 ms
        }
    }

    ScriptedWaveIn& m_Driver;
    std::atomic<bool> m_Run{false};
    std::thread m_Thread;
    int16_t m_Counter = 0;
    std::atomic<uint32_t> m_FragmentMs{10};
};

} // namespace

ScriptedWaveIn::ScriptedWaveIn() : m_Previous(platform::SetWaveInDriver(this)) {}

ScriptedWaveIn::~ScriptedWaveIn() {
    platform::SetWaveInDriver(m_Previous);
}

void ScriptedWaveIn::FailCall(Call call, MMRESULT code, int after) {
    std::lock_guard<std::mutex> guard(m_Lock);
    m_Failures[call] = {code, after};
}

MMRESULT ScriptedWaveIn::Decide(Call call) {
    std::lock_guard<std::mutex> guard(m_Lock);
    auto it = m_Failures.find(call);
    if (it == m_Failures.end())
        return MMSYSERR_NOERROR;
    if (it->second.after > 0) {
        --it->second.after;
        return MMSYSERR_NOERROR;
    }
    return it->second.code;
}

MMRESULT ScriptedWaveIn::Open(WaveInDevice** device, uint32_t, const WAVEFORMATEX& format, uintptr_t callback,
                              uintptr_t instance, uint32_t flags) {
    if (failOpen != MMSYSERR_NOERROR)
        return failOpen;
    *device = new ScriptedDevice(*this, format, callback, instance, flags);
    ++m_Opens;
    return MMSYSERR_NOERROR;
}

} // namespace quortest
