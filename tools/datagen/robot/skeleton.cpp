#include "datagen/robot/skeleton.h"

#include <algorithm>
#include <cmath>

namespace datagen::robot {
namespace {

constexpr V3 kUp{0.0f, 1.0f, 0.0f};

V3 Horizontal(V3 v) { return Normalize(V3(v.x, 0.0f, v.z)); }

// The body's axes as the program's corpse frame builds them (RiseFrame of u, the hip
// centre and the neck): up along the spine, forward = normalise(u × up), right =
// forward × up, where u points from the right shoulder to the neck, flattened. The
// shoulders hang on that frame and u comes from the shoulders, so the frame is found by
// iteration; it converges in a few steps for any lean, sway and turn a pose uses.
struct Chest {
  V3 up, forward, right, left;  // left = u, horizontal
};

Chest ChestFrame(const BodyPose& pose) {
  V3 up = Rotate(kUp, V3(0, 0, 1), -pose.sway);
  up = Rotate(up, V3(1, 0, 0), pose.lean);
  up = Rotate(up, kUp, pose.turn);
  Chest chest;
  chest.up = up;
  V3 u = Rotate(V3(1, 0, 0), kUp, pose.turn);
  for (int i = 0; i < 12; ++i) {
    chest.forward = Normalize(Cross(u, up));
    chest.right = Cross(chest.forward, up);
    u = -Horizontal(chest.right);
  }
  chest.left = u;
  return chest;
}

// Upper arm and forearm directions of one arm; side is +1 for the left arm, -1 for the
// right.
void ArmJoints(const Chest& chest, const ArmPose& arm, float side, V3 shoulder, V3& elbow, V3& hand, V3& tip) {
  const V3 out = chest.right * -side;
  const float cs = std::cos(arm.spread), ss = std::sin(arm.spread);
  const float cw = std::cos(arm.swing), sw = std::sin(arm.swing);
  const V3 upper = Normalize((chest.up * -cw + chest.forward * sw) * cs + out * ss);
  V3 bend = chest.up * sw + chest.forward * cw;
  bend = Rotate(bend, upper, side * arm.twist);
  const V3 fore = Normalize(upper * std::cos(arm.elbow) + bend * std::sin(arm.elbow));
  elbow = shoulder + upper * kUpperArm;
  hand = elbow + fore * kForearm;
  tip = hand + fore * kHandTip;
}

// Two-bone leg from the hip to the ankle, the knee toward pole (horizontal).
void LegJoints(V3 hip, const FootPlacement& foot, float side, V3& knee, V3& ankle, V3& toes) {
  V3 reach = foot.ankle - hip;
  float distance = Length(reach);
  const float longest = kThigh + kTibia - 0.5f;
  if (distance > longest) {
    reach = reach * (longest / distance);
    distance = longest;
  }
  ankle = hip + reach;
  const V3 along = reach / distance;
  const float a = side * foot.kneeOut + foot.yaw;
  const V3 pole(std::sin(a), 0.0f, std::cos(a));
  const V3 across = Normalize(pole - along * Dot(pole, along));
  // Law of cosines: how far along the hip-ankle line the knee's foot point lies.
  const float alongKnee = (kThigh * kThigh - kTibia * kTibia + distance * distance) / (2.0f * distance);
  const float height = std::sqrt(std::max(0.0f, kThigh * kThigh - alongKnee * alongKnee));
  knee = hip + along * alongKnee + across * height;
  toes = ToesOf(foot);
  toes = ankle + (toes - foot.ankle);
}

}  // namespace

float FlatFootPitch() { return std::asin(kAnkleHeight / kFoot); }

float SoleLength() { return kFoot * std::cos(FlatFootPitch()) + kHeelBack; }

V3 Rotate(V3 v, V3 axis, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return v * c + Cross(axis, v) * s + axis * (Dot(axis, v) * (1.0f - c));
}

float Clamp01(float t) { return std::min(1.0f, std::max(0.0f, t)); }

float Smooth(float t) {
  t = Clamp01(t);
  return t * t * (3.0f - 2.0f * t);
}

Joints Solve(const BodyPose& pose) {
  Joints j;
  const Chest chest = ChestFrame(pose);
  j[kHips] = V3(0, 0, 0);
  j[kSpine] = chest.up * (kTorso * 0.5f);
  j[kNeck] = chest.up * kTorso;
  V3 head = Rotate(chest.up, chest.left, pose.nod);
  head = Rotate(head, chest.forward, -pose.tilt);
  j[kHeadTop] = j[kNeck] + Normalize(head) * kHead;
  j[kLeftShoulder] = j[kNeck] - chest.right * kShoulderHalfWidth;
  j[kRightShoulder] = j[kNeck] + chest.right * kShoulderHalfWidth;
  ArmJoints(chest, pose.leftArm, 1.0f, j[kLeftShoulder], j[kLeftElbow], j[kLeftHand], j[kLeftHandTip]);
  ArmJoints(chest, pose.rightArm, -1.0f, j[kRightShoulder], j[kRightElbow], j[kRightHand], j[kRightHandTip]);
  // The hips exactly where the program's adjustment puts them.
  j[kRightHip] = Horizontal(j[kRightShoulder] - j[kNeck]) * kRightHipOut + kHipLift;
  j[kLeftHip] = Horizontal(j[kLeftShoulder] - j[kNeck]) * kLeftHipOut + kHipLift;
  LegJoints(j[kLeftHip], pose.leftFoot, 1.0f, j[kLeftKnee], j[kLeftAnkle], j[kLeftToes]);
  LegJoints(j[kRightHip], pose.rightFoot, -1.0f, j[kRightKnee], j[kRightAnkle], j[kRightToes]);
  return j;
}

Robot::Frame ToFrame(const Joints& joints) {
  Robot::Frame frame;
  for (int i = 0; i < kJointCount; ++i) frame.joints[i] = joints[static_cast<std::size_t>(i)].ToSm();
  return frame;
}

Joints FromFrame(const Robot::Frame& frame) {
  Joints joints;
  for (int i = 0; i < kJointCount; ++i) joints[static_cast<std::size_t>(i)] = V3(frame.joints[i]);
  return joints;
}

namespace {

float Mixed(float a, float b, float t) { return a + (b - a) * t; }

ArmPose Mixed(const ArmPose& a, const ArmPose& b, float t) {
  return {Mixed(a.swing, b.swing, t), Mixed(a.spread, b.spread, t), Mixed(a.twist, b.twist, t),
          Mixed(a.elbow, b.elbow, t)};
}

// Feet blend about their toes: a foot that keeps its toes and only changes its pitch
// rolls on them (the heel lifts) instead of dragging them.
FootPlacement Mixed(const FootPlacement& a, const FootPlacement& b, float t) {
  FootPlacement foot = FootOnToes(Lerp(ToesOf(a), ToesOf(b), t), Mixed(a.pitch, b.pitch, t), Mixed(a.yaw, b.yaw, t));
  foot.kneeOut = Mixed(a.kneeOut, b.kneeOut, t);
  return foot;
}

}  // namespace

BodyPose Mix(const BodyPose& a, const BodyPose& b, float t) {
  BodyPose m;
  m.lean = Mixed(a.lean, b.lean, t);
  m.sway = Mixed(a.sway, b.sway, t);
  m.turn = Mixed(a.turn, b.turn, t);
  m.nod = Mixed(a.nod, b.nod, t);
  m.tilt = Mixed(a.tilt, b.tilt, t);
  m.leftArm = Mixed(a.leftArm, b.leftArm, t);
  m.rightArm = Mixed(a.rightArm, b.rightArm, t);
  m.leftFoot = Mixed(a.leftFoot, b.leftFoot, t);
  m.rightFoot = Mixed(a.rightFoot, b.rightFoot, t);
  return m;
}

FootPlacement FlatFoot(float x, float floorY, float z, float yaw) {
  FootPlacement foot;
  foot.ankle = V3(x, floorY + kAnkleHeight, z);
  foot.pitch = FlatFootPitch();
  foot.yaw = yaw;
  return foot;
}

V3 ToesOf(const FootPlacement& foot) {
  const V3 heading(std::sin(foot.yaw), 0.0f, std::cos(foot.yaw));
  return foot.ankle + (heading * std::cos(foot.pitch) - kUp * std::sin(foot.pitch)) * kFoot;
}

FootPlacement FootOnToes(V3 toes, float pitch, float yaw) {
  FootPlacement foot;
  foot.pitch = pitch;
  foot.yaw = yaw;
  foot.ankle = V3(0, 0, 0);
  foot.ankle = toes - ToesOf(foot);
  return foot;
}

float SoleBottom(V3 ankle, V3 toes) {
  // The sole runs back from the toes joint, turned from the flat foot's sole by however
  // much the bone is pitched beyond flat.
  const V3 bone = toes - ankle;
  const float pitch = std::asin(std::max(-1.0f, std::min(1.0f, -bone.y / Length(bone))));
  const float tilt = pitch - FlatFootPitch();
  const float heelY = toes.y + std::sin(tilt) * SoleLength();
  return std::min(toes.y, heelY);
}

}  // namespace datagen::robot
