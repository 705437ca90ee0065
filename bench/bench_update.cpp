// The controller's per-frame update alone (no rendering) over the whole timeline:
// music clock, doors, signal, boards, scene choice, cameras, the current scene with the
// robot, arms and shards, the projection and the culling of every draw list. One
// iteration is one frame at 60 frames a second, from 0 to 240 s.
//
// It loads a data set first, which needs a GL context: run under xvfb-run, or with
// SDL_VIDEODRIVER=offscreen. The data set is DRIFT_BENCH_DATA (an unpacked data folder)
// when set, else the generated one in the build folder, else the tests' small one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "demo/demo_controller.h"
#include "platform/offscreen_context.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int kFrames = 240 * 60;

std::string DataFolder(testing_support::TempDir& scratch) {
  if (const char* folder = std::getenv("DRIFT_BENCH_DATA")) return std::string(folder) + "/";
  const std::string generated = std::string(DRIFT_BINARY_DIR) + "/data";
  if (std::filesystem::exists(generated + "/models")) return generated + "/";
  std::string error;
  if (!testing_support::WriteTestDataSet(scratch.File("data"), {}, error)) return "";
  return scratch.File("data") + "/";
}

void BM_UpdateWholeTimeline(benchmark::State& state) {
  platform::OffscreenContext context;
  if (!context.Create(64, 64)) {
    state.SkipWithError(("no GL context: " + context.Error()).c_str());
    return;
  }
  testing_support::TempDir scratch;
  testing_support::ScopedWorkingDirectory inScratch(scratch.Path());  // log.txt goes there
  const std::string data = DataFolder(scratch);
  FixedClock clock;
  DemoController* controller = DemoController::Instance();
  ControllerOptions options;
  options.clock = &clock;
  options.useCurrentContext = true;
  controller->SetOptions(options);
  if (data.empty() || !controller->Init(1280, 720, 32, 0) || !controller->LoadContent(data) ||
      !controller->Prepare()) {
    state.SkipWithError(("the data set did not load: " + testing_support::ReadFile(scratch.File("log.txt"))).c_str());
    DemoController::Destroy();
    return;
  }

  long frame = 0;
  double slowest = 0.0;
  for (auto _ : state) {
    const double t = static_cast<double>(frame++) * kFrameSeconds;
    clock.Set(t);
    const auto start = std::chrono::steady_clock::now();
    controller->Update(static_cast<float>(t * 1000.0), static_cast<float>(kFrameSeconds * 1000.0));
    slowest = std::max(slowest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["slowest_us"] = slowest;
  state.SetLabel(data);
  DemoController::Destroy();
}
BENCHMARK(BM_UpdateWholeTimeline)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
