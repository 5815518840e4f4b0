// Recording capture: device set-up, the buffer cycle on the worker thread, and retirement.
#include "recorder/engine/CSoundIn.h"
#include "platform/wavein/WaveInDevice.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
// How long Stop waits for the worker to retire the buffers the reset handed back, counted from
// the last moment the worker was inside the callback, which may use what the owner frees after Stop.
constexpr auto kRetireTimeout = std::chrono::seconds(5);
} // namespace

CSoundIn::CSoundIn() {
    CreateThread();
}

CSoundIn::~CSoundIn() {
    Stop();
    QuitAndJoin();
    // A device whose start failed is still open; nothing may outlive the object.
    CloseDevice();
}

bool CSoundIn::InitInstance() {
    m_ThreadID = GetThreadId();
    return true;
}

void CSoundIn::OnThreadMessage(const platform::ThreadMessage& msg) {
    if (msg.message == MM_WIM_DATA)
        OnWIM_DATA(reinterpret_cast<WAVEHDR*>(msg.lParam));
}

bool CSoundIn::Start(const WAVEFORMATEX* format) {
    if (m_bStarted || !DataFromSoundIn || !m_pOwner)
        return false;
    if (format)
        m_Format = *format;
    m_bDeviceLost = false;
    m_DroppedBytes = 0;

    MMRESULT result = waveInOpen(&m_WaveIn, WAVE_MAPPER, &m_Format, m_ThreadID, 0, CALLBACK_THREAD);
    if (result != MMSYSERR_NOERROR) {
        m_WaveIn = nullptr;
        WaveInErrorMsg(result, "in Start()");
        return false;
    }
    // A device that cannot take the hint still records, only with more wake-ups.
    platform::SetWaveInFragment(m_WaveIn, kFragmentMs);
    for (int i = 0; i < 3; ++i)
        AddInputBufferToQueue();

    // The worker sees buffers only once started is set, so set it before the device runs.
    m_bStarted = true;
    result = waveInStart(m_WaveIn);
    if (result != MMSYSERR_NOERROR) {
        WaveInErrorMsg(result, "in Start()");
        m_bStarted = false;
        // Hand the queued buffers back and close, so a failed start leaves nothing open.
        waveInReset(m_WaveIn);
        WaitForRetirement();
        CloseDevice();
        return false;
    }
    return true;
}

int CSoundIn::AddInputBufferToQueue() {
    int before = m_QueuedBuffers.load();
    auto* header = static_cast<WAVEHDR*>(std::calloc(1, sizeof(WAVEHDR)));
    if (!header)
        return 0;
    // The data block is handed to the header; OnWIM_DATA frees it when the buffer retires.
    CBuffer block(m_Format.nBlockAlign * m_BufferSize, false);
    header->lpData = static_cast<char*>(block.ptr);
    header->dwBufferLength = static_cast<uint32_t>(block.ByteLen);

    MMRESULT result = waveInPrepareHeader(m_WaveIn, header, sizeof(WAVEHDR));
    if (result == MMSYSERR_NOERROR)
        result = waveInAddBuffer(m_WaveIn, header, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
        WaveInErrorMsg(result, "in AddInputBufferToQueue()");
        // Never queued, so it will never come back: release it here.
        waveInUnprepareHeader(m_WaveIn, header, sizeof(WAVEHDR));
        std::free(header->lpData);
        std::free(header);
        return before;
    }
    ++m_QueuedBuffers;
    return before;
}

void CSoundIn::OnWIM_DATA(WAVEHDR* header) {
    MMRESULT result = waveInUnprepareHeader(m_WaveIn, header, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
        WaveInErrorMsg(result, "in OnWIM_DATA()");
        // Not handed back to the device, so retire it rather than lose it.
        RetireHeader(header);
        return;
    }
    if (m_bStarted) {
        // A full buffer, or what the device had filled when a stop or a lost source ended it.
        if (header->dwBytesRecorded > 0) {
            CBuffer view(header->lpData, static_cast<int32_t>(header->dwBytesRecorded));
            m_bInCallback = true;
            DataFromSoundIn(view, m_pOwner);
            m_bInCallback = false;
        }
        // A stop in progress takes every buffer back; the device is done with it.
        if (m_bDraining) {
            RetireHeader(header);
            return;
        }
        result = waveInPrepareHeader(m_WaveIn, header, sizeof(WAVEHDR));
        if (result == MMSYSERR_NOERROR)
            result = waveInAddBuffer(m_WaveIn, header, sizeof(WAVEHDR));
        if (result == MMSYSERR_NOERROR)
            return;
        WaveInErrorMsg(result, "in OnWIM_DATA()");
        if (result == MMSYSERR_NODRIVER)
            m_bDeviceLost = true;
        waveInUnprepareHeader(m_WaveIn, header, sizeof(WAVEHDR));
    }
    RetireHeader(header);
}

