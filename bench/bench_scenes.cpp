// Cost of the scenes' per-frame work: both scenes' Update with the robot's Pose, the
// two arms and their sparks, the shards and the light, played over the whole timeline
// at 60 steps per second as the controller plays it. The world is the scene tests'
// own (tests/scenes/scene_content.h), with 120 shards, as many as the content's wall
// may have. Drawing is not measured (it needs GL; see bench_render).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "scenes/frames.h"
#include "scenes/mechanical_arm.h"
#include "scenes/scene_content.h"
#include "scenes/scene_driver.h"
#include "scenes/spark_emitter.h"

namespace {

using namespace scene_testing;

constexpr int kStepsPerSecond = 60;
constexpr int kTimelineSeconds = 240;
constexpr int kShards = 120;

// Both scenes set up over the test world, the robot's files in a private folder.
class BenchWorld {
 public:
  BenchWorld() {
    std::string pattern = (std::filesystem::temp_directory_path() / "drift_bench_scenes.XXXXXX").string();
    folder_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    AddAllSceneContent(world, folder_, kShards);
    ready = world.robot.Setup(world, folder_) && driver.Load();
  }
  ~BenchWorld() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

  FakeWorld world;
  SceneDriver driver{world};
  bool ready = false;

 private:
  std::string folder_;
};

// Plays frames from..to (seconds) once per iteration; reports the time per frame.
void PlayTimeline(benchmark::State& state, float from, float to) {
  BenchWorld bench;
  if (!bench.ready) {
    state.SkipWithError("the scenes' world could not be set up");
    return;
  }
  const int first = static_cast<int>(from * kStepsPerSecond);
  const int last = static_cast<int>(to * kStepsPerSecond);
  sm::Mat4 light;
  for (auto _ : state) {
    float previous = static_cast<float>(first) / kStepsPerSecond;
    for (int frame = first; frame <= last; ++frame) {
      const float t = static_cast<float>(frame) / kStepsPerSecond;
      bench.driver.Frame(t, t - previous);
      bench.driver.CurrentScene().AdjustLight(light);
      previous = t;
    }
    benchmark::DoNotOptimize(light);
  }
  const double frames = static_cast<double>(last - first + 1);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frames));
  // Seconds per frame (printed with an SI prefix: "4u" is 4 µs).
  state.counters["per_frame"] =
      benchmark::Counter(frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_WholeTimeline(benchmark::State& state) { PlayTimeline(state, 0.0f, kTimelineSeconds); }
// The windows with the most work: welding with sparks, and the shards in flight.
void BM_WeldingWindow(benchmark::State& state) { PlayTimeline(state, 0.0f, 50.0f); }
void BM_ShardWindow(benchmark::State& state) { PlayTimeline(state, 166.0f, 200.0f); }

void BM_RobotPose(benchmark::State& state) {
  BenchWorld bench;
  Robot::Character& robot = bench.world.robot;
  robot.animationIndex = Robot::kDance;
  float t = 0.0f;
  for (auto _ : state) {
    robot.Pose(t);
    t = t > 24.0f ? 0.0f : t + 1.0f / kStepsPerSecond;
  }
  state.SetItemsProcessed(state.iterations());
}

// Welding without pause: about 320 particles alive, the whole pool scanned each step.
void BM_SparkEmitterWelding(benchmark::State& state) {
  SparkEmitter emitter;
  for (int i = 0; i < 200; ++i) emitter.Update(1.0f / kStepsPerSecond);
  for (auto _ : state) {
    emitter.Update(1.0f / kStepsPerSecond);
    benchmark::DoNotOptimize(emitter.particles[0].position);
  }
  state.SetItemsProcessed(state.iterations() * SparkEmitter::kPoolSize);
}

void BM_SolveArm(benchmark::State& state) {
  const sm::Vec3 base = kFirstArmBase;
  float angle = 0.0f;
  for (auto _ : state) {
    const ArmPose pose = SolveArm(base, Plus(base, sm::Vec3(500 * std::cos(angle), 80, 500 * std::sin(angle))));
    benchmark::DoNotOptimize(pose);
    angle += 0.01f;
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_WholeTimeline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeldingWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShardWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobotPose);
BENCHMARK(BM_SparkEmitterWelding)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveArm);

BENCHMARK_MAIN();
