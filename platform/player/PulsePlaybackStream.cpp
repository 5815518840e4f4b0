// The position is the stream's own playback clock (what the sink has played, latency counted)
// added to the seek position, never beyond what was written: once the file has played out it
// stays at the end.
#include "platform/player/PulsePlaybackStream.h"

#include "platform/pulse/PulseConnection.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {
constexpr int kTargetLatencyMs = 200;
constexpr size_t kChunkBytes = 16384;
} // namespace

PulsePlaybackStream::PulsePlaybackStream(std::unique_ptr<Mp3Decoder> decoder)
    : m_Decoder(std::move(decoder)) {}

PulsePlaybackStream::~PulsePlaybackStream() {
    Stop();
}

bool PulsePlaybackStream::SetTimeMs(int ms) {
    if (m_Feeder.joinable())
        return false; // only before Play
    // Rounded up, so that the position read back is never before the one asked for.
    int64_t frame = (static_cast<int64_t>(std::max(ms, 0)) * m_Decoder->Rate() + 999) / 1000;
    if (!m_Decoder->SeekFrame(frame))
        return false;
    m_StartFrame = std::min(frame, m_Decoder->LengthFrames());
    return true;
}

void PulsePlaybackStream::OnSignal(pa_stream*, void*) {
    pa_threaded_mainloop_signal(PulseConnection::Instance().Mainloop(), 0);
}

void PulsePlaybackStream::OnState(pa_stream* s, void* self) {
    auto* stream = static_cast<PulsePlaybackStream*>(self);
    // A stream of a dying connection fails; Stop removes this callback before it disconnects.
    if (stream->m_Started && !PA_STREAM_IS_GOOD(pa_stream_get_state(s)))
        stream->m_Lost = true;
    OnSignal(s, self);
}

void PulsePlaybackStream::OnDrained(pa_stream*, int success, void* self) {
    if (success)
        static_cast<PulsePlaybackStream*>(self)->m_Drained = true;
}

void PulsePlaybackStream::OnWriteRequest(pa_stream* s, size_t, void* self) {
    OnSignal(s, self);
}

bool PulsePlaybackStream::Play() {
    if (m_Feeder.joinable())
        return true;
    PulseConnection& pulse = PulseConnection::Instance();
    if (!pulse.EnsureConnected())
        return false;
    PulseConnection::Lock lock(pulse);
    if (!pulse.IsReadyLocked())
        return false;
    pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, static_cast<uint32_t>(m_Decoder->Rate()),
                              static_cast<uint8_t>(m_Decoder->Channels())};
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "music");
    m_Stream =
        pa_stream_new_with_proplist(pulse.Context(), "QuorSplit playback", &sampleSpec, nullptr, props);
    pa_proplist_free(props);
    if (!m_Stream)
        return false;
    pa_stream_set_state_callback(m_Stream, &OnState, this);
    pa_stream_set_write_callback(m_Stream, &OnWriteRequest, this);
    pa_buffer_attr attr;
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kTargetLatencyMs * PA_USEC_PER_MSEC, &sampleSpec));
    attr.prebuf = static_cast<uint32_t>(-1);
    attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    bool ready = pa_stream_connect_playback(m_Stream, nullptr, &attr, flags, nullptr, nullptr) == 0;
    for (int waited = 0; ready && waited < 30; ++waited) {
        pa_stream_state_t state = pa_stream_get_state(m_Stream);
        if (state == PA_STREAM_READY)
            break;
        if (!PA_STREAM_IS_GOOD(state)) {
            ready = false;
            break;
        }
        pulse.WaitLocked(std::chrono::milliseconds(100));
    }
    if (!ready || pa_stream_get_state(m_Stream) != PA_STREAM_READY) {
        pa_stream_set_state_callback(m_Stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_Stream, nullptr, nullptr);
        pa_stream_disconnect(m_Stream);
        pa_stream_unref(m_Stream);
        m_Stream = nullptr;
        return false;
    }
    m_Stop = false;
    m_WrittenFrames = 0;
    m_Drained = false;
    m_Lost = false;
    m_Started = true;
    m_Feeder = std::thread(&PulsePlaybackStream::Feed, this);
    return true;
}

void PulsePlaybackStream::Feed() {
    PulseConnection& pulse = PulseConnection::Instance();
    std::vector<unsigned char> buffer(kChunkBytes);
    for (;;) {
        size_t wanted = 0;
        {
            PulseConnection::Lock lock(pulse);
            for (;;) {
                if (m_Stop || !m_Stream || !PA_STREAM_IS_GOOD(pa_stream_get_state(m_Stream)))
                    return;
                wanted = pa_stream_writable_size(m_Stream);
                if (wanted > 0 && wanted != static_cast<size_t>(-1))
                    break;
                pa_threaded_mainloop_wait(pulse.Mainloop());
            }
        }
        // Decode outside the lock: the shared loop also serves the captures.
        const size_t got = m_Decoder->Read(buffer.data(), std::min(wanted, buffer.size()));
        if (got == 0) {
            // The end of the file: the stream plays out what it holds; once drained, the
            // position is the end of what was written.
            PulseConnection::Lock lock(pulse);
            if (!m_Stop && m_Stream)
                if (pa_operation* op = pa_stream_drain(m_Stream, &OnDrained, this))
                    pa_operation_unref(op);
            return;
        }
        PulseConnection::Lock lock(pulse);
        if (m_Stop || !m_Stream)
            return;
        if (pa_stream_write(m_Stream, buffer.data(), got, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        m_WrittenFrames += static_cast<int64_t>(got / m_Decoder->FrameBytes());
    }
}

int PulsePlaybackStream::GetTimeMs() const {
    const int64_t rate = m_Decoder->Rate();
    int64_t playedFrames = 0;
    if (m_Feeder.joinable()) {
        PulseConnection& pulse = PulseConnection::Instance();
        PulseConnection::Lock lock(pulse);
        pa_usec_t usec = 0;
        if (m_Drained)
            playedFrames = m_WrittenFrames.load();
        else if (m_Stream && pa_stream_get_time(m_Stream, &usec) == 0)
            playedFrames = static_cast<int64_t>(usec) * rate / 1000000;
        playedFrames = std::min<int64_t>(playedFrames, m_WrittenFrames.load());
    }
    const int64_t frame = std::min(m_StartFrame + playedFrames, m_Decoder->LengthFrames());
    return static_cast<int>(frame * 1000 / rate);
}

void PulsePlaybackStream::Stop() {
    PulseConnection& pulse = PulseConnection::Instance();
    if (m_Feeder.joinable()) {
        {
            PulseConnection::Lock lock(pulse);
            m_Stop = true;
            pulse.SignalLocked();
        }
        m_Feeder.join();
    }
    if (m_Stream) {
        PulseConnection::Lock lock(pulse);
        pa_stream_set_state_callback(m_Stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_Stream, nullptr, nullptr);
        m_Started = false;
        pa_stream_disconnect(m_Stream); // the sink input goes at once: silence
        pa_stream_unref(m_Stream);
        m_Stream = nullptr;
    }
    m_StartFrame = 0;
}

} // namespace platform
