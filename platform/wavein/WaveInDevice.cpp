// One open capture's queue: buffers handed to it, filled in order from what the driver delivers,
// and returned through the callback chosen at open.
#include "platform/wavein/WaveInDevice.h"

#include "platform/thread/MessageThread.h"

#include <algorithm>
#include <cstring>

namespace {
// How long the owner may be late handing buffers back before audio is dropped.
constexpr uint32_t kBacklogSeconds = 2;
} // namespace

WaveInDevice::WaveInDevice(const WAVEFORMATEX& format, uintptr_t callback, uintptr_t instance, uint32_t flags)
    : m_Format(format), m_Callback(callback), m_Instance(instance), m_Flags(flags),
      m_BacklogLimit(static_cast<size_t>(format.nAvgBytesPerSec) * kBacklogSeconds) {
    m_Done.reserve(16);
}

uint64_t WaveInDevice::OverrunBytes() {
    std::lock_guard<std::mutex> guard(m_QueueLock);
    return m_OverrunBytes;
}

size_t WaveInDevice::PendingBytes() {
    std::lock_guard<std::mutex> guard(m_QueueLock);
    return m_Backlog.size();
}

uint64_t WaveInDevice::Deliveries() {
    std::lock_guard<std::mutex> guard(m_QueueLock);
    return m_Deliveries;
}

void WaveInDevice::Notify(uint32_t msg, WAVEHDR* header) {
    switch (m_Flags & CALLBACK_TYPEMASK) {
    case CALLBACK_FUNCTION:
        if (m_Callback)
            reinterpret_cast<WaveInProc>(m_Callback)(this, msg, m_Instance,
                                                     reinterpret_cast<uintptr_t>(header), 0);
        break;
    case CALLBACK_THREAD:
        platform::PostThreadMessage(static_cast<uint32_t>(m_Callback), msg, reinterpret_cast<uintptr_t>(this),
                                    reinterpret_cast<intptr_t>(header));
        break;
    default:
        break;
    }
}

void WaveInDevice::NotifyOpen() {
    Notify(WIM_OPEN, nullptr);
}

void WaveInDevice::ReturnDone() {
    for (WAVEHDR* header : m_Done)
        Notify(WIM_DATA, header);
    m_Done.clear();
}

MMRESULT WaveInDevice::AddBuffer(WAVEHDR* header) {
    {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        if (m_Lost)
            return MMSYSERR_NODRIVER;
        if (!(header->dwFlags & WHDR_PREPARED))
            return WAVERR_UNPREPARED;
        if (header->dwFlags & WHDR_INQUEUE)
            return WAVERR_STILLPLAYING;
        header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
        header->dwBytesRecorded = 0;
        m_Queue.push_back(header);
        // Usually nothing waits: the buffer only joins the queue, without the deliver lock, so an
        // owner handing buffers back never waits for a delivery that is still returning others.
        if (m_Backlog.empty())
            return MMSYSERR_NOERROR;
    }
    // Audio waits for buffers, after a stop too: fill from it now, returned in order with the
    // deliveries.
    std::lock_guard<std::mutex> deliver(m_DeliverLock);
    {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        FillFromBacklogLocked();
    }
    ReturnDone();
    return MMSYSERR_NOERROR;
}

size_t WaveInDevice::FillLocked(const char* from, size_t available) {
    size_t taken = 0;
    while (taken < available && !m_Queue.empty()) {
        WAVEHDR* header = m_Queue.front();
        size_t n = std::min<size_t>(header->dwBufferLength - header->dwBytesRecorded, available - taken);
        char* to = header->lpData + header->dwBytesRecorded;
        if (from)
            std::memcpy(to, from + taken, n);
        else
            std::memset(to, 0, n);
        header->dwBytesRecorded += static_cast<uint32_t>(n);
        taken += n;
        if (header->dwBytesRecorded == header->dwBufferLength) {
            m_Queue.pop_front();
            header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
            m_Done.push_back(header);
        }
    }
    return taken;
}

