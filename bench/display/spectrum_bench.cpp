// Per 4096-byte monitor buffer: our feed (conversion, FFT, magnitudes) and our bare transform,
// against FFTW doing the same complex 1024-point transform (bare, and with the same conversion
// and magnitudes around it).
#include "recorder/display/spectrum/RadixTwoFft.h"
#include "recorder/display/spectrum/SpectrumValues.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<int16_t> MonitorBuffer() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::vector<int16_t> buffer(2048); // 4096 bytes, as the monitor delivers
    for (auto& v : buffer)
        v = static_cast<int16_t>(value(random));
    return buffer;
}

void BM_OurSpectrumFeed(benchmark::State& state) {
    auto buffer = MonitorBuffer();
    double values[kSpectrumValues];
    for (auto _ : state) {
        ComputeSpectrum(buffer.data(), buffer.size(), values);
        benchmark::DoNotOptimize(values);
    }
}
BENCHMARK(BM_OurSpectrumFeed);

void BM_OurTransform(benchmark::State& state) {
    RadixTwoFft fft(kSpectrumPoints);
    auto buffer = MonitorBuffer();
    alignas(64) double re[kSpectrumPoints], im[kSpectrumPoints];
    for (size_t i = 0; i < kSpectrumPoints; ++i) {
        re[i] = buffer[i];
        im[i] = 0;
    }
    for (auto _ : state) {
        fft.TransformBitReversed(re, im);
        benchmark::DoNotOptimize(re);
        benchmark::DoNotOptimize(im);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OurTransform);

struct FftwPlan {
    fftw_complex* in = fftw_alloc_complex(kSpectrumPoints);
    fftw_complex* out = fftw_alloc_complex(kSpectrumPoints);
    fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(kSpectrumPoints), in, out, FFTW_FORWARD, FFTW_MEASURE);
    ~FftwPlan() {
        fftw_destroy_plan(plan);
        fftw_free(in);
        fftw_free(out);
    }
};

void BM_FftwSpectrumFeed(benchmark::State& state) {
    FftwPlan fftw;
    auto buffer = MonitorBuffer();
    double values[kSpectrumValues];
    for (auto _ : state) {
        for (size_t i = 0; i < kSpectrumPoints; ++i) {
            fftw.in[i][0] = buffer[i];
            fftw.in[i][1] = 0;
        }
        fftw_execute(fftw.plan);
        for (size_t k = 0; k < kSpectrumValues; ++k) {
            float r = static_cast<float>(fftw.out[k][0]);
            float i = static_cast<float>(fftw.out[k][1]);
            values[k] = std::sqrt(static_cast<double>(r * r + i * i)) / 256.0;
        }
        benchmark::DoNotOptimize(values);
    }
}
BENCHMARK(BM_FftwSpectrumFeed);

void BM_FftwTransform(benchmark::State& state) {
    FftwPlan fftw;
    auto buffer = MonitorBuffer();
    for (size_t i = 0; i < kSpectrumPoints; ++i) {
        fftw.in[i][0] = buffer[i];
        fftw.in[i][1] = 0;
    }
    for (auto _ : state) {
        fftw_execute(fftw.plan);
        benchmark::DoNotOptimize(fftw.out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FftwTransform);

} // namespace

BENCHMARK_MAIN();
