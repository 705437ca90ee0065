// The frame constructions that place robot parts, arm segments and the follow light,
// and the two-bone solve of the welding arms.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scenes/frames.h"
#include "scenes/mechanical_arm.h"

namespace {

sm::Vec3 Column(const sm::Mat4& m, int c) { return sm::Vec3(m.a[4 * c], m.a[4 * c + 1], m.a[4 * c + 2]); }

void ExpectNear(const sm::Vec3& actual, const sm::Vec3& expected, float tolerance = 1e-4f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

bool AllFinite(const sm::Mat4& m) {
  for (float v : m.a) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

float Determinant3(const sm::Mat4& m) {
  return sm::Dot(Column(m, 0), sm::Cross(Column(m, 1), Column(m, 2)));
}

TEST(Frames, LookAtFacesTheTargetAlongMinusZWithAHorizontalXAxis) {
  const sm::Vec3 eye(10, 20, 30);
  const sm::Vec3 target(110, -30, 130);
  const sm::Mat4 m = LookAt(target, eye);
  ExpectNear(Origin(m), eye);
  const sm::Vec3 toTarget = sm::Normalized(Minus(target, eye));
  ExpectNear(Scaled(Column(m, 2), -1.0f), toTarget);
  EXPECT_NEAR(Column(m, 0).y, 0.0f, 1e-6f);
  EXPECT_NEAR(Determinant3(m), 1.0f, 1e-4f);  // a proper rotation
  EXPECT_EQ(m.a[3] + m.a[7] + m.a[11], 0.0f);
  EXPECT_EQ(m.a[15], 1.0f);
}

TEST(Frames, AimFrameAndRiseFramePutTheBoneOnYAndAreMirrored) {
  const sm::Vec3 up(-1, 0, 0);
  const sm::Mat4 aim = AimFrame(sm::Vec3(0, 100, 0), sm::Vec3(0, -90, 40), up);
  ExpectNear(Origin(aim), sm::Vec3(0, 100, 0));
  // y points away from `toward`; z is the normalised up × y.
  ExpectNear(Column(aim, 1), sm::Normalized(sm::Vec3(0, 190, -40)));
  ExpectNear(Column(aim, 2), sm::Normalized(sm::Cross(up, Column(aim, 1))));
  EXPECT_NEAR(Determinant3(aim), -1.0f, 1e-4f);

  const sm::Mat4 rise = RiseFrame(up, sm::Vec3(0, 0, 0), sm::Vec3(0, 300, 10));
  ExpectNear(Column(rise, 1), sm::Normalized(sm::Vec3(0, 300, 10)));
  ExpectNear(Column(rise, 2), sm::Normalized(sm::Cross(up, Column(rise, 1))));
  EXPECT_NEAR(Determinant3(rise), -1.0f, 1e-4f);
}

TEST(Frames, DegenerateDirectionsGiveFiniteMatrices) {
  // A vertical bone has no horizontal x axis; coincident points have no direction.
  EXPECT_TRUE(AllFinite(LookAt(sm::Vec3(0, 100, 0), sm::Vec3(0, 0, 0))));
  EXPECT_TRUE(AllFinite(LookAt(sm::Vec3(5, 5, 5), sm::Vec3(5, 5, 5))));
  EXPECT_TRUE(AllFinite(AimFrame(sm::Vec3(1, 2, 3), sm::Vec3(1, 2, 3), sm::Vec3(0, 0, 0))));
  EXPECT_TRUE(AllFinite(RiseFrame(sm::Vec3(0, 1, 0), sm::Vec3(0, 0, 0), sm::Vec3(0, 10, 0))));
}

class SolveArmReach : public ::testing::TestWithParam<sm::Vec3> {};

TEST_P(SolveArmReach, BonesKeepTheirLengthsAndTheElbowBendsUp) {
  const sm::Vec3 base(780.924f, 217.917f, 1819.266f);
  const sm::Vec3 end = Plus(base, GetParam());
  const ArmPose pose = SolveArm(base, end);
  EXPECT_NEAR(sm::Length(Minus(pose.elbow, base)), 450.0f, 0.05f);
  EXPECT_NEAR(sm::Length(Minus(end, pose.elbow)), 415.0f, 0.05f);
  // The elbow lies above the straight line from base to end.
  const sm::Vec3 n = sm::Normalized(Minus(end, base));
  const sm::Vec3 alongLine = Plus(base, Scaled(n, sm::Dot(Minus(pose.elbow, base), n)));
  EXPECT_GT(pose.elbow.y, alongLine.y - 1e-3f);
  // Segments: each a look-at from its joint to the next.
  ExpectNear(Origin(pose.upper), base);
  ExpectNear(Scaled(Column(pose.upper, 2), -1.0f), sm::Normalized(Minus(pose.elbow, base)));
  ExpectNear(Origin(pose.forearm), pose.elbow, 1e-2f);
  ExpectNear(Scaled(Column(pose.forearm, 2), -1.0f), sm::Normalized(Minus(end, pose.elbow)));
  // The base turns about the vertical only, towards the end.
  ExpectNear(Column(pose.base, 1), sm::Vec3(0, 1, 0));
  ExpectNear(Scaled(Column(pose.base, 2), -1.0f), sm::Normalized(sm::Vec3(end.x - base.x, 0, end.z - base.z)));
}

INSTANTIATE_TEST_SUITE_P(Targets, SolveArmReach,
                         ::testing::Values(sm::Vec3(-300, 82, -320), sm::Vec3(400, 0, 0), sm::Vec3(0, -200, 500),
                                           sm::Vec3(-600, 300, 200), sm::Vec3(100, 150, -100),
                                           sm::Vec3(-800, 50, -250), sm::Vec3(60, -10, 20)),
                         [](const ::testing::TestParamInfo<sm::Vec3>& info) {
                           return "Target" + std::to_string(info.index);
                         });

TEST(SolveArm, AReachOfExactly865IsStraight) {
  const sm::Vec3 base(0, 200, 0);
  const sm::Vec3 end(865, 200, 0);
  const ArmPose pose = SolveArm(base, end);
  ExpectNear(pose.elbow, sm::Vec3(450, 200, 0), 1e-2f);
  ExpectNear(Column(pose.upper, 2), Column(pose.forearm, 2));
}

TEST(SolveArm, AnEndOutOfReachStretchesTheArmStraightTowardsIt) {
  const sm::Vec3 base(-780.924f, 217.917f, 1819.266f);
  const sm::Vec3 end = Plus(base, sm::Vec3(-900, 300, -700));
  const ArmPose pose = SolveArm(base, end);
  EXPECT_TRUE(AllFinite(pose.base) && AllFinite(pose.upper) && AllFinite(pose.forearm));
  const sm::Vec3 n = sm::Normalized(Minus(end, base));
  ExpectNear(pose.elbow, Plus(base, Scaled(n, 450.0f)), 1e-2f);
  ExpectNear(Scaled(Column(pose.forearm, 2), -1.0f), n);
}

TEST(SolveArm, AnEndAtOrNearTheBaseGivesFiniteMatrices) {
  const sm::Vec3 base(10, 20, 30);
  for (const sm::Vec3& offset : {sm::Vec3(0, 0, 0), sm::Vec3(5, 0, 0), sm::Vec3(0, 30, 0)}) {
    const ArmPose pose = SolveArm(base, Plus(base, offset));
    EXPECT_TRUE(AllFinite(pose.base) && AllFinite(pose.upper) && AllFinite(pose.forearm));
    EXPECT_TRUE(std::isfinite(pose.elbow.x) && std::isfinite(pose.elbow.y) && std::isfinite(pose.elbow.z));
  }
}

}  // namespace
