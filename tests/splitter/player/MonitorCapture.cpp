// A pa_simple record stream on "speakers.monitor" with 50 ms fragments.
#include "tests/splitter/player/MonitorCapture.h"

#include <pulse/simple.h>

namespace splittest {

std::vector<int16_t> CaptureMonitor(std::chrono::milliseconds span) {
    pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, 44100, 2};
    pa_buffer_attr attr{static_cast<uint32_t>(-1), static_cast<uint32_t>(-1), static_cast<uint32_t>(-1),
                        static_cast<uint32_t>(-1), 44100 * 4 / 20};
    int error = 0;
    pa_simple* in = pa_simple_new(nullptr, "splitter test", PA_STREAM_RECORD, "speakers.monitor", "monitor",
                                  &sampleSpec, nullptr, &attr, &error);
    if (!in)
        return {};
    std::vector<int16_t> pcm(static_cast<size_t>(span.count()) * 44100 / 1000 * 2);
    if (pa_simple_read(in, pcm.data(), pcm.size() * 2, &error) < 0)
        pcm.clear();
    pa_simple_free(in);
    return pcm;
}

} // namespace splittest
