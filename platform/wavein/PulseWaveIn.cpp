// Wave input over PulseAudio: one record stream per open capture, fed on the main loop thread.
#include "platform/pulse/PulseConnection.h"
#include "platform/wavein/ApplicationCapture.h"
#include "platform/wavein/CaptureSource.h"
#include "platform/wavein/OutputFollower.h"
#include "platform/wavein/WaveInDevice.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>

namespace {

using platform::PulseConnection;
using std::chrono::milliseconds;

std::mutex g_sourceLock;
// Never destroyed, as the set below: the main loop thread may read it while the process exits.
std::string& g_sourceName = *new std::string;

class PulseWaveInDevice;
// Open devices, for moving them to a newly selected source. Guarded by the main loop lock.
// Never destroyed: the main loop thread may still look here while the process exits.
std::set<PulseWaveInDevice*>& g_openDevices = *new std::set<PulseWaveInDevice*>;

class PulseWaveInDevice final : public WaveInDevice {
public:
    PulseWaveInDevice(const WAVEFORMATEX& format, uintptr_t callback, uintptr_t instance, uint32_t flags)
        : WaveInDevice(format, callback, instance, flags) {}

    MMRESULT Connect(const std::string& sourceName) {
        PulseConnection& pulse = PulseConnection::Instance();
        PulseConnection::Lock lock(pulse);
        if (auto application = platform::ApplicationOfSourceName(sourceName)) {
            // An application that plays nothing yet is recorded as silence until it does.
            CaptureApplicationLocked(*application);
            g_openDevices.insert(this);
            return MMSYSERR_NOERROR;
        }
        if (int error = NewStreamLocked(sourceName, true))
            return FailLocked(error);

        auto deadline = std::chrono::steady_clock::now() + milliseconds(3000);
        for (;;) {
            pa_stream_state_t state = pa_stream_get_state(m_Stream);
            if (state == PA_STREAM_READY)
                break;
            if (!PA_STREAM_IS_GOOD(state))
                return FailLocked(pa_context_errno(pulse.Context()));
            auto left = deadline - std::chrono::steady_clock::now();
            if (left <= milliseconds(0))
                return FailLocked(PA_ERR_TIMEOUT);
            pulse.WaitLocked(std::chrono::duration_cast<milliseconds>(left));
        }
        g_openDevices.insert(this);
        FollowDefaultOutputLocked(pulse);
        return MMSYSERR_NOERROR;
    }

    // Main loop thread: asks the server to move the stream and does not wait for the answer.
    void MoveLaterLocked(const std::string& sourceName) {
        if (!m_Stream || pa_stream_get_state(m_Stream) != PA_STREAM_READY)
            return;
        const char* current = pa_stream_get_device_name(m_Stream);
        if (current && sourceName == current)
            return;
        if (pa_operation* op = pa_context_move_source_output_by_name(PulseConnection::Instance().Context(),
                                                                     pa_stream_get_index(m_Stream),
                                                                     sourceName.c_str(), nullptr, nullptr))
            pa_operation_unref(op);
    }

    bool MoveToLocked(const std::string& sourceName) {
        PulseConnection& pulse = PulseConnection::Instance();
        if (auto application = platform::ApplicationOfSourceName(sourceName)) {
            DropStreamLocked();
            CaptureApplicationLocked(*application);
            return true;
        }
        if (m_Application) {
            // From an application back to a source: a stream of its own, running as the
            // capture ran.
            m_Application.reset();
            return NewStreamLocked(sourceName, !IsStarted()) == 0 && WaitReadyLocked();
        }
        if (!m_Stream || pa_stream_get_state(m_Stream) != PA_STREAM_READY)
            return false;
        uint32_t index = pa_stream_get_index(m_Stream);
        pa_operation* op = pa_context_move_source_output_by_name(
            pulse.Context(), index, sourceName.c_str(),
            [](pa_context*, int success, void* ok) { *static_cast<int*>(ok) = success; }, &m_MoveResult);
        m_MoveResult = 0;
        return pulse.WaitOperationLocked(op) && m_MoveResult;
    }

    MMRESULT SetFragment(uint32_t fragmentMs) override {
        PulseConnection& pulse = PulseConnection::Instance();
        PulseConnection::Lock lock(pulse);
        m_FragmentMs = fragmentMs;
        if (m_Application)
            m_Application->SetFragment(fragmentMs);
        if (!m_Stream || pa_stream_get_state(m_Stream) != PA_STREAM_READY)
            return MMSYSERR_NOERROR; // a stream still connecting or made later asks for it itself
        pa_buffer_attr attr = BufferAttr();
        return pulse.WaitOperationLocked(pa_stream_set_buffer_attr(m_Stream, &attr, nullptr, nullptr))
                   ? MMSYSERR_NOERROR
                   : MMSYSERR_ERROR;
    }

protected:
    MMRESULT StartSource() override { return Cork(false, false); }
    MMRESULT StopSource() override { return Cork(true, false); }
    MMRESULT ResetSource() override { return Cork(true, true); }

