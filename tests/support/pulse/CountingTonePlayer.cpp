// The lockstep player and the counter check.
#include "tests/support/pulse/CountingTonePlayer.h"

#include <pulse/pulseaudio.h>

#include <cmath>
#include <memory>

namespace quortest {
namespace {

constexpr uint32_t kRate = 44100;

uint16_t NextCount(uint16_t count) {
    return count == 0xFFFF ? 1 : static_cast<uint16_t>(count + 1);
}

} // namespace

CountingTonePlayer::CountingTonePlayer(std::vector<Output> outputs) : m_Outputs(std::move(outputs)) {
    // The asynchronous API, for PA_STREAM_DONT_MOVE: PulseAudio would otherwise carry the old
    // default output's stream along to the new default and mix the two tones.
    m_Loop = pa_threaded_mainloop_new();
    pa_threaded_mainloop_start(m_Loop);
    pa_threaded_mainloop_lock(m_Loop);
    m_Context = pa_context_new(pa_threaded_mainloop_get_api(m_Loop), "quor-test-counter");
    auto signal = [](auto*, void* l) {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(l), 0);
    };
    pa_context_set_state_callback(m_Context, signal, m_Loop);
    pa_context_connect(m_Context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    while (PA_CONTEXT_IS_GOOD(pa_context_get_state(m_Context)) &&
           pa_context_get_state(m_Context) != PA_CONTEXT_READY)
        pa_threaded_mainloop_wait(m_Loop);
    const pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, kRate, 2};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    // Half a second queued: a player thread kept waiting on a busy machine must not run dry, or
    // the server fills the gap with silence that would count against the capture.
    attr.tlength = kRate * 4 / 2;
    attr.prebuf = attr.minreq = attr.fragsize = static_cast<uint32_t>(-1);
    bool ok = pa_context_get_state(m_Context) == PA_CONTEXT_READY;
    for (size_t k = 0; ok && k < m_Outputs.size(); ++k) {
        pa_stream* stream = pa_stream_new(m_Context, "counting tone", &sampleSpec, nullptr);
        pa_stream_set_state_callback(stream, signal, m_Loop);
        pa_stream_set_write_callback(
            stream,
            [](pa_stream*, size_t, void* l) {
                pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(l), 0);
            },
            m_Loop);
        pa_stream_set_underflow_callback(
            stream, [](pa_stream*, void* self) { ++static_cast<CountingTonePlayer*>(self)->m_Underflows; },
            this);
        m_Streams.push_back(stream);
        pa_stream_connect_playback(stream, m_Outputs[k].sink.c_str(), &attr,
                                   static_cast<pa_stream_flags_t>(PA_STREAM_DONT_MOVE), nullptr, nullptr);
        while (PA_STREAM_IS_GOOD(pa_stream_get_state(stream)) &&
               pa_stream_get_state(stream) != PA_STREAM_READY)
            pa_threaded_mainloop_wait(m_Loop);
        ok = pa_stream_get_state(stream) == PA_STREAM_READY;
    }
    m_Ok = ok;
    pa_threaded_mainloop_unlock(m_Loop);
    if (ok)
        m_Thread = std::thread([this] { Play(); });
}

void CountingTonePlayer::Play() {
    pa_threaded_mainloop_lock(m_Loop);
    constexpr size_t kFrames = 441; // 10 ms per write
    std::vector<int16_t> block(2 * kFrames);
    uint16_t count = 1;
    uint64_t n = 0;
    bool ok = true;
    while (ok && !m_Stop) {
        for (size_t k = 0; ok && k < m_Streams.size(); ++k) {
            while (ok && pa_stream_writable_size(m_Streams[k]) < block.size() * sizeof(int16_t)) {
                ok = pa_stream_get_state(m_Streams[k]) == PA_STREAM_READY && !m_Stop;
                if (ok)
                    pa_threaded_mainloop_wait(m_Loop);
            }
            const double step = 2.0 * M_PI * m_Outputs[k].frequency / kRate;
            uint16_t c = count;
            for (size_t i = 0; i < kFrames; ++i, c = NextCount(c)) {
                block[2 * i] = static_cast<int16_t>(std::lround(16000.0 * std::sin(step * double(n + i))));
                block[2 * i + 1] = static_cast<int16_t>(c);
            }
            if (ok)
                ok = pa_stream_write(m_Streams[k], block.data(), block.size() * sizeof(int16_t), nullptr, 0,
                                     PA_SEEK_RELATIVE) == 0;
        }
        for (size_t i = 0; i < kFrames; ++i)
            count = NextCount(count);
        n += kFrames;
    }
    pa_threaded_mainloop_unlock(m_Loop);
}

