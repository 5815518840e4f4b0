// The recording controller and its always-open monitor capture. The monitor runs from the
// owner's initialisation to its end and feeds one callback (the spectrum or level display)
// with every filled buffer on a high-priority worker thread.
#pragma once

#include "thread/AutoResetEvent.h"
#include "thread/SpscRing.h"
#include "wavein/WaveIn.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class Recorder {
public:
    // Called on the monitor worker for every filled buffer; must not block.
    using MonitorCallback = int (*)(void* target, WAVEHDR* header);
    static constexpr int kMonitorBuffers = 16;

    // frames: monitor buffer length in 16-bit stereo frames (both owners pass 1024).
    explicit Recorder(int frames);
    virtual ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Opens the monitor device; the device's result code when that fails (nothing changes when
    // already open). Without a routine the default notification routine is used.
    MMRESULT OpenMonitor(WaveInProc routine = nullptr, uint32_t mode = CALLBACK_FUNCTION,
                         uint32_t deviceId = WAVE_MAPPER);
    void SetMonitorCallback(void* target, MonitorCallback callback);
    // Queues the buffers, starts the worker and the device; the first failing call's code.
    MMRESULT StartMonitor();
    // Ends the worker loop, stops and resets the device. The device closes at destruction.
    void StopMonitor();
    bool IsMonitorOpen() const { return m_bMonitorOpened; }
    bool IsMonitorRunning() const { return m_bMonitorRunning; }
    int MonitorBufferBytes() const { return m_MonitorBufferBytes; }

    // The default notification routine: runs on the device's delivery thread and only hands
    // the header to the worker.
    static void MonitorProc(HWAVEIN device, uint32_t msg, uintptr_t instance, uintptr_t param1, uintptr_t param2);

    virtual void OnIdle() {}

private:
    void MonitorLoop();
    void CloseMonitor();

    // Hand-off from the notification routine (producer) to the worker (consumer). Every header
    // is in exactly one place: the device, this ring or the worker, so 16 slots never overflow.
    platform::AutoResetEvent m_MonitorEvent;
    platform::SpscRing<WAVEHDR, kMonitorBuffers> m_FilledHeaders;
    void* m_MonitorTarget = nullptr;
    std::thread m_MonitorThread;
    MonitorCallback m_MonitorCallback = nullptr;
    HWAVEIN m_MonitorDevice = nullptr;
    std::array<std::unique_ptr<WAVEHDR>, kMonitorBuffers> m_MonitorHeaders;
    std::array<std::unique_ptr<char[]>, kMonitorBuffers> m_MonitorData;
    uint16_t m_MonitorBitsPerSample = 16;
    uint16_t m_MonitorChannels = 2;
    int32_t m_MonitorSampleRate = 44100;
    WAVEFORMATEX m_MonitorFormat{};
    std::atomic<bool> m_bMonitorOpened{false};
    int32_t m_MonitorBufferBytes;
    std::atomic<bool> m_bMonitorRunning{false};
};
