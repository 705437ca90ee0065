#pragma once
// The robot as the program poses it: 20 joints per pose, twelve rigid parts placed by
// frames built from those joints, and the two placements in the hall. The generator
// uses the same constructions to bake the lying robot, to check pose data and to
// model each part in the frame it will be drawn in.
#include <array>
#include <string>

#include "anim/math.h"
#include "datagen/geometry/vec.h"

namespace datagen::robot {

enum Joint : int {
  kHeadTop = 0, kNeck = 1, kSpine = 2, kHips = 3,
  kLeftShoulder = 4, kLeftElbow = 5, kLeftHand = 6, kLeftHandTip = 7,
  kRightShoulder = 8, kRightElbow = 9, kRightHand = 10, kRightHandTip = 11,
  kLeftHip = 12, kLeftKnee = 13, kLeftAnkle = 14, kLeftToes = 15,
  kRightHip = 16, kRightKnee = 17, kRightAnkle = 18, kRightToes = 19,
  kJointCount = 20,
};

// Joint positions in pose space: the robot faces +z, its right is -x, y up.
struct Pose {
  std::array<V3, kJointCount> joints;
  V3& operator[](int joint) { return joints[static_cast<std::size_t>(joint)]; }
  const V3& operator[](int joint) const { return joints[static_cast<std::size_t>(joint)]; }
};

// What the program does to every pose it reads: the hip centre to the origin, then
// each leg chain moved so its hip lands beside the pelvis.
Pose Adjusted(const Pose& pose);

// The three frame constructions (column vectors, axes as columns, translation last).
sm::Mat4 LookAtFrame(V3 target, V3 eye);
sm::Mat4 AimFrame(V3 at, V3 toward, V3 up);
sm::Mat4 RiseFrame(V3 up, V3 at, V3 toward);

// The twelve part models, in the order the program lists them.
struct PartInfo {
  const char* model;
  int joint;      // the joint whose frame places it
  bool mirrored;  // placed by a frame with determinant -1: stored with x negated
};
constexpr int kPartCount = 12;
const std::array<PartInfo, kPartCount>& Parts();

// Each part's frame for a pose (already adjusted), in Parts() order.
std::array<sm::Mat4, kPartCount> PartFrames(const Pose& pose);

// The placements of the hall: where the robot is released and where it dances.
sm::Mat4 ReleasePlacement();
sm::Mat4 DancePlacement();

// The welding arm's two-bone solve: the three part matrices for base B and wrist E.
struct ArmFrames {
  sm::Mat4 base, upper, fore;
  V3 elbow;
};
ArmFrames SolveArm(V3 base, V3 wrist);

// Points and directions through a matrix.
V3 TransformPoint(const sm::Mat4& m, V3 p);
V3 TransformDirection(const sm::Mat4& m, V3 d);

}  // namespace datagen::robot
