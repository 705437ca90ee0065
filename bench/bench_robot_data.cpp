// Cost of building the robot's data: its five pose files (every key of every motion
// solved from body angles and foot contacts, then written), the twelve part models'
// geometry, and one pose of each motion. The generator builds each once per run of
// drift-datagen; the numbers say how much of its time the robot takes.
#include <benchmark/benchmark.h>

#include "datagen/robot/motions.h"
#include "datagen/robot/pose_files.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/robot/run_cycle.h"

namespace {

using namespace datagen::robot;

void BM_RobotPoseFiles(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PoseFiles());
}
BENCHMARK(BM_RobotPoseFiles)->Unit(benchmark::kMillisecond);

void BM_RobotPartGeometry(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PartGeometry());
}
BENCHMARK(BM_RobotPartGeometry)->Unit(benchmark::kMillisecond);

// One key of each motion: body angles (and contacts) to adjusted joints.
void BM_RobotSolveKey(benchmark::State& state) {
  const int motion = static_cast<int>(state.range(0));
  float t = 0.0f;
  for (auto _ : state) {
    t += 1.0f / 60.0f;
    if (t > 3.0f) t = 0.0f;
    switch (motion) {
      case 0: benchmark::DoNotOptimize(Solve(ReleasingPose(t))); break;
      case 1: benchmark::DoNotOptimize(Solve(RunPose(t))); break;
      case 2: benchmark::DoNotOptimize(Solve(BreakingWallPose(t))); break;
      default: benchmark::DoNotOptimize(Solve(DancePose(t))); break;
    }
  }
}
BENCHMARK(BM_RobotSolveKey)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
