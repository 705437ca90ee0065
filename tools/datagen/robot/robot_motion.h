#pragma once
// The robot's animations as pose tracks: sampled key lists for the four pose files.
#include <vector>

#include "datagen/robot/robot_rig.h"

namespace datagen::robot {

struct TimedPose {
  float time;
  Pose pose;
};

// The run cycle's period; it divides 210 so the cycle's phase is the same either side
// of the scene switch at 120 s.
constexpr float kRunPeriod = 1.4f;

std::vector<TimedPose> ReleasingAnimation();
std::vector<TimedPose> RunAnimation();
std::vector<TimedPose> BreakingWallAnimation();
std::vector<TimedPose> DanceAnimation();
// The rest frame (replaced by the program right after loading; kept complete).
Pose RestFrame();

}  // namespace datagen::robot
