// Start-up costs: unpacking the data archive, opening the soundtrack (which happens while
// the loading screen shows), decoding it, and the per-frame position read.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive.h"
#include "platform/tools/mp3_encoder.h"
#include "platform/music_stream.h"
#include "platform/zip_archive.h"

namespace {

// A scratch folder for the run, removed at exit.
struct Scratch {
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bench_startup.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    folder = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string File(const std::string& name) const { return folder + "/" + name; }
  std::string folder;
};

Scratch& Work() {
  static Scratch work;
  return work;
}

// A soundtrack-sized file: four minutes of two tones, encoded once.
const std::string& Soundtrack() {
  static const std::string path = [] {
    const int rate = 44100;
    const int frames = rate * 240;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
      samples[2 * i] = static_cast<std::int16_t>(9000.0 * std::sin(i * 0.0627));
      samples[2 * i + 1] = static_cast<std::int16_t>(9000.0 * std::sin(i * 0.0941));
    }
    platform::Mp3Settings settings;
    settings.quality = 7;
    std::string error;
    const std::string file = Work().File("osprey.mp3");
    if (!platform::EncodeMp3(file, samples, settings, error)) abort();
    return file;
  }();
  return path;
}

// About 20 MB in 200 files over 10 folders, half of it compressible.
const std::string& DataArchive() {
  static const std::string path = [] {
    const std::string file = Work().File("demodat");
    platform::ZipWriter zip;
    if (!zip.Open(file)) abort();
    std::string noise(100000, '\0');
    unsigned state = 1;
    for (char& c : noise) {
      state = state * 214013u + 2531011u;
      c = static_cast<char>(state >> 16);
    }
    const std::string text(100000, 'x');
    for (int i = 0; i < 200; ++i) {
      zip.AddFile("folder" + std::to_string(i % 10) + "/file" + std::to_string(i), i % 2 ? noise : text);
    }
    if (!zip.Close()) abort();
    return file;
  }();
  return path;
}

void BM_UnpackArchive(benchmark::State& state) {
  const std::string data = Work().File("data/");
  for (auto _ : state) {
    std::vector<std::string> messages;
    benchmark::DoNotOptimize(UnpackArchive(DataArchive(), data, messages));
    state.PauseTiming();
    std::filesystem::remove_all(data);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * 200 * 100000);
}
BENCHMARK(BM_UnpackArchive)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CreateMusicStream(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  platform::InitMusicOutput(44100);
  Soundtrack();
  for (auto _ : state) {
    const platform::MusicHandle stream = platform::CreateLoopingMusicStream(Soundtrack());
    if (stream == 0) state.SkipWithError(platform::MusicError().c_str());
    state.PauseTiming();
    platform::FreeMusicStream(stream);
    state.ResumeTiming();
  }
  platform::FreeMusicOutput();
}
BENCHMARK(BM_CreateMusicStream)->Unit(benchmark::kMillisecond);

void BM_DecodeSoundtrack(benchmark::State& state) {
  std::vector<std::int16_t> samples;
  int rate = 0;
  for (auto _ : state) {
    if (!platform::DecodeMp3File(Soundtrack(), samples, rate)) state.SkipWithError(platform::MusicError().c_str());
  }
  state.counters["x_realtime"] =
      benchmark::Counter(240.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeSoundtrack)->Unit(benchmark::kMillisecond)->UseRealTime();  // decodes on a thread

void BM_MusicPosition(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  platform::InitMusicOutput(44100);
  const platform::MusicHandle stream = platform::CreateLoopingMusicStream(Soundtrack());
  platform::PlayMusic(stream);
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::MusicBytesToSeconds(stream, platform::MusicPosition(stream)));
  }
  platform::FreeMusicOutput();
}
BENCHMARK(BM_MusicPosition);

}  // namespace

BENCHMARK_MAIN();
