// What one captured frame costs at 1280×720: drawing it and reading it back, hashing its
// pixels, writing it as a PNG file, and shrinking it onto the contact sheet. The frame
// comes from drift-capture's own session on a data set: DRIFT_BENCH_ARCHIVE when set,
// else the generated build/demodat, else the tests' small one. Needs a GL context: run
// under xvfb-run, or with no display at all (SDL's offscreen driver).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "capture/capture_session.h"
#include "capture/contact_sheet.h"
#include "capture/frame_hashes.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kFps = 60;

std::string Archive(testing_support::TempDir& scratch) {
  if (const char* archive = std::getenv("DRIFT_BENCH_ARCHIVE")) return archive;
  const std::string generated = std::string(DRIFT_BINARY_DIR) + "/demodat";
  if (std::filesystem::exists(generated)) return generated;
  std::string error;
  if (!testing_support::WriteTestDataSet(scratch.File("data"), {}, error) ||
      !testing_support::PackDataFolder(scratch.File("data"), scratch.File("demodat"), error)) {
    return "";
  }
  return scratch.File("demodat");
}

// One session for every benchmark of the program (loading takes seconds).
struct Bench {
  testing_support::TempDir scratch;
  std::unique_ptr<testing_support::ScopedWorkingDirectory> inScratch =
      std::make_unique<testing_support::ScopedWorkingDirectory>(scratch.Path());  // log.txt goes there
  std::string archive = Archive(scratch);
  CaptureSession session;
  std::string error;
  bool open = !archive.empty() && session.Open(archive, kWidth, kHeight, FrameGrid::ForSection(kFps, 0, 240), error);
  Image picture;
};
Bench& Shared() {
  static Bench* bench = new Bench;
  return *bench;
}

// Frames at the hall with the arms (30 s), the release (113 s), the passage and the wall
// (150 s) and the dance (210 s).
void BM_DrawAndReadBack(benchmark::State& state) {
  Bench& bench = Shared();
  if (!bench.open) {
    state.SkipWithError(("no session: " + bench.error).c_str());
    return;
  }
  const long frame = state.range(0) * kFps;
  if (bench.session.NextFrame() > frame + 1) {
    state.SkipWithError("frames run in ascending order");
    return;
  }
  bench.session.UpdateTo(frame);
  for (auto _ : state) bench.session.Render(bench.picture);
  state.SetLabel(bench.archive);
}
BENCHMARK(BM_DrawAndReadBack)->Arg(30)->Arg(113)->Arg(150)->Arg(210)->Unit(benchmark::kMillisecond)->MinTime(3);

// Reading the picture back alone (the frame drawn once before).
void BM_ReadBack(benchmark::State& state) {
  Bench& bench = Shared();
  if (!bench.open) {
    state.SkipWithError(("no session: " + bench.error).c_str());
    return;
  }
  bench.session.UpdateTo(bench.session.NextFrame());
  bench.session.Render(bench.picture);
  for (auto _ : state) bench.session.ReadBack(bench.picture);
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMillisecond);

// A rendered frame for the benchmarks below (the last one drawn, else a fresh one).
const Image& AFrame() {
  Bench& bench = Shared();
  if (bench.picture.pixels == nullptr && bench.open) {
    bench.session.UpdateTo(bench.session.NextFrame() + 30 * kFps);
    bench.session.Render(bench.picture);
  }
  if (bench.picture.pixels == nullptr) bench.picture = Image::Allocate(kWidth, kHeight, 24);
  return bench.picture;
}

void BM_PixelHash(benchmark::State& state) {
  const Image& frame = AFrame();
  for (auto _ : state) benchmark::DoNotOptimize(PixelHash(frame));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * frame.Bytes()));
}
BENCHMARK(BM_PixelHash)->Unit(benchmark::kMillisecond);

// 0: the smallest files (the library's default), 1: the capture's fast setting.
void BM_EncodePng(benchmark::State& state) {
  const Image& frame = AFrame();
  const std::string path = Shared().scratch.File("frame.png");
  const PngCompression compression = state.range(0) == 0 ? PngCompression::kSmallest : PngCompression::kFast;
  for (auto _ : state) EncodePng(path, frame, compression);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_EncodePng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ContactSheetPlace(benchmark::State& state) {
  const Image& frame = AFrame();
  ContactSheet sheet(24, kWidth, kHeight);
  int cell = 0;
  for (auto _ : state) sheet.Place(cell++ % 24, frame, "t = 1.000 s", {});
}
BENCHMARK(BM_ContactSheetPlace)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