long CountingTonePlayer::RenderedLead(size_t from, size_t to) {
    pa_threaded_mainloop_lock(m_Loop);
    auto done = [](pa_stream*, int, void* self) {
        auto* player = static_cast<CountingTonePlayer*>(self);
        --player->m_Pending;
        pa_threaded_mainloop_signal(player->m_Loop, 0);
    };
    const pa_timing_info* a = nullptr;
    const pa_timing_info* b = nullptr;
    // The first answer after a quiet spell may still carry an outdated read index: ask again.
    for (int tries = 0;
         tries < 5 && (!a || !b || a->read_index_corrupt || b->read_index_corrupt || tries < 2); ++tries) {
        m_Pending = 0;
        for (size_t k : {from, to}) {
            if (pa_operation* op = pa_stream_update_timing_info(m_Streams[k], done, this)) {
                ++m_Pending;
                pa_operation_unref(op);
            }
        }
        while (m_Pending > 0 && pa_context_get_state(m_Context) == PA_CONTEXT_READY)
            pa_threaded_mainloop_wait(m_Loop);
        a = pa_stream_get_timing_info(m_Streams[from]);
        b = pa_stream_get_timing_info(m_Streams[to]);
    }
    const long lead = a && b ? long((b->read_index - a->read_index) / 4) : 0;
    pa_threaded_mainloop_unlock(m_Loop);
    return lead;
}

CountingTonePlayer::~CountingTonePlayer() {
    pa_threaded_mainloop_lock(m_Loop);
    m_Stop = true;
    pa_threaded_mainloop_signal(m_Loop, 0);
    pa_threaded_mainloop_unlock(m_Loop);
    if (m_Thread.joinable())
        m_Thread.join();
    pa_threaded_mainloop_lock(m_Loop);
    for (pa_stream* stream : m_Streams) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    pa_context_set_state_callback(m_Context, nullptr, nullptr);
    pa_context_disconnect(m_Context);
    pa_context_unref(m_Context);
    pa_threaded_mainloop_unlock(m_Loop);
    pa_threaded_mainloop_stop(m_Loop);
    pa_threaded_mainloop_free(m_Loop);
}

std::vector<CountingTonePlayer::Break> CountingTonePlayer::CounterBreaks(const int16_t* pcm, size_t frames,
                                                                         size_t* longestSilence) {
    std::vector<Break> breaks;
    size_t silence = 0, longest = 0;
    bool havePrevious = false;
    uint16_t previous = 0;
    for (size_t i = 0; i < frames; ++i) {
        const auto count = static_cast<uint16_t>(pcm[2 * i + 1]);
        if (count == 0) { // inserted silence: the counter never is 0
            longest = std::max(longest, ++silence);
            continue;
        }
        silence = 0;
        if (havePrevious) {
            // Steps in the counter's cycle of 65535 values, folded to -32767..32767. PipeWire's
            // float path may round a value by one, so steps within two frames of +1 are whole.
            int step = (int(count) - int(previous) + 65535) % 65535;
            if (step > 32767)
                step -= 65535;
            if (std::abs(step - 1) > 2)
                breaks.push_back({i, step});
        }
        previous = count;
        havePrevious = true;
    }
    if (longestSilence)
        *longestSilence = longest;
    return breaks;
}

} // namespace quortest
