// One application's streams, each through its own monitor stream, mixed on the main loop thread.
#include "platform/wavein/ApplicationCapture.h"

#include "platform/pulse/Property.h"
#include "platform/pulse/PulseEvents.h"

#include <algorithm>
#include <mutex>

namespace platform {

namespace {

using std::chrono::milliseconds;

// An input that sent nothing for this long is paused (a player's pause corks its stream): the
// mix goes on without it, and when no input flows the time line goes on in silence.
constexpr milliseconds kStall(500);
// What one input may hold ahead of the others before its oldest audio is dropped.
constexpr uint32_t kMostAheadMs = 1000;

std::mutex g_stateLock;
// Never destroyed: the main loop thread mixes with it while the process may be exiting.
CaptureLevel& g_level = *new CaptureLevel;
ApplicationCaptureEvents g_events;
// Whether the chosen application had a program on the server at the last look; unknown at first.
int g_present = -1;

// Live captures by identifier: a server answer names its capture by identifier, so an answer to
// a capture that has gone finds nothing. Guarded by the main loop lock; never destroyed, as the
// main loop thread may still run while the process exits.
std::map<uint64_t, ApplicationCapture*>& g_live = *new std::map<uint64_t, ApplicationCapture*>;
uint64_t g_nextId = 1;

void* Tag(uint64_t id) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(id));
}

ApplicationCapture* Find(void* tag) {
    auto it = g_live.find(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(tag)));
    return it == g_live.end() ? nullptr : it->second;
}

ApplicationId IdOf(const pa_proplist* properties) {
    return {PropertyOf(properties, PA_PROP_APPLICATION_PROCESS_BINARY),
            PropertyOf(properties, PA_PROP_APPLICATION_NAME)};
}

void OnPulseEvent(pa_subscription_event_type_t type, uint32_t) {
    ApplicationCapture::OnServerEvent(type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK);
}

float Gain(uint32_t value, bool mute) {
    if (mute)
        return 0.0f;
    const uint64_t volume = (uint64_t(std::min<uint32_t>(value, 65535)) * PA_VOLUME_NORM + 32767) / 65535;
    return static_cast<float>(pa_sw_volume_to_linear(static_cast<pa_volume_t>(volume)));
}

} // namespace

struct ApplicationCapture::Input {
    ApplicationCapture* owner = nullptr;
    uint32_t sinkInput = PA_INVALID_INDEX;
    pa_stream* stream = nullptr;
    std::vector<int16_t> waiting; // interleaved samples not yet mixed, oldest first
    Clock::time_point lastAudio;
    bool wasReady = false;
    bool ended = false;
};

std::string ApplicationSourceName(const ApplicationId& application) {
    return "application\n" + application.binary + "\n" + application.name;
}