void WaveInDevice::FillFromBacklogLocked() {
    const size_t taken = FillLocked(m_Backlog.data(), m_Backlog.size());
    m_Backlog.erase(m_Backlog.begin(), m_Backlog.begin() + static_cast<ptrdiff_t>(taken));
}

void WaveInDevice::Deliver(const void* data, size_t bytes) {
    std::lock_guard<std::mutex> deliver(m_DeliverLock);
    {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        if (!m_Started)
            return;
        FillFromBacklogLocked();
        const char* from = static_cast<const char*>(data);
        size_t fresh = m_Backlog.empty() ? FillLocked(from, bytes) : 0;
        // What found no buffer waits for the next ones, unless even the backlog is full.
        size_t keep = std::min(bytes - fresh, m_BacklogLimit - std::min(m_BacklogLimit, m_Backlog.size()));
        if (keep > 0 && m_Backlog.capacity() < m_BacklogLimit)
            m_Backlog.reserve(m_BacklogLimit); // once: from then on the backlog allocates nothing
        if (from)
            m_Backlog.insert(m_Backlog.end(), from + fresh, from + fresh + keep);
        else
            m_Backlog.insert(m_Backlog.end(), keep, '\0');
        m_OverrunBytes += bytes - fresh - keep;
        ++m_Deliveries;
    }
    ReturnDone();
}

bool WaveInDevice::IsStarted() {
    std::lock_guard<std::mutex> guard(m_QueueLock);
    return m_Started;
}

MMRESULT WaveInDevice::Start() {
    {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        if (m_Lost)
            return MMSYSERR_NODRIVER;
        m_Started = true;
    }
    MMRESULT result = StartSource();
    if (result != MMSYSERR_NOERROR) {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        m_Started = false;
    }
    return result;
}

bool WaveInDevice::IsLost() {
    std::lock_guard<std::mutex> guard(m_QueueLock);
    return m_Lost;
}

void WaveInDevice::Lose() {
    std::lock_guard<std::mutex> deliver(m_DeliverLock);
    {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        m_Lost = true;
        m_Started = false;
        m_Backlog.clear();
        for (WAVEHDR* header : m_Queue) {
            header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
            m_Done.push_back(header);
        }
        m_Queue.clear();
    }
    ReturnDone();
}

MMRESULT WaveInDevice::Halt(bool everyBuffer) {
    // A lost source has nothing left to stop: the queue is all there is to settle.
    MMRESULT result = IsLost() ? MMSYSERR_NOERROR : everyBuffer ? ResetSource() : StopSource();
    if (result != MMSYSERR_NOERROR && !IsLost())
        return result;
    std::lock_guard<std::mutex> deliver(m_DeliverLock);
    {
        std::lock_guard<std::mutex> guard(m_QueueLock);
        // Audio that waited for buffers goes into the queued ones first. A stop keeps the rest
        // for buffers handed back later; a reset drops it, and counts it.
        FillFromBacklogLocked();
        if (everyBuffer) {
            m_OverrunBytes += m_Backlog.size();
            m_Backlog.clear();
        }
        m_Started = false;
        // A stop hands back the buffer being filled, with what it holds; empty ones stay queued.
        // A reset hands back every one.
        bool handedBack = false;
        while (!m_Queue.empty() && (everyBuffer || (!handedBack && m_Queue.front()->dwBytesRecorded > 0))) {
            WAVEHDR* header = m_Queue.front();
            m_Queue.pop_front();
            header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
            m_Done.push_back(header);
            handedBack = true;
        }
    }
    ReturnDone();
    return MMSYSERR_NOERROR;
}

MMRESULT WaveInDevice::Stop() {
    return Halt(false);
}
MMRESULT WaveInDevice::Reset() {
    return Halt(true);
}

size_t WaveInDevice::QueuedCount() {
    std::lock_guard<std::mutex> guard(m_QueueLock);
    return m_Queue.size();
}

MMRESULT WaveInDevice::Close() {
    if (QueuedCount() != 0)
        return WAVERR_STILLPLAYING;
    MMRESULT result = CloseSource();
    if (result != MMSYSERR_NOERROR)
        return result;
    Notify(WIM_CLOSE, nullptr);
    return MMSYSERR_NOERROR;
}