    MMRESULT CloseSource() override {
        PulseConnection& pulse = PulseConnection::Instance();
        PulseConnection::Lock lock(pulse);
        DisconnectLocked();
        return MMSYSERR_NOERROR;
    }

public:
    ~PulseWaveInDevice() override {
        PulseConnection::Lock lock(PulseConnection::Instance());
        DisconnectLocked();
    }

private:
    // Small fragments keep the spectrum live; without fragsize data comes in 2 s lumps.
    pa_buffer_attr BufferAttr() const {
        pa_buffer_attr attr;
        attr.maxlength = static_cast<uint32_t>(-1);
        const uint64_t bytes = uint64_t(m_FragmentMs) * Format().nAvgBytesPerSec / 1000;
        attr.fragsize = static_cast<uint32_t>(std::min<uint64_t>(bytes, 1u << 30));
        attr.fragsize -= attr.fragsize % std::max<uint32_t>(Format().nBlockAlign, 1);
        attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
        return attr;
    }

    // Lock held: a record stream on the source, connecting (not waited for). A PulseAudio error
    // code when it cannot even be asked for, else 0.
    int NewStreamLocked(const std::string& sourceName, bool corked) {
        pa_sample_spec sampleSpec{};
        sampleSpec.format = Format().wBitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
        sampleSpec.rate = Format().nSamplesPerSec;
        sampleSpec.channels = static_cast<uint8_t>(Format().nChannels);
        pa_context* context = PulseConnection::Instance().Context();
        m_Stream = pa_stream_new(context, "QuorRecorder capture", &sampleSpec, nullptr);
        if (!m_Stream)
            return PA_ERR_INTERNAL;
        pa_stream_set_state_callback(m_Stream, &OnState, this);
        pa_stream_set_read_callback(m_Stream, &OnRead, this);
        pa_stream_set_moved_callback(m_Stream, &OnMoved, this);
        pa_stream_set_suspended_callback(m_Stream, &OnSuspended, this);

        pa_buffer_attr attr = BufferAttr();
        auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                    (corked ? PA_STREAM_START_CORKED : PA_STREAM_NOFLAGS));
        // Always by name: a capture on the server's default source would record the microphone.
        if (pa_stream_connect_record(m_Stream, sourceName.c_str(), &attr, flags) < 0)
            return pa_context_errno(context);
        return 0;
    }

    // Main loop thread, lock held: the server moved a capture away from the source the user
    // chose (PipeWire does so for a stream it took as following the default, and then ignores a
    // move back to a target the stream already names). A new stream on the chosen source takes
    // its place, in the same running state.
    void ReopenLaterLocked(const std::string& sourceName) {
        const bool corked = m_Stream && pa_stream_is_corked(m_Stream) == 1;
        DropStreamLocked();
        if (NewStreamLocked(sourceName, corked) != 0)
            Lose();
    }

    MMRESULT FailLocked(int paError) {
        DisconnectLocked();
        switch (paError) {
        case PA_ERR_NOENTITY:
            return MMSYSERR_BADDEVICEID;
        case PA_ERR_NOTSUPPORTED:
        case PA_ERR_INVALID:
            return WAVERR_BADFORMAT;
        case PA_ERR_CONNECTIONREFUSED:
        case PA_ERR_CONNECTIONTERMINATED:
            return MMSYSERR_NODRIVER;
        default:
            return MMSYSERR_ALLOCATED;
        }
    }

    void DisconnectLocked() {
        g_openDevices.erase(this);
        DropStreamLocked();
    }

    // Lock held, not on the main loop thread: records the application from now on.
    void CaptureApplicationLocked(const platform::ApplicationId& application) {
        m_Application.reset();
        m_Application = std::make_unique<platform::ApplicationCapture>(
            application, Format().nSamplesPerSec, static_cast<uint8_t>(Format().nChannels),
            static_cast<uint8_t>(Format().wBitsPerSample), m_FragmentMs,
            [this](const void* data, size_t bytes) { Deliver(data, bytes); }, [this] { Lose(); });
    }

    // Lock held: waits until the new stream runs; false when it fails or takes too long.
    bool WaitReadyLocked() {
        PulseConnection& pulse = PulseConnection::Instance();
        const auto deadline = std::chrono::steady_clock::now() + milliseconds(3000);
        while (m_Stream && pa_stream_get_state(m_Stream) == PA_STREAM_CREATING &&
               std::chrono::steady_clock::now() < deadline)
            pulse.WaitLocked(milliseconds(50));
        return m_Stream && pa_stream_get_state(m_Stream) == PA_STREAM_READY;
    }