void CSoundIn::RetireHeader(WAVEHDR* header) {
    std::free(header->lpData);
    std::free(header);
    {
        std::lock_guard<std::mutex> guard(m_RetireLock);
        --m_QueuedBuffers;
    }
    m_Retired.notify_all();
}

void CSoundIn::Stop() {
    if (!m_bStarted)
        return;
    // Once the audio played up to now has arrived, the source stops. Audio the device still holds
    // because the callback fell behind goes out through the buffers as they keep cycling. Then the reset
    // hands back every buffer with what it holds, the one being filled included; while draining, the worker
    // passes each one's recorded bytes on and retires it instead of queueing it again. A stop so keeps
    // everything captured up to it. A failed stop or reset leaves the capture started as it was.
    WaitForNextDelivery();
    MMRESULT result = waveInStop(m_WaveIn);
    if (result == MMSYSERR_NOERROR) {
        WaitForPendingAudio();
        m_bDraining = true;
        result = waveInReset(m_WaveIn);
    }
    if (result != MMSYSERR_NOERROR) {
        m_bDraining = false;
        WaveInErrorMsg(result, "in Stop()");
        return;
    }
    WaitForRetirement();
    // From here a buffer that still comes back is freed without reaching the callback.
    m_bStarted = false;
    m_bDraining = false;
    CloseDevice();
}

void CSoundIn::WaitForNextDelivery() {
    // The sound server sends audio a fragment at a time: what was played up to now arrives with
    // the next delivery, at most one fragment later. Without it the last moments before the stop
    // would be missing from the file.
    const uint64_t before = platform::WaveInDeliveries(m_WaveIn);
    const auto deadline = std::chrono::steady_clock::now() + 3 * std::chrono::milliseconds(kFragmentMs);
    while (!m_bDeviceLost && platform::WaveInDeliveries(m_WaveIn) == before &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void CSoundIn::WaitForPendingAudio() {
    // Patience counts from the last progress, as for retirement: a slow write is waited for.
    auto deadline = std::chrono::steady_clock::now() + kRetireTimeout;
    size_t pending = platform::WaveInPendingBytes(m_WaveIn);
    // Without buffers in circulation (every one failed to go back) nothing can take it.
    while (pending > 0 && m_QueuedBuffers.load() > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const size_t left = platform::WaveInPendingBytes(m_WaveIn);
        if (left < pending || m_bInCallback)
            deadline = std::chrono::steady_clock::now() + kRetireTimeout;
        pending = left;
    }
}

void CSoundIn::WaitForRetirement() {
    // Wait for the worker to retire every buffer the reset handed back, rather than a fixed
    // pause. A buffer the worker re-queued just before the flag cleared is handed back by a
    // further reset.
    auto deadline = std::chrono::steady_clock::now() + kRetireTimeout;
    std::unique_lock<std::mutex> guard(m_RetireLock);
    while (m_QueuedBuffers.load() > 0 && std::chrono::steady_clock::now() < deadline) {
        // Patience counts from the callback's end: a slow write is waited for, however long.
        if (m_bInCallback)
            deadline = std::chrono::steady_clock::now() + kRetireTimeout;
        if (m_Retired.wait_for(guard, std::chrono::milliseconds(100),
                               [this] { return m_QueuedBuffers.load() <= 0; }))
            break;
        guard.unlock();
        waveInReset(m_WaveIn);
        guard.lock();
    }
}

void CSoundIn::CloseDevice() {
    if (!m_WaveIn)
        return;
    m_DroppedBytes = m_WaveIn->OverrunBytes();
    MMRESULT result = waveInClose(m_WaveIn);
    if (result != MMSYSERR_NOERROR) {
        WaveInErrorMsg(result, "in Stop()");
        return;
    }
    m_WaveIn = nullptr;
}

void CSoundIn::WaveInErrorMsg(MMRESULT result, const char* context) {
    char text[100];
    waveInGetErrorText(result, text, sizeof text);
    {
        std::lock_guard<std::mutex> guard(m_ErrorLock);
        m_LastError = {result, context, text};
    }
    std::fprintf(stderr, "QuorRecorder capture: %s %s\n", text, context);
}

CSoundIn::ErrorReport CSoundIn::LastError() const {
    std::lock_guard<std::mutex> guard(m_ErrorLock);
    return m_LastError;
}
