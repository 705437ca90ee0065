// The robot's rig as the generator uses it: poses come out adjusted the program's way
// with rigid bones, parts are placed by frames of the right handedness, and the arm
// solve keeps its segment lengths.
#include <gtest/gtest.h>

#include <cmath>

#include "datagen/robot/robot_body.h"
#include "datagen/robot/robot_motion.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/world/layout.h"

namespace {

using namespace datagen;
using namespace datagen::robot;

float Determinant(const sm::Mat4& m) {
  const float* a = m.a;
  return a[0] * (a[5] * a[10] - a[9] * a[6]) - a[4] * (a[1] * a[10] - a[9] * a[2]) + a[8] * (a[1] * a[6] - a[5] * a[2]);
}

float Bone(const Pose& p, int a, int b) { return Length(p[a] - p[b]); }

TEST(RobotRig, AdjustingMovesTheHipsBesideThePelvis) {
  Pose pose;
  for (int j = 0; j < kJointCount; ++j) pose[j] = V3(5, 6, 7) + V3(static_cast<float>(j), 2.0f * j, 0);
  pose[kNeck] = V3(5, 306, 7);
  pose[kRightShoulder] = V3(8, 296, 11);  // j8 - j1 = (3, -10, 4): d1 = (0.6, 0, 0.8)
  const Pose adjusted = Adjusted(pose);
  EXPECT_EQ(adjusted[kHips].x, 0.0f);
  EXPECT_NEAR(adjusted[kRightHip].x, 12.0f, 1e-4f);
  EXPECT_NEAR(adjusted[kRightHip].y, 40.0f, 1e-4f);
  EXPECT_NEAR(adjusted[kRightHip].z, 46.0f, 1e-4f);
  EXPECT_NEAR(Bone(adjusted, kRightHip, kRightToes), Bone(pose, kRightHip, kRightToes), 1e-3f);
  EXPECT_NEAR(Bone(adjusted, kLeftKnee, kLeftAnkle), Bone(pose, kLeftKnee, kLeftAnkle), 1e-3f);
  // Adjusting twice changes nothing more.
  const Pose again = Adjusted(adjusted);
  for (int j = 0; j < kJointCount; ++j) EXPECT_NEAR(Length(again[j] - adjusted[j]), 0.0f, 1e-3f);
}

TEST(RobotRig, EveryAnimationKeepsItsBonesAndStandsOnTheFloor) {
  const Pose rest = RestFrame();
  // Standing: the soles at the standing hip height below the hip centre.
  EXPECT_NEAR(rest[kLeftAnkle].y - kAnkleHeight, -layout::kStandingHipHeight, 0.01f);
  EXPECT_NEAR(rest[kRightAnkle].y - kAnkleHeight, -layout::kStandingHipHeight, 0.01f);
  const int bones[][2] = {{kLeftShoulder, kLeftElbow}, {kLeftElbow, kLeftHand}, {kRightShoulder, kRightElbow},
                          {kRightElbow, kRightHand},  {kLeftHip, kLeftKnee},   {kLeftKnee, kLeftAnkle},
                          {kRightHip, kRightKnee},    {kRightKnee, kRightAnkle}, {kLeftAnkle, kLeftToes},
                          {kRightAnkle, kRightToes},  {kHips, kNeck},          {kNeck, kHeadTop}};
  for (const auto& animation : {ReleasingAnimation(), RunAnimation(), BreakingWallAnimation(), DanceAnimation()}) {
    ASSERT_FALSE(animation.empty());
    for (const TimedPose& key : animation) {
      for (const auto& bone : bones) ASSERT_NEAR(Bone(key.pose, bone[0], bone[1]), Bone(rest, bone[0], bone[1]), 0.05f);
    }
  }
  const auto run = RunAnimation();
  EXPECT_FLOAT_EQ(run.back().time, kRunPeriod);
  EXPECT_NEAR(Length(run.back().pose[kLeftToes] - run.front().pose[kLeftToes]), 0.0f, 1e-4f);
}

TEST(RobotRig, MirroringFramesPlaceTheMirroredParts) {
  const auto frames = PartFrames(RestFrame());
  for (int i = 0; i < kPartCount; ++i) {
    const float det = Determinant(frames[static_cast<std::size_t>(i)]);
    EXPECT_NEAR(det, Parts()[static_cast<std::size_t>(i)].mirrored ? -1.0f : 1.0f, 1e-4f)
        << Parts()[static_cast<std::size_t>(i)].model;
  }
  // The head frame puts the head above the neck, the feet's toes ahead of the ankles.
  const Pose rest = RestFrame();
  const V3 headTop = TransformPoint(frames[0], V3(0, Bone(rest, kNeck, kHeadTop), 0));
  EXPECT_NEAR(Length(headTop - rest[kHeadTop]), 0.0f, 1e-3f);
  const V3 toes = TransformPoint(frames[10], V3(0, 0, -kFoot));
  EXPECT_NEAR(Length(toes - rest[kRightToes]), 0.0f, 1e-3f);
}

TEST(RobotRig, ArmSolveKeepsTheSegmentsAndTurnsTheBaseFlat) {
  const V3 base = layout::kArm1Base;
  for (const V3& wrist : {V3(250, 480, 1700), V3(400, 700, 1300), base + V3(-600, 200, 100)}) {
    const ArmFrames arm = SolveArm(base, wrist);
    EXPECT_NEAR(Length(arm.elbow - base), layout::kArmUpper, 0.05f);
    EXPECT_NEAR(Length(wrist - arm.elbow), layout::kArmFore, 0.05f);
    EXPECT_NEAR(arm.base.a[5], 1.0f, 1e-5f);  // the base's y axis stays vertical
    // The forearm's frame reaches the wrist along its -z.
    EXPECT_NEAR(Length(TransformPoint(arm.fore, V3(0, 0, -layout::kArmFore)) - wrist), 0.0f, 0.05f);
  }
}

TEST(RobotRig, PartGeometryIsStoredMirroredWhereTheFrameMirrors) {
  const auto parts = PartGeometry();
  for (int i = 0; i < kPartCount; ++i) EXPECT_GT(parts[static_cast<std::size_t>(i)].TriangleCount(), 10u);
}

}  // namespace
