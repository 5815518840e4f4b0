// The monitor capture of the Recorder: sixteen buffers allocated once, cycling for the whole run.
#include "recorder/engine/Recorder.h"

#include "platform/thread/ThreadPriority.h"

#include <algorithm>
#include <chrono>

Recorder::Recorder(int frames) : m_MonitorBufferBytes(frames * 32 / 8) {
    m_Capture.DataFromSoundIn = &Recorder::ReceiveCaptured;
    m_Capture.m_pOwner = this;
}

Recorder::~Recorder() {
    // A recording still running when its owner goes is finished, never lost.
    if (m_bRecording) {
        m_bRecording = false;
        m_bPaused = true;
        m_Capture.Stop();
        uint64_t dataBytes = 0;
        FinishFiles(&dataBytes);
    }
    StopMonitor();
    CloseMonitor();
}

MMRESULT Recorder::OpenMonitor(WaveInProc routine, uint32_t mode, uint32_t deviceId) {
    if (m_bMonitorOpened)
        return MMSYSERR_NOERROR;
    if (!routine)
        routine = &Recorder::MonitorProc;
    m_MonitorRoutine = routine;
    m_MonitorMode = mode;
    m_MonitorDeviceId = deviceId;

    for (int i = 0; i < kMonitorBuffers; ++i) {
        if (!m_MonitorHeaders[i]) {
            m_MonitorHeaders[i] = std::make_unique<WAVEHDR>();
            m_MonitorData[i] = std::make_unique<char[]>(static_cast<size_t>(m_MonitorBufferBytes));
        }
        WAVEHDR& header = *m_MonitorHeaders[i];
        header = WAVEHDR{};
        header.lpData = m_MonitorData[i].get();
        header.dwBufferLength = static_cast<uint32_t>(m_MonitorBufferBytes);
        header.dwUser = reinterpret_cast<uintptr_t>(this);
    }

    m_MonitorFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_MonitorFormat.nChannels = m_MonitorChannels;
    m_MonitorFormat.nSamplesPerSec = static_cast<uint32_t>(m_MonitorSampleRate);
    m_MonitorFormat.wBitsPerSample = m_MonitorBitsPerSample;
    m_MonitorFormat.nBlockAlign = static_cast<uint16_t>(m_MonitorChannels * m_MonitorBitsPerSample / 8);
    m_MonitorFormat.nAvgBytesPerSec = m_MonitorFormat.nBlockAlign * m_MonitorFormat.nSamplesPerSec;
    m_MonitorFormat.cbSize = 0;

    HWAVEIN device = nullptr;
    MMRESULT result =
        waveInOpen(&device, deviceId, &m_MonitorFormat, reinterpret_cast<uintptr_t>(routine), 0, mode);
    if (result != MMSYSERR_NOERROR || !device)
        return result;
    m_MonitorDevice = device;
    // Two buffers per wake-up of the sound server's thread: each wake costs more than the bytes
    // it carries, and the worker shows the two a buffer's time apart (MonitorLoop).
    const uint32_t pairMs =
        (static_cast<uint32_t>(m_MonitorBufferBytes) * 2000 + m_MonitorFormat.nAvgBytesPerSec / 2) /
        std::max<uint32_t>(m_MonitorFormat.nAvgBytesPerSec, 1);
    platform::SetWaveInFragment(device, std::max<uint32_t>(pairMs, 1));
    m_FilledHeaders.Clear();
    m_bMonitorOpened = true;
    return MMSYSERR_NOERROR;
}

void Recorder::SetMonitorCallback(void* target, MonitorCallback callback) {
    m_MonitorTarget = target;
    m_MonitorCallback = callback;
}

