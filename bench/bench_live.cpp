// What the live player's seeks and reloads cost at 1280×720: an exact seek (restore the
// nearest saved state, replay the updates, draw the frame) to 10, 110 and 200 s,
// forward from the start and back from the end, with the checkpoints a session has
// left and with none yet (the first seeks after loading); and a reload of the whole
// content with the check of one changed file of each kind before it. The data is
// DRIFT_BENCH_DATA when set, else the generated build/data, else the tests' small set.
// Needs a GL context: run under xvfb-run, or with no display (SDL's offscreen driver).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "anim/show_times.h"
#include "live/live_reload.h"
#include "live/live_session.h"
#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

std::string DataFolder(testing_support::TempDir& scratch) {
  if (const char* data = std::getenv("DRIFT_BENCH_DATA")) return std::string(data) + "/";
  const std::string generated = std::string(DRIFT_BINARY_DIR) + "/data/";
  if (std::filesystem::exists(generated + "properties")) return generated;
  std::string error;
  if (!testing_support::WriteTestDataSet(scratch.File("data"), {}, error)) return "";
  return scratch.File("data") + "/";
}

// One session for every benchmark of the program (loading takes seconds).
struct Bench {
  testing_support::TempDir scratch;
  std::unique_ptr<testing_support::ScopedWorkingDirectory> inScratch =
      std::make_unique<testing_support::ScopedWorkingDirectory>(scratch.Path());  // log.txt goes there
  std::string data = DataFolder(scratch);
  platform::OffscreenContext context;
  bool hasContext = context.Create(kWidth, kHeight) && platform::FetchGlEntryPoints();
  LiveSession session;
  std::string error;
  bool open = hasContext && !data.empty() && session.Open(data, kWidth, kHeight, error);
};
Bench& Shared() {
  static Bench* bench = new Bench;
  return *bench;
}

bool Ready(benchmark::State& state, Bench& bench) {
  if (bench.open) return true;
  state.SkipWithError(("no session: " + bench.error + " " + bench.context.Error()).c_str());
  return false;
}

// Arguments: the target in seconds, 0 forward from the start or 1 back from the end,
// 1 with the checkpoints left by earlier seeks or 0 with none.
void BM_Seek(benchmark::State& state) {
  Bench& bench = Shared();
  if (!Ready(state, bench)) return;
  const long target = state.range(0) * LiveSession::kFps;
  const bool back = state.range(1) != 0;
  const bool warm = state.range(2) != 0;
  // The checkpoints every seek may use: one pass over the whole timeline.
  if (warm) bench.session.SeekFrame(static_cast<long>(show::kMusicEnd) * LiveSession::kFps);
  for (auto _ : state) {
    state.PauseTiming();
    if (!warm) bench.session.DropCheckpoints();
    bench.session.SeekFrame(back ? 220L * LiveSession::kFps : 0L);
    bench.session.Invalidate();  // from the start or the end, never on from the frame before
    if (back) bench.session.SeekFrame(220L * LiveSession::kFps);
    const long replayedBefore = bench.session.ReplayedUpdates();
    state.ResumeTiming();
    bench.session.SeekFrame(target);
    bench.session.Render();
    glFinish();
    state.counters["updates"] = static_cast<double>(bench.session.ReplayedUpdates() - replayedBefore);
  }
}
BENCHMARK(BM_Seek)
    ->ArgsProduct({{10, 110, 200}, {0, 1}, {1, 0}})
    ->ArgNames({"to", "back", "warm"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The player's idle work after loading: one checkpoint per call, each 600 updates
// and a save and restore of the whole timeline.
void BM_FillNextCheckpoint(benchmark::State& state) {
  Bench& bench = Shared();
  if (!Ready(state, bench)) return;
  const long end = static_cast<long>(show::kMusicEnd) * LiveSession::kFps;
  bench.session.SeekFrame(100L * LiveSession::kFps);
  for (auto _ : state) {
    state.PauseTiming();
    if (bench.session.CheckpointCount() > 20) bench.session.DropCheckpoints();
    state.ResumeTiming();
    bench.session.FillNextCheckpoint(end);
  }
}
BENCHMARK(BM_FillNextCheckpoint)->Unit(benchmark::kMillisecond)->Iterations(40);

// One grid frame on, as "." does: the next update and the frame.
void BM_FrameStep(benchmark::State& state) {
  Bench& bench = Shared();
  if (!Ready(state, bench)) return;
  long frame = 150L * LiveSession::kFps;
  bench.session.SeekFrame(frame);
  for (auto _ : state) {
    bench.session.SeekFrame(++frame);
    bench.session.Render();
    glFinish();
  }
}
BENCHMARK(BM_FrameStep)->Unit(benchmark::kMillisecond)->Iterations(10);

// The whole content loaded again, back at 150 s and drawn.
void BM_Reload(benchmark::State& state) {
  Bench& bench = Shared();
  if (!Ready(state, bench)) return;
  for (auto _ : state) {
    std::string error;
    if (!bench.session.Reload(error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    bench.session.SeekFrame(150L * LiveSession::kFps);
    bench.session.Render();
    glFinish();
  }
}
BENCHMARK(BM_Reload)->Unit(benchmark::kMillisecond)->Iterations(3);

// GL names alive (textures, buffers, framebuffers, renderbuffers, programs, shaders):
// what a leak would grow. The driver hands out ever higher names, so the scan reaches
// far past what one load uses.
double LiveGlObjects() {
  double count = 0;
  for (GLuint name = 1; name < 400000; ++name) {
    count += glIsTexture(name) + glext::glIsBufferARB(name) + glext::glIsFramebufferEXT(name) +
             glext::glIsRenderbufferEXT(name) + glext::glIsProgram(name) +
             glext::glIsShader(name);
  }
  return count;
}

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Reloads, one after the other (the argument: how many); the counters say whether the
// GL objects and the memory stay flat: after the first reload and after the last.
void BM_ManyReloads(benchmark::State& state) {
  Bench& bench = Shared();
  if (!Ready(state, bench)) return;
  for (auto _ : state) {
    std::string error;
    for (long i = 0; i < state.range(0); ++i) {
      if (!bench.session.Reload(error)) {
        state.SkipWithError(error.c_str());
        return;
      }
      bench.session.SeekFrame(150L * LiveSession::kFps);
      bench.session.Render();
      glFinish();
      if (i == 0 || i == 9) {
        const std::string after = i == 0 ? "_first" : "_tenth";
        state.counters["gl_objects" + after] = LiveGlObjects();
        state.counters["resident_mb" + after] = ResidentMegabytes();
      }
    }
    state.counters["gl_objects_last"] = LiveGlObjects();
    state.counters["resident_mb_last"] = ResidentMegabytes();
  }
}
BENCHMARK(BM_ManyReloads)->Arg(100)->Unit(benchmark::kSecond)->Iterations(1);

// The check a changed file gets before the reload, by kind: a file of the data set.
void BM_CheckChangedFile(benchmark::State& state, const char* relative) {
  Bench& bench = Shared();
  if (!Ready(state, bench)) return;
  for (auto _ : state) {
    std::string error;
    if (!CheckChangedFile(bench.data, relative, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
  }
}
BENCHMARK_CAPTURE(BM_CheckChangedFile, effect, "effects/std_lighting.cfx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, material, "materials/glass.mat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, texture, "textures/cladding_n.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, model, "models/factory_hal.geo")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, animation, "animations/cameras.ani")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, camera, "cameras/cameras.cam")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, script, "properties/props.scr")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckChangedFile, pose, "Robot/dance_anim")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