    void DropStreamLocked() {
        m_Application.reset();
        if (!m_Stream)
            return;
        FollowSuspensionLocked(false);
        pa_stream_set_state_callback(m_Stream, nullptr, nullptr);
        pa_stream_set_read_callback(m_Stream, nullptr, nullptr);
        pa_stream_set_moved_callback(m_Stream, nullptr, nullptr);
        pa_stream_set_suspended_callback(m_Stream, nullptr, nullptr);
        if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_Stream)))
            pa_stream_disconnect(m_Stream);
        pa_stream_unref(m_Stream);
        m_Stream = nullptr;
    }

    MMRESULT Cork(bool cork, bool flush) {
        PulseConnection& pulse = PulseConnection::Instance();
        PulseConnection::Lock lock(pulse);
        if (m_Application) {
            // Its monitor streams run on; what arrives while stopped is dropped by Deliver.
            if (!cork)
                m_Application->Restart();
            if (flush)
                m_Application->Flush();
            return MMSYSERR_NOERROR;
        }
        // A stream reopened on the chosen source may still be connecting.
        if (!WaitReadyLocked())
            return MMSYSERR_ERROR;
        if (!pulse.WaitOperationLocked(pa_stream_cork(m_Stream, cork ? 1 : 0, nullptr, nullptr)))
            return MMSYSERR_ERROR;
        if (flush)
            pulse.WaitOperationLocked(pa_stream_flush(m_Stream, nullptr, nullptr));
        return MMSYSERR_NOERROR;
    }

    // Main loop thread, lock held. A stream that was running and fails or ends without our
    // disconnect has lost its source (server gone, source removed).
    static void OnState(pa_stream* stream, void* self) {
        auto* device = static_cast<PulseWaveInDevice*>(self);
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) {
            device->m_WasReady = true;
            // A source suspended before the stream came sends no notice of it.
            device->FollowSuspensionLocked(pa_stream_is_suspended(stream) == 1);
        } else if (!PA_STREAM_IS_GOOD(state) && device->m_WasReady) {
            device->Lose();
        }
        PulseConnection::Instance().SignalLocked();
    }

    // Main loop thread, lock held. A suspended source (an output the user or the server put to
    // sleep) sends nothing, but it has not gone away: the capture records silence meanwhile, so a
    // recording keeps its length in time and its owner sees it going on.
    static void OnSuspended(pa_stream* stream, void* self) {
        static_cast<PulseWaveInDevice*>(self)->FollowSuspensionLocked(pa_stream_is_suspended(stream) == 1);
    }

    void FollowSuspensionLocked(bool suspended) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(PulseConnection::Instance().Mainloop());
        if (!suspended) {
            if (m_SilenceTimer)
                api->time_free(m_SilenceTimer);
            m_SilenceTimer = nullptr;
            return;
        }
        if (m_SilenceTimer)
            return;
        m_SilenceSince = std::chrono::steady_clock::now();
        m_SilenceFrames = 0;
        timeval when = SilenceWake();
        m_SilenceTimer = api->time_new(api, &when, &OnSilenceTimer, this);
    }

    timeval SilenceWake() const {
        timeval when;
        pa_gettimeofday(&when);
        pa_timeval_add(&when,
                       static_cast<pa_usec_t>(std::max<uint32_t>(m_FragmentMs, 10)) * PA_USEC_PER_MSEC);
        return when;
    }

    // Main loop thread: the silence of the time since the last one, in whole frames. Bytes that
    // arrive while no recording runs are dropped by Deliver itself.
    static void OnSilenceTimer(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self) {
        auto* device = static_cast<PulseWaveInDevice*>(self);
        const auto elapsed = std::chrono::steady_clock::now() - device->m_SilenceSince;
        const uint64_t frames =
            static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() *
                                  static_cast<int64_t>(device->Format().nSamplesPerSec) / 1000000);
        if (frames > device->m_SilenceFrames) {
            const uint64_t fresh = frames - device->m_SilenceFrames;
            device->m_SilenceFrames = frames;
            device->Deliver(nullptr, fresh * std::max<uint16_t>(device->Format().nBlockAlign, 1));
        }
        timeval when = device->SilenceWake();
        api->time_restart(event, &when);
    }

    // Main loop thread, lock held. PulseAudio carries a stream on its default source along when
    // the default changes: a chosen source is taken back, a following capture goes to the output.
    static void OnMoved(pa_stream* stream, void* self) {
        // The new source may be asleep, or awake where the old one slept.
        static_cast<PulseWaveInDevice*>(self)->FollowSuspensionLocked(pa_stream_is_suspended(stream) == 1);
        const std::string chosen = platform::CaptureSourceName();
        if (chosen.empty()) {
            platform::RefollowLocked(PulseConnection::Instance());
            return;
        }
        const char* now = pa_stream_get_device_name(stream);
        if (now && chosen == now)
            return;
        // Back to the chosen source if it is still there; a source that went away leaves the
        // capture where the server put it rather than ending it.
        auto found = [](pa_context*, const pa_source_info* info, int eol, void* device) {
            if (eol || !info || !g_openDevices.count(static_cast<PulseWaveInDevice*>(device)))
                return;
            if (platform::CaptureSourceName() == info->name)
                static_cast<PulseWaveInDevice*>(device)->ReopenLaterLocked(info->name);
        };
        if (pa_operation* op = pa_context_get_source_info_by_name(PulseConnection::Instance().Context(),
                                                                  chosen.c_str(), found, self))
            pa_operation_unref(op);
    }

    // Main loop thread, lock held.
    static void OnRead(pa_stream* stream, size_t, void* self) {
        auto* device = static_cast<PulseWaveInDevice*>(self);
        const void* data;
        size_t bytes;
        while (pa_stream_readable_size(stream) > 0) {
            if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0)
                break;
            // A hole in the stream is silence: keep the timeline instead of closing the gap.
            device->Deliver(data, bytes);
            pa_stream_drop(stream);
        }
    }

    pa_stream* m_Stream = nullptr;
    // While an application is the source: its capture, in place of m_Stream.
    std::unique_ptr<platform::ApplicationCapture> m_Application;
    // While the source is suspended: the timer that delivers its silence, and how much it gave.
    pa_time_event* m_SilenceTimer = nullptr;
    std::chrono::steady_clock::time_point m_SilenceSince;
    uint64_t m_SilenceFrames = 0;
    uint32_t m_FragmentMs = 20;
    bool m_WasReady = false;
    int m_MoveResult = 0;
};

