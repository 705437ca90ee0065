#pragma once
// The robot's proportions and its poses, built by forward kinematics from a few joint
// angles so that every bone keeps its length in every frame. Poses are in pose space
// (facing +z, the robot's right toward -x, hip centre at the origin) and come out
// already adjusted the way the program adjusts them, so the generator knows the
// joints the program will use.
#include "datagen/robot/robot_rig.h"

namespace datagen::robot {

// Bone lengths.
constexpr float kUpperArm = 170.0f;
constexpr float kForearm = 160.0f;
constexpr float kHand = 40.0f;
constexpr float kThigh = 190.0f;
constexpr float kTibia = 190.0f;
constexpr float kFoot = 110.0f;
constexpr float kAnkleHeight = 25.769f;  // ankle above the sole
constexpr float kTorso = 300.166f;       // hip centre to neck
constexpr float kHead = 140.089f;        // neck to the top of the head

// Angles in radians. Positive swings move a limb forward (+z); positive bends fold a
// joint the natural way (elbow forward, knee backward).
struct PoseAngles {
  float lean = 0;      // torso forward
  float sway = 0;      // torso toward the robot's left
  float nod = 0;       // head forward, on top of the torso's lean
  float turn = 0;      // head toward the robot's left
  float leftArmSwing = 0, leftArmSpread = 0.08f, leftElbow = 0.25f;
  float rightArmSwing = 0, rightArmSpread = 0.08f, rightElbow = 0.25f;
  float leftLegSwing = 0, leftKnee = 0, leftFoot = 0;
  float rightLegSwing = 0, rightKnee = 0, rightFoot = 0;
};

// The adjusted pose for those angles.
Pose MakePose(const PoseAngles& angles);
// Blends two sets of angles (t = 0: a, t = 1: b).
PoseAngles Blend(const PoseAngles& a, const PoseAngles& b, float t);

// The robot standing at ease: the first frame of the run, held while it waits at the
// glass.
PoseAngles StandingAngles();

}  // namespace datagen::robot
