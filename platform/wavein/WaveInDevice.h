// One open capture: the queue of buffers handed to it and their return through the callback.
// Drivers derive from it and feed captured bytes into Deliver; the queue rules live here once.
#pragma once

#include "platform/wavein/WaveIn.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

struct WaveInDevice {
public:
    WaveInDevice(const WAVEFORMATEX& format, uintptr_t callback, uintptr_t instance, uint32_t flags);
    virtual ~WaveInDevice() = default;
    WaveInDevice(const WaveInDevice&) = delete;
    WaveInDevice& operator=(const WaveInDevice&) = delete;

    const WAVEFORMATEX& Format() const { return m_Format; }

    MMRESULT AddBuffer(WAVEHDR* header);
    MMRESULT Start();
    MMRESULT Stop();
    MMRESULT Reset();
    // Fails with WAVERR_STILLPLAYING while buffers are queued; on success the caller deletes.
    MMRESULT Close();
    size_t QueuedCount();

    // Sends WIM_OPEN; the open call does this once the device is ready.
    void NotifyOpen();

    // The source went away for good (sound server lost, device removed): see Lose.
    bool IsLost();

    // The longest the driver may hold captured audio before delivering it (see
    // platform::SetWaveInFragment); drivers that deliver as it comes ignore it.
    virtual MMRESULT SetFragment(uint32_t) { return MMSYSERR_NOERROR; }

    enum class Call { Prepare, Unprepare, AddBuffer, Start, Stop, Reset, Close };
    // Asked before every call on the device; a driver may refuse one with an error code.
    virtual MMRESULT Check(Call) { return MMSYSERR_NOERROR; }

protected:
    // Driver side, called on the driver's capture thread: appends captured bytes to the queued
    // buffers in order and returns each one that fills.
    void Deliver(const void* data, size_t bytes);
    bool IsStarted();
    // Driver side, on the driver's thread: the source is gone. Every queued buffer comes back
    // done, the one being filled with what it holds; from then on preparing, adding and
    // starting fail with MMSYSERR_NODRIVER while stop, reset and close still succeed.
    void Lose();

    // Driver hooks; they run with no device lock held.
    virtual MMRESULT StartSource() = 0;
    virtual MMRESULT StopSource() = 0;
    virtual MMRESULT ResetSource() = 0;
    virtual MMRESULT CloseSource() = 0;

private:
    MMRESULT Halt(bool everyBuffer);
    void Notify(uint32_t msg, WAVEHDR* header);
    // Deliver lock held: returns every header in m_Done, in order, and empties it.
    void ReturnDone();
    // Both locks held: fills the queued buffers from the backlog; each full one goes to m_Done.
    void FillFromBacklogLocked();
    // Both locks held: fills the queued buffers from bytes (silence when null), finished ones to
    // m_Done; returns how many bytes were taken.
    size_t FillLocked(const char* from, size_t bytes);

    WAVEFORMATEX m_Format;
    uintptr_t m_Callback;
    uintptr_t m_Instance;
    uint32_t m_Flags;

    // m_DeliverLock serialises returns so buffers come back in queue order whichever thread
    // returns them; m_QueueLock guards the queue itself. Order: deliver lock, then queue lock.
    std::mutex m_DeliverLock;
    std::mutex m_QueueLock;
    std::deque<WAVEHDR*> m_Queue;
    // The headers about to be returned, under m_DeliverLock; its room is kept between returns so
    // that a delivery on the sound server's thread allocates nothing.
    std::vector<WAVEHDR*> m_Done;
    bool m_Started = false;
    bool m_Lost = false;
    // Bytes that arrived while no buffer was queued (the owner was late handing one back):
    // kept, up to a bound, and fed into the next buffers first, so a scheduling hiccup of the
    // owner's thread loses nothing. A buffer handed back while bytes wait is filled from them at
    // once, so a driver that delivers in large fragments keeps the buffers cycling. Touched
    // under both locks; its room is kept, the oldest bytes are at the front.
    std::vector<char> m_Backlog;
    size_t m_BacklogLimit;
    uint64_t m_OverrunBytes = 0;
    uint64_t m_Deliveries = 0;

public:
    // Bytes dropped because even the backlog was full, or because a reset found more waiting
    // than the queued buffers hold.
    uint64_t OverrunBytes();
    // Bytes captured that wait for buffers. After a stop they still go into buffers handed back
    // (the reset drops what is left), so an owner can let them out before it resets.
    size_t PendingBytes();
    // How many times the driver has delivered audio while started.
    uint64_t Deliveries();
};

// Makes open captures; the PulseAudio driver unless a test installs another.
class WaveInDriver {
public:
    virtual ~WaveInDriver() = default;
    virtual MMRESULT Open(WaveInDevice** device, uint32_t deviceId, const WAVEFORMATEX& format,
                          uintptr_t callback, uintptr_t instance, uint32_t flags) = 0;
};

namespace platform {
// Installs a driver for every later waveInOpen and returns the previous one; null restores
// the PulseAudio driver. Devices already open keep their driver.
WaveInDriver* SetWaveInDriver(WaveInDriver* driver);
WaveInDriver& PulseWaveInDriver();
} // namespace platform
