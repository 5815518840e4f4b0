// Encoding cost of liblame_enc.so's beEncodeChunk against libmp3lame with the same settings, on
// 10 minutes of 44.1 kHz stereo in the recorder's 4000-byte chunks at the recorder's 128 kbps.
// Before timing, both paths encode the same 20 s and must give identical bytes (same settings).
#include "encoder/BladeEncoder.h"
#include "recorder/engine/CWriteMP3File.h"

#include <lame.h>

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kBitrate = 128;
constexpr size_t kChunkFrames = 1000; // 4000 bytes of 16-bit stereo

// Something with the spectrum of music rather than a pure tone: a few partials with vibrato and a
// little noise, different in each channel.
const std::vector<int16_t>& Program(double seconds) {
    static std::vector<int16_t> pcm;
    const size_t frames = static_cast<size_t>(seconds * kRate);
    if (pcm.size() >= frames * 2)
        return pcm;
    pcm.resize(frames * 2);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 300);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double base = 220 * (1 + 0.01 * std::sin(2 * std::numbers::pi * 5 * t));
        double left = 0, right = 0;
        for (int k = 1; k <= 6; ++k) {
            left += 4000.0 / k * std::sin(2 * std::numbers::pi * base * k * t);
            right += 4000.0 / k * std::sin(2 * std::numbers::pi * base * 1.5 * k * t + k);
        }
        pcm[2 * i] = static_cast<int16_t>(std::clamp(left + noise(random), -32768.0, 32767.0));
        pcm[2 * i + 1] = static_cast<int16_t>(std::clamp(right + noise(random), -32768.0, 32767.0));
    }
    return pcm;
}

struct Blade {
    Blade() {
        image = dlopen(QUOR_BIN_DIR "/liblame_enc.so", RTLD_NOW | RTLD_LOCAL);
        if (!image)
            return;
        init = reinterpret_cast<decltype(init)>(dlsym(image, "beInitStream"));
        encode = reinterpret_cast<decltype(encode)>(dlsym(image, "beEncodeChunk"));
        deinit = reinterpret_cast<decltype(deinit)>(dlsym(image, "beDeinitStream"));
        close = reinterpret_cast<decltype(close)>(dlsym(image, "beCloseStream"));
    }
    void* image = nullptr;
    decltype(&beInitStream) init = nullptr;
    decltype(&beEncodeChunk) encode = nullptr;
    decltype(&beDeinitStream) deinit = nullptr;
    decltype(&beCloseStream) close = nullptr;
};

const Blade& Library() {
    static Blade blade;
    return blade;
}

BE_CONFIG RecorderConfig() {
    return CWriteMP3File::MakeConfig(kBitrate, kRate, 0);
}

// The same settings on LAME itself.
lame_t DirectEncoder() {
    lame_t lame = lame_init();
    lame_set_in_samplerate(lame, kRate);
    lame_set_bWriteVbrTag(lame, 0);
    lame_set_preset(lame, kBitrate);
    lame_set_VBR(lame, vbr_off);
    lame_set_out_samplerate(lame, kRate);
    lame_set_strict_ISO(lame, 0);
    lame_set_copyright(lame, 1);
    lame_set_original(lame, 1);
    lame_set_error_protection(lame, 0);
    lame_set_extension(lame, 1);
    lame_set_VBR_min_bitrate_kbps(lame, kBitrate);
    lame_set_disable_reservoir(lame, 1);
    lame_init_params(lame);
    return lame;
}

std::string EncodeThroughInterface(const std::vector<int16_t>& pcm, size_t frames) {
    const Blade& blade = Library();
    BE_CONFIG config = RecorderConfig();
    uint32_t samples = 0, bufferBytes = 0;
    HBE_STREAM stream = 0;
    if (blade.init(&config, &samples, &bufferBytes, &stream) != BE_ERR_SUCCESSFUL)
        return {};
    std::string mp3;
    mp3.reserve(frames / 8);
    unsigned char output[44108];
    uint32_t written = 0;
    for (size_t at = 0; at + kChunkFrames <= frames; at += kChunkFrames) {
        blade.encode(stream, 2 * kChunkFrames, pcm.data() + 2 * at, output, &written);
        mp3.append(reinterpret_cast<const char*>(output), written);
    }
    blade.deinit(stream, output, &written);
    mp3.append(reinterpret_cast<const char*>(output), written);
    blade.close(stream);
    return mp3;
}

std::string EncodeDirectly(const std::vector<int16_t>& pcm, size_t frames) {
    lame_t lame = DirectEncoder();
    std::string mp3;
    mp3.reserve(frames / 8);
    unsigned char output[44108];
    for (size_t at = 0; at + kChunkFrames <= frames; at += kChunkFrames) {
        short* chunk = const_cast<short*>(pcm.data() + 2 * at);
        const int written = lame_encode_buffer_interleaved(lame, chunk, kChunkFrames, output, 0);
        if (written > 0)
            mp3.append(reinterpret_cast<const char*>(output), static_cast<size_t>(written));
    }
    const int written = lame_encode_flush(lame, output, 0);
    if (written > 0)
        mp3.append(reinterpret_cast<const char*>(output), static_cast<size_t>(written));
    lame_close(lame);
    return mp3;
}

constexpr double kSeconds = 600;

void BM_BladeInterface(benchmark::State& state) {
    const std::vector<int16_t>& pcm = Program(kSeconds);
    size_t bytes = 0;
    for (auto _ : state)
        bytes = EncodeThroughInterface(pcm, pcm.size() / 2).size();
    state.counters["mp3_bytes"] = static_cast<double>(bytes);
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LameDirect(benchmark::State& state) {
    const std::vector<int16_t>& pcm = Program(kSeconds);
    size_t bytes = 0;
    for (auto _ : state)
        bytes = EncodeDirectly(pcm, pcm.size() / 2).size();
    state.counters["mp3_bytes"] = static_cast<double>(bytes);
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// What the interface adds to one call, apart from the encoding: an empty chunk through each path.
void BM_EmptyChunkInterface(benchmark::State& state) {
    const Blade& blade = Library();
    BE_CONFIG config = RecorderConfig();
    uint32_t samples = 0, bufferBytes = 0;
    HBE_STREAM stream = 0;
    blade.init(&config, &samples, &bufferBytes, &stream);
    unsigned char output[44108];
    const int16_t pcm[2] = {};
    uint32_t written = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(blade.encode(stream, 0, pcm, output, &written));
    blade.close(stream);
}

void BM_EmptyChunkDirect(benchmark::State& state) {
    lame_t lame = DirectEncoder();
    unsigned char output[44108];
    short pcm[2] = {};
    for (auto _ : state)
        benchmark::DoNotOptimize(lame_encode_buffer_interleaved(lame, pcm, 0, output, 0));
    lame_close(lame);
}

BENCHMARK(BM_BladeInterface)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_LameDirect)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_EmptyChunkInterface);
BENCHMARK(BM_EmptyChunkDirect);

} // namespace

int main(int argc, char** argv) {
    if (!Library().image) {
        std::fprintf(stderr, "cannot load %s: %s\n", QUOR_BIN_DIR "/liblame_enc.so", dlerror());
        return 1;
    }
    const std::vector<int16_t>& pcm = Program(kSeconds);
    const size_t checkFrames = 20 * kRate;
    if (EncodeThroughInterface(pcm, checkFrames) != EncodeDirectly(pcm, checkFrames)) {
        std::fprintf(stderr, "the two paths do not encode alike: the settings differ\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
