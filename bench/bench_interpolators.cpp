// Cost of evaluating the kind of track every animated node, camera and property
// evaluates each frame: 50-key TCB curves of positions and rotations, read at
// random times (drawn in advance, so only the evaluation is measured).
#include <benchmark/benchmark.h>

#include <vector>

#include "anim/interpolators.h"
#include "anim/random.h"

namespace {

constexpr int kKeys = 50;
constexpr float kSpan = 100.0f;  // seconds covered by the keys

std::vector<float> RandomTimes(int count) {
  ResetRand();
  std::vector<float> times(static_cast<size_t>(count));
  // Slightly beyond both ends, so the out-of-range paths are in the mix too.
  for (float& t : times) t = static_cast<float>(Rand()) / 32767.0f * (kSpan + 4.0f) - 2.0f;
  return times;
}

float KeyTime(int i) { return kSpan * static_cast<float>(i) / (kKeys - 1); }

void BM_TcbVec3(benchmark::State& state) {
  TCBInterpolator<sm::Vec3> track;
  for (int i = 0; i < kKeys; ++i) {
    const float f = static_cast<float>(i);
    track.SetKey(KeyTime(i), sm::Vec3(f * 3.0f, f * f * 0.1f, -f), i % 11 == 5);
  }
  const std::vector<float> times = RandomTimes(4096);
  size_t next = 0;
  sm::Vec3 out;
  for (auto _ : state) {
    track.Evaluate(times[next], out);
    benchmark::DoNotOptimize(out);
    next = (next + 1) & 4095;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TcbVec3);

void BM_TcbQuat(benchmark::State& state) {
  TCBInterpolator<sm::Quat> track;
  for (int i = 0; i < kKeys; ++i) {
    sm::Quat q;
    sm::FromAxisAngle(q, sm::Vec3(0.0f, 0.6f, 0.8f), 0.2f * static_cast<float>(i));
    track.SetKey(KeyTime(i), q, i % 11 == 5);
  }
  const std::vector<float> times = RandomTimes(4096);
  size_t next = 0;
  sm::Quat out;
  for (auto _ : state) {
    track.Evaluate(times[next], out);
    benchmark::DoNotOptimize(out);
    next = (next + 1) & 4095;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TcbQuat);

}  // namespace

BENCHMARK_MAIN();
