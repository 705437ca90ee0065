// Cost of building the direction's data: the torches' keys (each seam point cast onto
// the lying robot), the robot path's keys, and every shot sampled at the cameras' key
// rate. The generator builds each once per run of drift-datagen; the numbers say how
// much of its time the direction takes.
#include <benchmark/benchmark.h>

#include "datagen/animation/node_keys.h"
#include "datagen/direction/arm_motion.h"
#include "datagen/direction/shot_list.h"
#include "datagen/world/robot_route.h"

namespace {

using namespace datagen;

void BM_ArmTorchKeys(benchmark::State& state) {
  const int arm = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ArmTorchKeys(arm));
}
BENCHMARK(BM_ArmTorchKeys)->DenseRange(1, 2)->Unit(benchmark::kMillisecond);

void BM_RobotPathKeys(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(RobotPathPositions());
    benchmark::DoNotOptimize(RobotPathOrientations());
  }
}
BENCHMARK(BM_RobotPathKeys)->Unit(benchmark::kMillisecond);

// Every shot's eye, aim and orientation at ten keys a second, as the cameras file does.
void BM_ShotKeys(benchmark::State& state) {
  for (auto _ : state) {
    std::size_t keys = 0;
    for (const CameraShot& shot : CameraShots()) {
      for (float t = shot.start; t <= shot.end; t += 0.1f) {
        const CameraView view = shot.view(t);
        benchmark::DoNotOptimize(CameraOrientation(view.eye, view.target));
        ++keys;
      }
    }
    state.counters["keys"] = static_cast<double>(keys);
  }
}
BENCHMARK(BM_ShotKeys)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
