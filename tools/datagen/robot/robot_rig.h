#pragma once
// The robot as the program places it: its twelve part models, the local frame the
// program builds for each from a pose (the same constructions, from scenes/frames.h),
// and the two placements of the hall. The generator uses them to bake the lying robot
// and to model each part in the frame it is drawn in.
#include <array>

#include "anim/math.h"
#include "anim/robot_frame.h"

namespace datagen::robot {

struct PartInfo {
  const char* model;
  int joint;      // the joint whose frame places it
  bool mirrored;  // placed by a frame with determinant -1: stored with x negated
};
constexpr int kPartCount = 12;

// The twelve part models in the order the program lists them.
const std::array<PartInfo, kPartCount>& Parts();

// Each part's local frame for an adjusted pose, in Parts() order, exactly as the
// program's robot builds it (placement · frame places every mesh of the part).
std::array<sm::Mat4, kPartCount> PartFrames(const Robot::Frame& pose);

// Where the assembling scene places the robot: A, released in the rig; B, dancing.
sm::Mat4 ReleasePlacement();
sm::Mat4 DancePlacement();

}  // namespace datagen::robot