class PulseDriver final : public WaveInDriver {
public:
    MMRESULT Open(WaveInDevice** device, uint32_t deviceId, const WAVEFORMATEX& format, uintptr_t callback,
                  uintptr_t instance, uint32_t flags) override {
        if (deviceId != WAVE_MAPPER && deviceId != 0)
            return MMSYSERR_BADDEVICEID;
        if (format.wFormatTag != WAVE_FORMAT_PCM ||
            (format.wBitsPerSample != 16 && format.wBitsPerSample != 8) || format.nChannels < 1 ||
            format.nChannels > 2 || format.nSamplesPerSec < 1000 || format.nSamplesPerSec > 384000 ||
            format.nBlockAlign != format.nChannels * (format.wBitsPerSample / 8))
            return WAVERR_BADFORMAT;
        if (!PulseConnection::Instance().EnsureConnected())
            return MMSYSERR_NODRIVER;

        auto opened = std::make_unique<PulseWaveInDevice>(format, callback, instance, flags);
        const std::string chosen = platform::CaptureSourceName();
        MMRESULT result = chosen.empty() ? MMSYSERR_BADDEVICEID : opened->Connect(chosen);
        // Nothing chosen, or the chosen source has gone away: the default output's monitor. With
        // no output there is nothing to record (a microphone would only give silence).
        if (result == MMSYSERR_BADDEVICEID) {
            std::string monitor;
            {
                PulseConnection::Lock lock(PulseConnection::Instance());
                monitor = platform::DefaultOutputMonitorLocked(PulseConnection::Instance());
            }
            if (!monitor.empty())
                result = opened->Connect(monitor);
        }
        if (result != MMSYSERR_NOERROR)
            return result;
        *device = opened.release();
        return MMSYSERR_NOERROR;
    }
};

} // namespace

namespace platform {

WaveInDriver& PulseWaveInDriver() {
    static PulseDriver driver;
    return driver;
}

std::string CaptureSourceName() {
    std::lock_guard<std::mutex> guard(g_sourceLock);
    return g_sourceName;
}

bool SelectCaptureSource(const std::string& sourceName) {
    bool changed;
    {
        std::lock_guard<std::mutex> guard(g_sourceLock);
        changed = g_sourceName != sourceName;
        g_sourceName = sourceName;
    }
    PulseConnection& pulse = PulseConnection::Instance();
    PulseConnection::Lock lock(pulse);
    if (changed)
        ResetApplicationEventsLocked();
    if (!pulse.IsReadyLocked())
        return g_openDevices.empty();
    const std::string target = sourceName.empty() ? DefaultOutputMonitorLocked(pulse) : sourceName;
    if (target.empty())
        return g_openDevices.empty();
    bool all = true;
    for (PulseWaveInDevice* device : g_openDevices)
        all = device->MoveToLocked(target) && all;
    return all;
}

void MoveFollowingCapturesLocked(const std::string& monitor) {
    if (!CaptureSourceName().empty())
        return; // a chosen source stays
    for (PulseWaveInDevice* device : g_openDevices)
        device->MoveLaterLocked(monitor);
}

} // namespace platform
