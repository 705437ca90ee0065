#pragma once
// The run: a closed cycle of two strides whose feet plant on a floor kRunHipHeight below
// the hip centre while the robot travels kRunStride per cycle, and the ready stance it
// stands in while it waits at the glass (the run's pose at time 0).
#include <vector>

#include "datagen/robot/gait.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/robot/skeleton.h"

namespace datagen::robot {

// Distance travelled per second of animation time (the scenes play the run at 2x).
constexpr float kRunTravelPerSecond = metrics::kRunStride / metrics::kRunPeriod;

// The run's pose at an animation time (any time; the cycle repeats every kRunPeriod).
BodyPose RunPose(float time);

// The upper body of the run at an animation time: everything of RunPose but the feet.
BodyPose RunUpperBody(float time);

// The run's contacts of one foot (side +1 left, -1 right) whose touchdowns fall in
// [from, to) of animation time, for a robot that has travelled travel(t) =
// kRunTravelPerSecond * t by then. Other motions continue into the run with them.
std::vector<Contact> RunContacts(float side, float from, float to);
SwingStyle RunSwing();
Travel RunTravel();

// The ready stance: feet apart and staggered, knees bent, fists up, on the run's floor.
BodyPose ReadyStance();

}  // namespace datagen::robot
