// Sine playback through the simple PulseAudio client API on its own thread.
#include "tests/support/pulse/SignalPlayer.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <cmath>
#include <future>
#include <vector>

namespace quortest {

SignalPlayer::SignalPlayer(double frequency, double amplitude, const std::string& sink)
    : m_Frequency(frequency), m_Amplitude(amplitude) {
    std::promise<void> opened;
    auto ready = opened.get_future();
    m_Thread = std::thread([this, sink, &opened] {
        pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, 44100, 2};
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<uint32_t>(-1);
        attr.tlength = 44100 * 4 / 2; // 500 ms queued ahead: a busy machine must not starve it
        attr.prebuf = attr.minreq = attr.fragsize = static_cast<uint32_t>(-1);
        int error = 0;
        pa_simple* stream = pa_simple_new(nullptr, "quor-test-signal", PA_STREAM_PLAYBACK, sink.c_str(),
                                          "test signal", &sampleSpec, nullptr, &attr, &error);
        m_Ok = stream != nullptr;
        opened.set_value();
        if (!stream)
            return;
        std::vector<int16_t> block(2 * 441);
        uint64_t n = 0;
        const double step = 2.0 * M_PI * m_Frequency / 44100.0;
        while (!m_Stop) {
            for (size_t i = 0; i < block.size() / 2; ++i, ++n) {
                auto v =
                    static_cast<int16_t>(std::lround(32767.0 * m_Amplitude * std::sin(step * double(n))));
                block[2 * i] = block[2 * i + 1] = v;
            }
            if (pa_simple_write(stream, block.data(), block.size() * sizeof(int16_t), &error) < 0)
                break;
            m_Frames += block.size() / 2;
        }
        pa_simple_free(stream);
    });
    ready.wait();
}

SignalPlayer::~SignalPlayer() {
    m_Stop = true;
    m_Thread.join();
}

} // namespace quortest
