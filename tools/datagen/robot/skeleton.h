#pragma once
// The robot's skeleton: rigid bones between the 20 joints the program reads, and the
// forward kinematics that turn a few body angles and two foot placements into a pose.
//
// Pose space is the program's: the hip centre (joint 3) at the origin, the robot facing
// +z, its left toward +x, y up. Every pose comes out already adjusted the way the
// program adjusts what it reads (the right hip 20 and the left hip 40 toward their
// shoulders, both lifted by (0, 40, 30)), so the adjustment moves nothing and every
// bone keeps its length in every frame.
#include <array>

#include "anim/robot_frame.h"
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

// Bone lengths and body dimensions (world units; the robot stands about 800 tall).
constexpr float kTorso = 300.0f;            // hip centre to neck
constexpr float kHead = 140.0f;             // neck to the top of the head
constexpr float kShoulderHalfWidth = 115.0f;  // neck to either shoulder, level with the neck
constexpr float kUpperArm = 170.0f;
constexpr float kForearm = 160.0f;
constexpr float kHandTip = 40.0f;           // hand to the tip of the gripper
constexpr float kThigh = 196.0f;
constexpr float kTibia = 196.0f;
constexpr float kFoot = 110.0f;             // ankle to the toes joint, the sole's front edge
constexpr float kAnkleHeight = 32.0f;       // ankle above the sole of a flat foot
constexpr float kHeelBack = 45.0f;          // heel behind the ankle, along the sole
constexpr float kSoleHalfWidth = 40.0f;

// Where the program puts the hip joints (pose space, whatever the pose said): lifted by
// this offset and moved this far toward the shoulder of their side.
constexpr V3 kHipLift{0.0f, 40.0f, 30.0f};
constexpr float kRightHipOut = 20.0f;
constexpr float kLeftHipOut = 40.0f;

// The foot bone's angle below the horizontal when the sole lies flat.
float FlatFootPitch();
// Sole length from the heel to the toes joint.
float SoleLength();

// One arm, angles in radians. Swing raises the upper arm forward (0 hangs it down, pi/2
// points it ahead), spread lifts it out to its side; elbow bends the forearm toward the
// front of the swing, twist turns that bend in toward the body.
struct ArmPose {
  float swing = 0.06f;
  float spread = 0.14f;
  float twist = 0.2f;
  float elbow = 0.35f;
};

// One foot: where its ankle is, how far the foot bone points below the horizontal
// (FlatFootPitch() when the sole is flat; more lifts the heel), which way it points
// (0 = +z, positive turns the toes toward +x) and how far the knee points out from
// straight ahead (positive = away from the body's middle).
struct FootPlacement {
  V3 ankle;
  float pitch = 0.0f;
  float yaw = 0.0f;
  float kneeOut = 0.12f;
};

// A whole pose in body terms. Torso: lean forward, sway toward the robot's left, turn
// toward its left, all about the hip centre. Head: nod forward and tilt toward the
// robot's left, on top of the torso (the program's head frame cannot turn the head on
// its own: it faces where the shoulders face).
struct BodyPose {
  float lean = 0.0f, sway = 0.0f, turn = 0.0f;
  float nod = 0.0f, tilt = 0.0f;
  ArmPose leftArm, rightArm;
  FootPlacement leftFoot, rightFoot;
};

using Joints = std::array<V3, kJointCount>;

// The adjusted joints of a pose. Legs reach their ankles by two-bone IK from where the
// program puts the hips; an ankle beyond reach is pulled in along the leg.
Joints Solve(const BodyPose& pose);

// The program's frame type, for the pose files and the engine's own posing code.
Robot::Frame ToFrame(const Joints& joints);
Joints FromFrame(const Robot::Frame& frame);

// Member-wise blend (t = 0: a, t = 1: b); feet blend their toes, pitch and heading.
BodyPose Mix(const BodyPose& a, const BodyPose& b, float t);

// A foot placed flat with its ankle above (x, floorY, z).
FootPlacement FlatFoot(float x, float floorY, float z, float yaw = 0.0f);
// A foot standing on its toes joint at toes, the bone pitched down by pitch.
FootPlacement FootOnToes(V3 toes, float pitch, float yaw);
// Where the toes joint of a placement lies.
V3 ToesOf(const FootPlacement& foot);

// The lowest point of a posed foot's sole (the heel's or the toes' edge), from its
// ankle and toes joints.
float SoleBottom(V3 ankle, V3 toes);

// Helpers for building poses.
V3 Rotate(V3 v, V3 axis, float angle);  // right-handed about a unit axis
float Smooth(float t);                  // smoothstep on [0, 1], clamped
float Clamp01(float t);

}  // namespace datagen::robot
