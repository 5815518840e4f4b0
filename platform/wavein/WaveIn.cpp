// The waveIn* calls: handle checks and header flags over the installed driver; the buffer queue
// of an open capture is WaveInDevice's.
#include "platform/wavein/WaveIn.h"

#include "platform/wavein/WaveInDevice.h"

#include <cstdio>
#include <mutex>
#include <unordered_set>

namespace {

std::mutex g_driverLock;
WaveInDriver* g_driver = nullptr;

// Live handles, so that a stale or foreign handle is refused instead of followed.
std::mutex g_handlesLock;
std::unordered_set<WaveInDevice*> g_handles;

bool IsLive(HWAVEIN device) {
    std::lock_guard<std::mutex> guard(g_handlesLock);
    return device && g_handles.count(device) != 0;
}

bool IsHeaderArg(const WAVEHDR* header, uint32_t size) {
    return header && size >= sizeof(WAVEHDR) && header->lpData && header->dwBufferLength > 0;
}

} // namespace

namespace platform {
WaveInDriver* SetWaveInDriver(WaveInDriver* driver) {
    std::lock_guard<std::mutex> guard(g_driverLock);
    WaveInDriver* previous = g_driver;
    g_driver = driver;
    return previous;
}
} // namespace platform

MMRESULT waveInOpen(HWAVEIN* device, uint32_t deviceId, const WAVEFORMATEX* format, uintptr_t callback,
                    uintptr_t instance, uint32_t flags) {
    if (!format)
        return MMSYSERR_INVALPARAM;
    uint32_t kind = flags & CALLBACK_TYPEMASK;
    if (kind == CALLBACK_WINDOW || kind > CALLBACK_FUNCTION)
        return MMSYSERR_INVALFLAG;
    WaveInDriver* driver;
    {
        std::lock_guard<std::mutex> guard(g_driverLock);
        driver = g_driver ? g_driver : &platform::PulseWaveInDriver();
    }
    WaveInDevice* opened = nullptr;
    MMRESULT result = driver->Open(&opened, deviceId, *format, callback, instance, flags);
    if (result != MMSYSERR_NOERROR)
        return result;
    {
        std::lock_guard<std::mutex> guard(g_handlesLock);
        g_handles.insert(opened);
    }
    if (device)
        *device = opened;
    opened->NotifyOpen();
    return MMSYSERR_NOERROR;
}

MMRESULT waveInPrepareHeader(HWAVEIN device, WAVEHDR* header, uint32_t headerSize) {
    if (!IsLive(device))
        return MMSYSERR_INVALHANDLE;
    if (!IsHeaderArg(header, headerSize))
        return MMSYSERR_INVALPARAM;
    if (MMRESULT refused = device->Check(WaveInDevice::Call::Prepare))
        return refused;
    if (device->IsLost())
        return MMSYSERR_NODRIVER;
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT waveInUnprepareHeader(HWAVEIN device, WAVEHDR* header, uint32_t headerSize) {
    if (!IsLive(device))
        return MMSYSERR_INVALHANDLE;
    if (!header || headerSize < sizeof(WAVEHDR))
        return MMSYSERR_INVALPARAM;
    if (header->dwFlags & WHDR_INQUEUE)
        return WAVERR_STILLPLAYING;
    if (MMRESULT refused = device->Check(WaveInDevice::Call::Unprepare))
        return refused;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT waveInAddBuffer(HWAVEIN device, WAVEHDR* header, uint32_t headerSize) {
    if (!IsLive(device))
        return MMSYSERR_INVALHANDLE;
    if (!IsHeaderArg(header, headerSize))
        return MMSYSERR_INVALPARAM;
    if (MMRESULT refused = device->Check(WaveInDevice::Call::AddBuffer))
        return refused;
    return device->AddBuffer(header);
}

namespace {
template <typename Op> MMRESULT Checked(HWAVEIN device, WaveInDevice::Call call, Op op) {
    if (!IsLive(device))
        return MMSYSERR_INVALHANDLE;
    if (MMRESULT refused = device->Check(call))
        return refused;
    return op();
}
} // namespace

MMRESULT waveInStart(HWAVEIN device) {
    return Checked(device, WaveInDevice::Call::Start, [&] { return device->Start(); });
}
MMRESULT waveInStop(HWAVEIN device) {
    return Checked(device, WaveInDevice::Call::Stop, [&] { return device->Stop(); });
}
MMRESULT waveInReset(HWAVEIN device) {
    return Checked(device, WaveInDevice::Call::Reset, [&] { return device->Reset(); });
}

MMRESULT waveInClose(HWAVEIN device) {
    MMRESULT result = Checked(device, WaveInDevice::Call::Close, [&] { return device->Close(); });
    if (result != MMSYSERR_NOERROR)
        return result;
    {
        std::lock_guard<std::mutex> guard(g_handlesLock);
        g_handles.erase(device);
    }
    delete device;
    return MMSYSERR_NOERROR;
}

MMRESULT platform::SetWaveInFragment(HWAVEIN device, uint32_t milliseconds) {
    if (!IsLive(device))
        return MMSYSERR_INVALHANDLE;
    if (milliseconds == 0)
        return MMSYSERR_INVALPARAM;
    return device->SetFragment(milliseconds);
}

size_t platform::WaveInPendingBytes(HWAVEIN device) {
    return IsLive(device) ? device->PendingBytes() : 0;
}

uint64_t platform::WaveInDeliveries(HWAVEIN device) {
    return IsLive(device) ? device->Deliveries() : 0;
}

MMRESULT waveInGetErrorText(MMRESULT error, char* text, uint32_t textSize) {
    if (!text || textSize == 0)
        return MMSYSERR_INVALPARAM;
    const char* message;
    switch (error) {
    case MMSYSERR_NOERROR:
        message = "The command completed successfully.";
        break;
    case MMSYSERR_ERROR:
        message = "The sound server reported an unspecified error.";
        break;
    case MMSYSERR_BADDEVICEID:
        message = "The capture source does not exist.";
        break;
    case MMSYSERR_ALLOCATED:
        message = "The capture source is busy or was refused by the sound server.";
        break;
    case MMSYSERR_INVALHANDLE:
        message = "The capture handle is not valid.";
        break;
    case MMSYSERR_NODRIVER:
        message = "No sound server is reachable (PulseAudio or PipeWire).";
        break;
    case MMSYSERR_NOMEM:
        message = "Out of memory.";
        break;
    case MMSYSERR_INVALFLAG:
        message = "An invalid flag was passed.";
        break;
    case MMSYSERR_INVALPARAM:
        message = "An invalid parameter was passed.";
        break;
    case WAVERR_BADFORMAT:
        message = "The sound format is not supported.";
        break;
    case WAVERR_STILLPLAYING:
        message = "Buffers are still queued on the capture.";
        break;
    case WAVERR_UNPREPARED:
        message = "The buffer was not prepared.";
        break;
    default:
        std::snprintf(text, textSize, "Unknown wave input error %u.", error);
        return MMSYSERR_BADERRNUM;
    }
    std::snprintf(text, textSize, "%s", message);
    return MMSYSERR_NOERROR;
}