MMRESULT Recorder::StartMonitor() {
    if (!m_bMonitorOpened || m_bMonitorRunning)
        return MMSYSERR_NOERROR;
    for (auto& header : m_MonitorHeaders) {
        MMRESULT result = waveInPrepareHeader(m_MonitorDevice, header.get(), sizeof(WAVEHDR));
        if (result == MMSYSERR_NOERROR)
            result = waveInAddBuffer(m_MonitorDevice, header.get(), sizeof(WAVEHDR));
        if (result != MMSYSERR_NOERROR)
            return result;
    }
    m_bMonitorRunning = true;
    m_MonitorThread = std::thread(&Recorder::MonitorLoop, this);
    return waveInStart(m_MonitorDevice);
}

void Recorder::MonitorProc(HWAVEIN, uint32_t msg, uintptr_t, uintptr_t param1, uintptr_t) {
    if (msg != WIM_DATA)
        return;
    auto* header = reinterpret_cast<WAVEHDR*>(param1);
    auto* self = reinterpret_cast<Recorder*>(header->dwUser);
    self->m_FilledHeaders.Push(header);
    self->m_MonitorEvent.Set();
}

void Recorder::MonitorLoop() {
    // The display must keep up with the capture.
    platform::RaiseCurrentThreadToHighestPriority();
    using Clock = std::chrono::steady_clock;
    // Buffers that come together are shown apart, at about the pace they were captured: the
    // picture of the first would otherwise be replaced before the window thread drew it. Only the
    // last one waiting is held back; a worker that fell behind catches up at once.
    const auto spacing = std::chrono::microseconds(int64_t(m_MonitorBufferBytes) * 750000 /
                                                   std::max<uint32_t>(m_MonitorFormat.nAvgBytesPerSec, 1));
    Clock::time_point lastFed;
    while (m_bMonitorRunning) {
        m_MonitorEvent.Wait();
        // Every buffer that filled since the last wake, oldest first, then back to the device.
        while (WAVEHDR* header = m_FilledHeaders.Pop()) {
            // A wake-up here (a new buffer, a stop) consumes no buffer: the loop still pops it.
            while (m_bMonitorRunning && m_FilledHeaders.Empty() && Clock::now() < lastFed + spacing)
                m_MonitorEvent.WaitUntil(lastFed + spacing);
            if (!m_bMonitorRunning)
                break;
            lastFed = Clock::now();
            // A device that lost its source hands its buffers back unfilled: nothing to show.
            if (m_MonitorCallback && header->dwBytesRecorded == header->dwBufferLength)
                m_MonitorCallback(m_MonitorTarget, header);
            waveInUnprepareHeader(m_MonitorDevice, header, sizeof(WAVEHDR));
            waveInPrepareHeader(m_MonitorDevice, header, sizeof(WAVEHDR));
            if (waveInAddBuffer(m_MonitorDevice, header, sizeof(WAVEHDR)) == MMSYSERR_NODRIVER)
                m_bMonitorLost = true;
        }
    }
}

void Recorder::StopMonitor() {
    if (m_MonitorThread.joinable()) {
        m_bMonitorRunning = false;
        m_MonitorEvent.Set();
        m_MonitorThread.join();
    }
    m_bMonitorRunning = false;
    if (m_bMonitorOpened) {
        waveInStop(m_MonitorDevice);
        waveInReset(m_MonitorDevice);
        for (auto& header : m_MonitorHeaders)
            waveInUnprepareHeader(m_MonitorDevice, header.get(), sizeof(WAVEHDR));
        m_FilledHeaders.Clear();
    }
}

MMRESULT Recorder::RestartMonitor() {
    StopMonitor();
    CloseMonitor();
    m_bMonitorLost = false;
    MMRESULT result = OpenMonitor(m_MonitorRoutine, m_MonitorMode, m_MonitorDeviceId);
    if (result == MMSYSERR_NOERROR)
        result = StartMonitor();
    return result;
}

void Recorder::CloseMonitor() {
    if (!m_bMonitorOpened)
        return;
    waveInClose(m_MonitorDevice);
    m_MonitorDevice = nullptr;
    m_bMonitorOpened = false;
}
