#include "datagen/robot/motions.h"

#include "datagen/robot/key_poses.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/robot/run_cycle.h"

namespace datagen::robot {
namespace {

using namespace metrics;

template <typename PoseAt>
std::vector<TimedJoints> Solved(float length, float keysPerSecond, PoseAt&& at) {
  std::vector<TimedJoints> keys;
  for (const auto& sample : Sample(length, keysPerSecond, at)) keys.push_back({sample.first, Solve(sample.second)});
  return keys;
}

}  // namespace

std::vector<TimedJoints> ReleasingMotion() {
  return Solved(kReleasingLength, kReleasingKeysPerSecond, ReleasingPose);
}

std::vector<TimedJoints> RunMotion() {
  // Key 0 is the ready stance; the cycle starts a sliver later and its last key repeats
  // key 0 at the period, which only sets the loop's length.
  std::vector<TimedJoints> keys = Solved(kRunPeriod, kRunKeysPerSecond, RunPose);
  const Joints ready = Solve(ReadyStance());
  keys.front().time = kRunCycleStart;
  keys.insert(keys.begin(), {0.0f, ready});
  keys.back().joints = ready;
  return keys;
}

std::vector<TimedJoints> BreakingWallMotion() {
  return Solved(kBreakLength, kBreakingWallKeysPerSecond, BreakingWallPose);
}

std::vector<TimedJoints> DanceMotion() { return Solved(kDanceLength, kDanceKeysPerSecond, DancePose); }

Joints RestJoints() { return Solve(DancePose(0.0f)); }

}  // namespace datagen::robot
