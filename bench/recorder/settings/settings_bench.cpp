// Load and Save run on the window thread (start-up, settings dialog): each value opens the hive
// file again, and every write is a locked, fsynced replacement of it.
#include "platform/registry/HiveText.h"
#include "recorder/settings/RecorderSettings.h"
#include "tests/support/HiveEnv.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Load(benchmark::State& state) {
    quortest::HiveEnv env;
    RecorderSettings saved;
    saved.savePath = "/home/mina/음악";
    saved.Save();
    for (auto _ : state) {
        RecorderSettings s;
        s.Load();
        benchmark::DoNotOptimize(s.bitRate);
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMicrosecond);

void BM_Save(benchmark::State& state) {
    quortest::HiveEnv env;
    RecorderSettings s;
    s.savePath = "/home/mina/음악";
    int32_t flip = 0;
    for (auto _ : state) {
        s.topmost = flip ^= 1; // a changed value, so the file is really replaced
        s.Save();
    }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_ParseHiveText(benchmark::State& state) {
    platform::Hive hive;
    auto& key = hive.Create({"Software", "QuorRecorder"});
    for (int i = 0; i < state.range(0); ++i)
        key.SetValue("Value" + std::to_string(i), platform::REG_DWORD, {1, 2, 3, 4});
    const std::string text = platform::FormatHiveText(hive);
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::ParseHiveText(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseHiveText)->Arg(16)->Arg(1024);

} // namespace
