// Time from the start of a scan to the full loudness picture of a file, as the splitter's
// slider fills it (on its own thread, while the window goes on). The files come from
// run_loudness_bench.sh: QUOR_BENCH_MP3 (60 s) and QUOR_BENCH_LONG_MP3 (3 hours, 128 kbit/s stereo).
#include "splitter/loudness/LoudnessScan.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

void FullPicture(benchmark::State& state, const char* variable, double seconds) {
    const char* path = std::getenv(variable);
    if (!path) {
        state.SkipWithError("run through run_loudness_bench.sh");
        return;
    }
    for (auto _ : state) {
        BackgroundLoudness scan(path, seconds);
        while (!scan.Profile()->Ended())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (scan.Profile()->Known() < scan.Profile()->Steps() - 1)
            state.SkipWithError("the picture did not reach the end of the file");
    }
}

BENCHMARK_CAPTURE(FullPicture, 60s, "QUOR_BENCH_MP3", 60.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FullPicture, 3h, "QUOR_BENCH_LONG_MP3", 10800.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