std::optional<ApplicationId> ApplicationOfSourceName(const std::string& sourceName) {
    const std::string prefix = "application\n";
    if (sourceName.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    const size_t split = sourceName.find('\n', prefix.size());
    if (split == std::string::npos)
        return std::nullopt;
    return ApplicationId{sourceName.substr(prefix.size(), split - prefix.size()),
                         sourceName.substr(split + 1)};
}

CaptureLevel ApplicationCaptureLevel() {
    std::lock_guard<std::mutex> guard(g_stateLock);
    return g_level;
}

void SetApplicationCaptureLevel(const CaptureLevel& level) {
    std::lock_guard<std::mutex> guard(g_stateLock);
    g_level = level;
    if (g_level.values.empty())
        g_level.values.push_back(0);
}

ApplicationCaptureEvents ChosenApplicationEvents() {
    std::lock_guard<std::mutex> guard(g_stateLock);
    return g_events;
}

void ResetApplicationEventsLocked() {
    std::lock_guard<std::mutex> guard(g_stateLock);
    g_events = {};
    g_present = -1;
}

ApplicationCapture::ApplicationCapture(ApplicationId application, uint32_t rate, uint8_t channels,
                                       uint8_t bits, uint32_t fragmentMs, Sink sink,
                                       std::function<void()> lost)
    : m_Id(g_nextId++), m_Application(std::move(application)), m_Rate(rate), m_Channels(channels),
      m_Bits(bits), m_FragmentMs(std::max<uint32_t>(fragmentMs, 10)), m_Sink(std::move(sink)),
      m_Lost(std::move(lost)) {
    g_live[m_Id] = this;
    PulseConnection& pulse = PulseConnection::Instance();
    m_Generation = pulse.GenerationLocked();
    ListenToServerLocked(pulse, &OnPulseEvent);
    Restart();
    StartTimer();
    Rescan();
    // The application's streams are known before the first start, so nothing of them is missed.
    const auto deadline = Clock::now() + milliseconds(3000);
    while (m_Scanning && Clock::now() < deadline)
        pulse.WaitLocked(milliseconds(50));
}

ApplicationCapture::~ApplicationCapture() {
    g_live.erase(m_Id);
    if (m_Timer)
        pa_threaded_mainloop_get_api(PulseConnection::Instance().Mainloop())->time_free(m_Timer);
    while (!m_Inputs.empty())
        DropInput(m_Inputs.begin()->first);
}

void ApplicationCapture::OnServerEvent(uint32_t facility) {
    if (facility != PA_SUBSCRIPTION_EVENT_SINK_INPUT && facility != PA_SUBSCRIPTION_EVENT_CLIENT &&
        facility != PA_SUBSCRIPTION_EVENT_SINK)
        return;
    for (auto& [id, capture] : g_live)
        capture->Rescan();
}

void ApplicationCapture::Restart() {
    m_LastAudio = m_SilenceSince = Clock::now();
    m_SilenceFrames = 0;
    m_Silent = true;
}

void ApplicationCapture::Flush() {
    for (auto& [index, input] : m_Inputs)
        input->waiting.clear();
}

void ApplicationCapture::SetFragment(uint32_t fragmentMs) {
    m_FragmentMs = std::max<uint32_t>(fragmentMs, 10);
}

void ApplicationCapture::Rescan() {
    if (m_Scanning) {
        m_ScanAgain = true;
        return;
    }
    PulseConnection& pulse = PulseConnection::Instance();
    pa_context* c = pulse.Context();
    if (!c || !pulse.IsReadyLocked())
        return;
    m_Scanning = true;
    m_Monitors.clear();
    m_ClientsOfApplication.clear();
    m_Seen.clear();
    // A context answers in the order it was asked: the sink inputs' end comes last.
    auto onSink = [](pa_context*, const pa_sink_info* info, int eol, void* tag) {
        if (ApplicationCapture* self = Find(tag); self && !eol && info && info->monitor_source_name)
            self->m_Monitors[info->index] = info->monitor_source_name;
    };
    auto onClient = [](pa_context*, const pa_client_info* info, int eol, void* tag) {
        if (ApplicationCapture* self = Find(tag);
            self && !eol && info && IdOf(info->proplist) == self->m_Application)
            self->m_ClientsOfApplication.push_back(info->index);
    };
    auto onSinkInput = [](pa_context*, const pa_sink_input_info* info, int eol, void* tag) {
        ApplicationCapture* self = Find(tag);
        if (!self)
            return;
        if (!eol) {
            if (info && IdOf(info->proplist) == self->m_Application)
                self->m_Seen.emplace_back(info->index, info->sink);
            return;
        }
        self->m_Scanning = false;
        self->Reconcile();
        if (self->m_ScanAgain) {
            self->m_ScanAgain = false;
            self->Rescan();
        }
        PulseConnection::Instance().SignalLocked();
    };
    for (pa_operation* op : {pa_context_get_sink_info_list(c, onSink, Tag(m_Id)),
                             pa_context_get_client_info_list(c, onClient, Tag(m_Id))})
        if (op)
            pa_operation_unref(op);
    if (pa_operation* op = pa_context_get_sink_input_info_list(c, onSinkInput, Tag(m_Id)))
        pa_operation_unref(op);
    else
        m_Scanning = false;
}

void ApplicationCapture::Reconcile() {
    NoteQuitOrReturn(!m_ClientsOfApplication.empty() || !m_Seen.empty());
    std::vector<uint32_t> gone, refused;
    for (auto& [index, input] : m_Inputs) {
        const bool seen =
            std::any_of(m_Seen.begin(), m_Seen.end(), [&](auto& s) { return s.first == index; });
        if (!seen || input->ended)
            gone.push_back(index);
        // A monitor stream that failed before it ran while the stream it was to watch plays on
        // was refused; one whose stream ended meanwhile (a short chime) was not.
        if (seen && input->ended && !input->wasReady)
            refused.push_back(index);
    }
    for (uint32_t index : gone)
        DropInput(index);
    for (uint32_t index : refused)
        Refuse(index);
    for (auto [sinkInput, sink] : m_Seen) {
        if (m_Inputs.count(sinkInput) || m_Refused.count(sinkInput))
            continue;
        auto monitor = m_Monitors.find(sink);
        if (monitor != m_Monitors.end())
            OpenInput(sinkInput, monitor->second);
    }
}

void ApplicationCapture::NoteQuitOrReturn(bool present) {
    std::lock_guard<std::mutex> guard(g_stateLock);
    if (g_present == 1 && !present)
        ++g_events.quits;
    g_present = present ? 1 : 0;
}

void ApplicationCapture::OpenInput(uint32_t sinkInput, const std::string& monitor) {
    pa_context* c = PulseConnection::Instance().Context();
    const pa_sample_spec format{PA_SAMPLE_S16LE, m_Rate, m_Channels};
    auto input = std::make_unique<Input>();
    input->owner = this;
    input->sinkInput = sinkInput;
    input->lastAudio = Clock::now();
    input->stream = pa_stream_new(c, "QuorRecorder capture", &format, nullptr);
    if (!input->stream)
        return;
    pa_buffer_attr attr;
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(uint64_t(m_FragmentMs) * m_Rate / 1000 * m_Channels * 2);
    attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
    pa_stream_set_read_callback(input->stream, &OnRead, input.get());
    pa_stream_set_state_callback(input->stream, &OnState, input.get());
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (pa_stream_set_monitor_stream(input->stream, sinkInput) < 0 ||
        pa_stream_connect_record(input->stream, monitor.c_str(), &attr, flags) < 0) {
        pa_stream_set_read_callback(input->stream, nullptr, nullptr);
        pa_stream_set_state_callback(input->stream, nullptr, nullptr);
        pa_stream_unref(input->stream);
        Refuse(sinkInput);
        return;
    }
    m_Inputs[sinkInput] = std::move(input);
}

void ApplicationCapture::Refuse(uint32_t sinkInput) {
    m_Refused.insert(sinkInput);
    std::lock_guard<std::mutex> guard(g_stateLock);
    ++g_events.refusals;
}

void ApplicationCapture::DropInput(uint32_t sinkInput) {
    auto it = m_Inputs.find(sinkInput);
    if (it == m_Inputs.end())
        return;
    pa_stream* stream = it->second->stream;
    pa_stream_set_read_callback(stream, nullptr, nullptr);
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    m_Inputs.erase(it);
}

void ApplicationCapture::OnState(pa_stream* stream, void* data) {
    auto* input = static_cast<Input*>(data);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY) {
        input->wasReady = true;
        return;
    }
    if (PA_STREAM_IS_GOOD(state))
        return;
    // The stream it watched ended (or moved to another output): the next look at the server
    // finds what the application plays now, and tells a refusal from a stream that ended.
    input->ended = true;
    input->owner->Rescan();
}

