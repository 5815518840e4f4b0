// The recording capture: three buffers cycle through the default capture source while a
// recording runs; every filled one reaches the owner's callback on this object's own worker
// thread, in order.
#pragma once

#include "platform/thread/MessageThread.h"
#include "platform/wavein/WaveIn.h"
#include "recorder/engine/CBuffer.h"
#include "recorder/engine/CSoundBase.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

class CSoundIn : public platform::MessageThread, public CSoundBase {
public:
    // Called on the worker thread, synchronously, once per filled buffer.
    using DataCallback = void (*)(CBuffer& buffer, void* user);

    // The file needs no low latency: the device is asked for audio in tenths of a second, so the
    // sound server and the delivery thread wake ten times a second instead of fifty. An owner that
    // sizes its buffers to one such fragment (FragmentFrames) also has the worker wake, encode and
    // write once per fragment. A stop still passes on the part of a buffer filled so far.
    static constexpr uint32_t kFragmentMs = 100;
    static int FragmentFrames(int samplesPerSecond) {
        return static_cast<int>(static_cast<int64_t>(samplesPerSecond) * kFragmentMs / 1000);
    }

    // Starts the worker thread at once; it lives until the object is destroyed.
    CSoundIn();
    ~CSoundIn() override;

    // Ends the capture: what the device captured up to now reaches the callback first, then every
    // buffer is retired and the device closed.
    virtual void Stop();
    // Copies format's 18 bytes over the object's own when given. False when already started,
    // when the callback or user pointer is unset, or when the device cannot be opened or started.
    virtual bool Start(const WAVEFORMATEX* format = nullptr);

    // Queues one more buffer; returns the queued count before the call.
    int AddInputBufferToQueue();
    void OnWIM_DATA(WAVEHDR* header);

    bool IsStarted() const { return m_bStarted.load(); }
    // Set on the worker when the device lost its source (the sound server went away): the
    // capture delivers nothing more; Stop still closes it and a later Start opens afresh.
    bool DeviceLost() const { return m_bDeviceLost.load(); }
    // Bytes the device dropped during the last capture because the callback fell too far behind;
    // known once Stop has closed the device.
    uint64_t DroppedBytes() const { return m_DroppedBytes.load(); }
    int QueuedBuffers() const { return m_QueuedBuffers.load(); }

    DataCallback DataFromSoundIn = nullptr;
    void* m_pOwner = nullptr;

    // The last error reported, for diagnostics and tests.
    struct ErrorReport {
        MMRESULT result = MMSYSERR_NOERROR;
        std::string context;
        std::string text;
    };
    ErrorReport LastError() const;

protected:
    bool InitInstance() override;
    void OnThreadMessage(const platform::ThreadMessage& msg) override;
    // Fetches the platform's text for the code and records it; shows nothing.
    void WaveInErrorMsg(MMRESULT result, const char* context);

private:
    void RetireHeader(WAVEHDR* header);
    void CloseDevice();
    void WaitForRetirement();
    void WaitForNextDelivery();
    void WaitForPendingAudio();

    std::atomic<bool> m_bStarted{false};
    std::atomic<bool> m_bDeviceLost{false};
    // Stop is taking the buffers back: returned ones are passed on, then retired.
    std::atomic<bool> m_bDraining{false};
    // The worker is inside the callback: Stop waits for it however long a write takes.
    std::atomic<bool> m_bInCallback{false};
    std::atomic<uint64_t> m_DroppedBytes{0};
    HWAVEIN m_WaveIn = nullptr;
    std::atomic<int> m_QueuedBuffers{0};
    uint32_t m_ThreadID = 0;

    std::mutex m_RetireLock;
    std::condition_variable m_Retired;
    mutable std::mutex m_ErrorLock;
    ErrorReport m_LastError;
};
