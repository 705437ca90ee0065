#include "datagen/robot/robot_body.h"

#include <cmath>

namespace datagen::robot {
namespace {

// Rotations about pose-space axes.
V3 AboutX(V3 v, float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}
V3 AboutZ(V3 v, float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}
V3 AboutY(V3 v, float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
}

// A limb hanging down, swung forward by swing (about x) and out to its side by spread
// (side +1 left, -1 right): never exactly vertical, which the arm frames cannot take.
V3 Hanging(float swing, float spread, float side) {
  return Normalize(AboutZ(AboutX(V3(0, -1, 0), -swing), side * spread));
}

}  // namespace

PoseAngles StandingAngles() { return PoseAngles(); }

PoseAngles Blend(const PoseAngles& a, const PoseAngles& b, float t) {
  PoseAngles out;
  const float* pa = &a.lean;
  const float* pb = &b.lean;
  float* po = &out.lean;
  const int count = static_cast<int>(sizeof(PoseAngles) / sizeof(float));
  for (int i = 0; i < count; ++i) po[i] = pa[i] + (pb[i] - pa[i]) * t;
  return out;
}

Pose MakePose(const PoseAngles& g) {
  Pose p;
  // Torso: from the hip centre up, leaning and swaying.
  const auto torso = [&](V3 v) { return AboutZ(AboutX(v, g.lean), -g.sway); };
  p[kHips] = V3(0, 0, 0);
  p[kNeck] = torso(V3(0, 300, 10));
  p[kSpine] = torso(V3(0, 150, 5));
  p[kHeadTop] = p[kNeck] + torso(AboutY(AboutX(V3(0, 140, 5), g.nod), g.turn));
  p[kLeftShoulder] = torso(V3(115, 280, 0));
  p[kRightShoulder] = torso(V3(-115, 280, 0));
  // Arms: the upper arm hangs from the shoulder, the forearm folds forward from it.
  const auto arm = [&](int shoulder, int elbow, int hand, int tip, float swing, float spread, float bend, float side) {
    const V3 upper = Hanging(swing, spread, side);
    const V3 lower = Normalize(AboutX(upper, -bend) + V3(0, 0, 0.02f));
    p[elbow] = p[shoulder] + upper * kUpperArm;
    p[hand] = p[elbow] + lower * kForearm;
    p[tip] = p[hand] + lower * kHand;
  };
  arm(kLeftShoulder, kLeftElbow, kLeftHand, kLeftHandTip, g.leftArmSwing, g.leftArmSpread, g.leftElbow, 1);
  arm(kRightShoulder, kRightElbow, kRightHand, kRightHandTip, g.rightArmSwing, g.rightArmSpread, g.rightElbow, -1);
  // Legs: from wherever the hip joint is (the adjustment below moves the chains), the
  // thigh swings, the shin folds back at the knee, the foot points forward.
  const auto leg = [&](int hip, int knee, int ankle, int toes, float swing, float kneeBend, float footTilt) {
    p[hip] = V3(0, 40, 30);
    const V3 thigh = AboutX(V3(0, -1, 0), -swing);
    const V3 shin = AboutX(thigh, kneeBend);
    p[knee] = p[hip] + thigh * kThigh;
    p[ankle] = p[knee] + shin * kTibia;
    const float down = std::asin(-(-kAnkleHeight + 10.0f) / kFoot);
    const V3 foot = AboutX(V3(0, 0, 1), down + footTilt - swing + kneeBend);
    p[toes] = p[ankle] + foot * kFoot;
  };
  leg(kLeftHip, kLeftKnee, kLeftAnkle, kLeftToes, g.leftLegSwing, g.leftKnee, g.leftFoot);
  leg(kRightHip, kRightKnee, kRightAnkle, kRightToes, g.rightLegSwing, g.rightKnee, g.rightFoot);
  return Adjusted(p);
}

}  // namespace datagen::robot