void ApplicationCapture::OnRead(pa_stream* stream, size_t, void* data) {
    auto* input = static_cast<Input*>(data);
    ApplicationCapture* self = input->owner;
    const void* bytes;
    size_t size;
    const size_t most = size_t(kMostAheadMs) * self->m_Rate / 1000 * self->m_Channels;
    while (pa_stream_readable_size(stream) > 0) {
        if (pa_stream_peek(stream, &bytes, &size) < 0 || size == 0)
            break;
        const size_t samples = size / sizeof(int16_t);
        if (bytes) {
            const auto* from = static_cast<const int16_t*>(bytes);
            input->waiting.insert(input->waiting.end(), from, from + samples);
        } else {
            input->waiting.insert(input->waiting.end(), samples, 0); // a hole is silence
        }
        pa_stream_drop(stream);
    }
    if (input->waiting.size() > most)
        input->waiting.erase(input->waiting.begin(),
                             input->waiting.begin() +
                                 static_cast<std::ptrdiff_t>(input->waiting.size() - most));
    input->lastAudio = Clock::now();
    self->Pump();
}

void ApplicationCapture::Pump() {
    const Clock::time_point now = Clock::now();
    // The mix waits for an input that flows but has not sent its part yet, up to kStall.
    size_t frames = SIZE_MAX;
    bool any = false;
    for (auto& [index, input] : m_Inputs) {
        const size_t held = input->waiting.size() / m_Channels;
        if (held > 0) {
            any = true;
            frames = std::min(frames, held);
        } else if (!input->ended && now - input->lastAudio < kStall) {
            return;
        }
    }
    if (!any)
        return;
    const size_t samples = frames * m_Channels;
    m_Mix.assign(samples, 0);
    for (auto& [index, input] : m_Inputs) {
        if (input->waiting.empty())
            continue;
        for (size_t s = 0; s < samples; ++s)
            m_Mix[s] += input->waiting[s];
        input->waiting.erase(input->waiting.begin(),
                             input->waiting.begin() + static_cast<std::ptrdiff_t>(samples));
    }
    m_Silent = false;
    m_LastAudio = now;
    Emit(frames);
}

