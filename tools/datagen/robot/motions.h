#pragma once
// The robot's five pose files as motions: the rest frame and the four animations, each
// a list of timed, adjusted joint sets ready for the file writer.
//
//   releasing      lies limp in the rig, wakes with the release, looks around, frees its
//                  arms, stands, and leans into its first running stride
//   run            the closed run cycle; its first key is the ready stance it waits in
//   breaking wall  from the ready stance: crouch, charge, right shoulder into the glass,
//                  running on
//   dance          on the music's beat in the hall, ending in a bow that holds
#include <vector>

#include "datagen/robot/skeleton.h"

namespace datagen::robot {

struct TimedJoints {
  float time;
  Joints joints;
};

// Key rates: one key per shown frame at 60 Hz for the speed each is played at.
constexpr float kReleasingKeysPerSecond = 30.0f;
constexpr float kRunKeysPerSecond = 30.0f;
constexpr float kBreakingWallKeysPerSecond = 60.0f;
constexpr float kDanceKeysPerSecond = 60.0f;

// The run's first key holds the ready stance, and the cycle proper starts this long after
// it: the scenes pose time 0 exactly while the robot waits at the glass, and a running
// frame lands inside this sliver only rarely.
constexpr float kRunCycleStart = 1.0f / 4096.0f;

// The poses at any time of each motion (animation seconds).
BodyPose ReleasingPose(float time);
BodyPose BreakingWallPose(float time);
BodyPose DancePose(float time);
// The limp pose of the releasing animation's first frame (the lying robot).
BodyPose LimpPose();

std::vector<TimedJoints> ReleasingMotion();
std::vector<TimedJoints> RunMotion();
std::vector<TimedJoints> BreakingWallMotion();
std::vector<TimedJoints> DanceMotion();
// The rest frame: the program replaces it at once, but it is a complete pose.
Joints RestJoints();

}  // namespace datagen::robot
