// One client, many streams, on its own threaded main loop.
#include "tests/support/pulse/ApplicationPlayer.h"

#include "tests/support/Eventually.h"

#include <cmath>
#include <vector>

namespace quortest {

namespace {

constexpr uint32_t kRate = 44100;

struct Locked {
    explicit Locked(pa_threaded_mainloop* loop) : m_Loop(loop) { pa_threaded_mainloop_lock(loop); }
    ~Locked() { pa_threaded_mainloop_unlock(m_Loop); }
    pa_threaded_mainloop* m_Loop;
};

} // namespace

ApplicationPlayer::ApplicationPlayer(const std::string& name, const std::string& sink) : m_Sink(sink) {
    m_Loop = pa_threaded_mainloop_new();
    m_Context = pa_context_new(pa_threaded_mainloop_get_api(m_Loop), name.c_str());
    pa_context_connect(m_Context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    pa_threaded_mainloop_start(m_Loop);
    m_Connected = Eventually([this] {
        Locked lock(m_Loop);
        return pa_context_get_state(m_Context) == PA_CONTEXT_READY;
    });
}

ApplicationPlayer::~ApplicationPlayer() {
    {
        Locked lock(m_Loop);
        for (auto& [number, stream] : m_Streams) {
            pa_stream_set_write_callback(stream.stream, nullptr, nullptr);
            pa_stream_disconnect(stream.stream);
            pa_stream_unref(stream.stream);
        }
        m_Streams.clear();
        pa_context_disconnect(m_Context);
        pa_context_unref(m_Context);
    }
    pa_threaded_mainloop_stop(m_Loop);
    pa_threaded_mainloop_free(m_Loop);
}

void ApplicationPlayer::OnWrite(pa_stream* stream, size_t bytes, void* self) {
    auto* player = static_cast<ApplicationPlayer*>(self);
    for (auto& [number, entry] : player->m_Streams) {
        if (entry.stream != stream)
            continue;
        std::vector<int16_t> block(bytes / sizeof(int16_t) / 2 * 2);
        const double step = 2.0 * M_PI * entry.frequency / kRate;
        for (size_t i = 0; i < block.size(); i += 2, ++entry.frame)
            block[i] = block[i + 1] =
                static_cast<int16_t>(std::lround(16383.0 * std::sin(step * double(entry.frame))));
        pa_stream_write(stream, block.data(), block.size() * sizeof(int16_t), nullptr, 0, PA_SEEK_RELATIVE);
    }
}

int ApplicationPlayer::StartStream(double frequency) {
    if (!m_Connected)
        return -1;
    int number;
    pa_stream* stream;
    {
        Locked lock(m_Loop);
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 2};
        stream = pa_stream_new(m_Context, "tone", &format, nullptr);
        if (!stream)
            return -1;
        number = m_Next++;
        m_Streams[number] = {stream, frequency, 0};
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<uint32_t>(-1);
        attr.tlength = kRate * 4 / 4; // 250 ms queued ahead: a busy machine must not starve it
        attr.prebuf = attr.minreq = attr.fragsize = static_cast<uint32_t>(-1);
        pa_stream_set_write_callback(stream, &OnWrite, this);
        if (pa_stream_connect_playback(stream, m_Sink.c_str(), &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) <
            0)
            return -1;
    }
    const bool playing = Eventually([&] {
        Locked lock(m_Loop);
        return pa_stream_get_state(stream) == PA_STREAM_READY;
    });
    return playing ? number : -1;
}

uint32_t ApplicationPlayer::SinkInput(int number) {
    Locked lock(m_Loop);
    auto it = m_Streams.find(number);
    return it == m_Streams.end() ? PA_INVALID_INDEX : pa_stream_get_index(it->second.stream);
}

void ApplicationPlayer::EndStream(int number) {
    Locked lock(m_Loop);
    auto it = m_Streams.find(number);
    if (it == m_Streams.end())
        return;
    pa_stream_set_write_callback(it->second.stream, nullptr, nullptr);
    pa_stream_disconnect(it->second.stream);
    pa_stream_unref(it->second.stream);
    m_Streams.erase(it);
}

} // namespace quortest