void ApplicationCapture::Emit(size_t frames) {
    const CaptureLevel level = ApplicationCaptureLevel();
    float gains[2];
    for (unsigned c = 0; c < 2; ++c)
        gains[c] = Gain(level.values[std::min<size_t>(c, level.values.size() - 1)], level.mute);
    const size_t samples = frames * m_Channels;
    m_Out16.resize(samples);
    for (size_t s = 0; s < samples; ++s) {
        const float v = static_cast<float>(m_Mix[s]) * gains[s % m_Channels % 2];
        m_Out16[s] = static_cast<int16_t>(std::clamp(v, -32768.0f, 32767.0f));
    }
    if (m_Bits == 16) {
        m_Sink(m_Out16.data(), samples * sizeof(int16_t));
        return;
    }
    m_Out8.resize(samples);
    for (size_t s = 0; s < samples; ++s)
        m_Out8[s] = static_cast<uint8_t>((m_Out16[s] >> 8) + 128);
    m_Sink(m_Out8.data(), samples);
}

void ApplicationCapture::EmitSilence(uint64_t frames) {
    if (m_Bits == 16) {
        m_Sink(nullptr, frames * FrameBytesOut());
        return;
    }
    m_Out8.assign(frames * m_Channels, 128);
    m_Sink(m_Out8.data(), m_Out8.size());
}

void ApplicationCapture::StartTimer() {
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(PulseConnection::Instance().Mainloop());
    timeval when;
    pa_gettimeofday(&when);
    pa_timeval_add(&when, pa_usec_t(m_FragmentMs) * PA_USEC_PER_MSEC);
    if (m_Timer) {
        api->time_restart(m_Timer, &when);
        return;
    }
    auto onTimer = [](pa_mainloop_api*, pa_time_event*, const timeval*, void* tag) {
        if (ApplicationCapture* self = Find(tag))
            self->OnTick();
    };
    m_Timer = api->time_new(api, &when, onTimer, Tag(m_Id));
}

void ApplicationCapture::OnTick() {
    PulseConnection& pulse = PulseConnection::Instance();
    if (!pulse.IsReadyLocked() || pulse.GenerationLocked() != m_Generation) {
        // The server went away: the capture is lost, as a source's would be.
        if (m_Lost) {
            auto lost = std::move(m_Lost);
            m_Lost = nullptr;
            lost();
        }
        return;
    }
    const Clock::time_point now = Clock::now();
    const bool flowing = std::any_of(m_Inputs.begin(), m_Inputs.end(), [&](auto& entry) {
        return !entry.second->ended && now - entry.second->lastAudio < kStall;
    });
    if (flowing) {
        Pump(); // an input that stalled no longer holds back the others
    } else {
        if (!m_Silent) {
            // Silence from the moment the last audio ended, so no time goes missing.
            m_Silent = true;
            m_SilenceSince = m_LastAudio;
            m_SilenceFrames = 0;
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - m_SilenceSince);
        const uint64_t due = static_cast<uint64_t>(elapsed.count()) * m_Rate / 1000000;
        if (due > m_SilenceFrames) {
            EmitSilence(due - m_SilenceFrames);
            m_SilenceFrames = due;
        }
    }
    StartTimer();
}

} // namespace platform
