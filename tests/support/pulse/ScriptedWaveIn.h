// A scripted wave-input driver for failure paths: while installed, every waveInOpen gets a
// device that produces a counting 16-bit ramp in real time and fails the calls it is told to.
#pragma once

#include "platform/wavein/WaveInDevice.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>

namespace quortest {

class ScriptedWaveIn : public WaveInDriver {
public:
    using Call = WaveInDevice::Call;

    ScriptedWaveIn();           // installs itself
    ~ScriptedWaveIn() override; // restores the previous driver

    // Open fails with this code when non-zero.
    std::atomic<MMRESULT> failOpen{MMSYSERR_NOERROR};
    // The call fails with code once `after` more calls of it have succeeded (0 = the next one).
    void FailCall(Call call, MMRESULT code, int after = 0);

    int Opens() const { return m_Opens; }
    int Closes() const { return m_Closes; }
    int OpenDevices() const { return m_Opens - m_Closes; }
    // Devices deliver what they make in fragments of the length the owner asks for, not every 10 ms.
    std::atomic<bool> holdFragments{false};
    // Bytes the devices have delivered while started, and made (delivered or still held), in all.
    uint64_t ProducedBytes() const { return m_Produced; }
    uint64_t MadeBytes() const { return m_Made; }

    MMRESULT Open(WaveInDevice** device, uint32_t deviceId, const WAVEFORMATEX& format, uintptr_t callback,
                  uintptr_t instance, uint32_t flags) override;

    // Decides whether a call on a scripted device fails; used by the devices.
    MMRESULT Decide(Call call);
    void CountClose() { ++m_Closes; }
    void CountProduced(uint64_t bytes) { m_Produced += bytes; }
    void CountMade(uint64_t bytes) { m_Made += bytes; }

private:
    struct Failure {
        MMRESULT code;
        int after;
    };
    std::mutex m_Lock;
    std::map<Call, Failure> m_Failures;
    std::atomic<int> m_Opens{0};
    std::atomic<int> m_Closes{0};
    std::atomic<uint64_t> m_Produced{0};
    std::atomic<uint64_t> m_Made{0};
    WaveInDriver* m_Previous;
};

} // namespace quortest
