// Frames of the generated world at 1280x720 drawn by the real demo at each viewpoint's
// time (the live player's session with a still camera), one benchmark per viewpoint, with the time of every pass as counters. Needs
// the build's data set and a display (run under xvfb-run -a -s "-screen 0 1280x720x24");
// without either it is skipped. Compare with bench_render's BM_Frame (the small test
// scene) run at the same time on the same machine.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "preview/preview_world.h"
#include "render/frame.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;

// The context and the loaded world, made once for every benchmark.
struct World {
  platform::OffscreenContext context;
  std::unique_ptr<preview::PreviewWorld> world;
  std::string error;

  World() {
    const std::string data = std::string(DRIFT_BINARY_DIR) + "/data";
    if (!std::filesystem::exists(data + "/models/factory_hal.geo")) {
      error = "no generated data set in " + data;
      return;
    }
    if (!context.Create(64, 64)) {
      error = "no GL context: " + context.Error();
      return;
    }
    OpenLog(std::string(DRIFT_BINARY_DIR) + "/bench_world_log.txt");
    world = std::make_unique<preview::PreviewWorld>();
    if (!world->Load(data, kWidth, kHeight, error)) world.reset();
  }
};

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

World& TheWorld() {
  static World world;
  return world;
}

void BM_WorldFrame(benchmark::State& state) {
  World& w = TheWorld();
  if (!w.world) {
    state.SkipWithError(w.error.c_str());
    return;
  }
  const preview::Viewpoint& viewpoint = preview::Viewpoints()[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(viewpoint.name);
  w.world->Render(viewpoint);  // warm-up
  std::vector<double> passes(8, 0.0), frame;
  const double cpuStart = ProcessCpuMs();
  for (auto _ : state) {
    w.world->Render(viewpoint, &frame);
    for (std::size_t k = 0; k < passes.size(); ++k) passes[k] += frame[k];
  }
  // The rasteriser works on threads of its own: the process's CPU time per frame says
  // what a frame costs with less noise from other work on a shared machine.
  state.counters["cpu_ms_all_threads"] = (ProcessCpuMs() - cpuStart) / static_cast<double>(state.iterations());
  for (std::size_t k = 0; k < passes.size(); ++k) {
    state.counters[std::string("ms_") + FramePassName(static_cast<FramePass>(k))] =
        passes[k] / static_cast<double>(state.iterations());
  }
}
BENCHMARK(BM_WorldFrame)
    ->DenseRange(0, static_cast<int>(preview::Viewpoints().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
