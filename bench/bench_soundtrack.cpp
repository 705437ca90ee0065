// The soundtrack's generation: fitting the grid, composing, rendering, limiting and the
// whole file as the data-set generator writes it (target: well under 30 s on the build
// machine).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "datagen/music/arrangement.h"
#include "datagen/music/composition.h"
#include "datagen/music/renderer.h"
#include "datagen/music/soundtrack.h"
#include "datagen/music/synth/limiter.h"
#include "datagen/timeline_events.h"

namespace {

using namespace datagen;

void BM_FitGrid(benchmark::State& state) {
  std::vector<double> accents = timeline::FlashTimes();
  accents.insert(accents.end(), timeline::GreetingTimes().begin(), timeline::GreetingTimes().end());
  std::sort(accents.begin(), accents.end());
  for (auto _ : state) {
    benchmark::DoNotOptimize(music::FitTempoMap(accents, {accents.front()}, music::TempoFitSettings()));
  }
}
BENCHMARK(BM_FitGrid)->Unit(benchmark::kMillisecond);

void BM_Compose(benchmark::State& state) {
  const music::Arrangement arrangement(music::SoundtrackGrid());
  for (auto _ : state) benchmark::DoNotOptimize(music::Compose(arrangement));
}
BENCHMARK(BM_Compose)->Unit(benchmark::kMillisecond);

// Ten seconds of the theme, where most voices play; reported as seconds of audio per second.
void BM_RenderTheme(benchmark::State& state) {
  const music::Score score = music::Compose(music::Arrangement(music::SoundtrackGrid()));
  for (auto _ : state) benchmark::DoNotOptimize(music::RenderScore(score, 60.0, 70.0));
  state.counters["audio_s_per_s"] = benchmark::Counter(10.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderTheme)->Unit(benchmark::kMillisecond);

void BM_LimitTenSeconds(benchmark::State& state) {
  const synth::StereoBuffer mix = RenderSoundtrack(60.0, 70.0);
  for (auto _ : state) {
    synth::StereoBuffer audio = mix;
    synth::Limit(audio, synth::LimiterSettings());
    benchmark::DoNotOptimize(audio.left.data());
  }
}
BENCHMARK(BM_LimitTenSeconds)->Unit(benchmark::kMillisecond);

// The whole file, as the generator writes it: compose, render, limit, encode, verify.
void BM_WriteSoundtrack(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "drift_bench_osprey.mp3").string();
  for (auto _ : state) {
    std::string error;
    if (!WriteSoundtrack(path, error, {})) state.SkipWithError(error.c_str());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteSoundtrack)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
