// The arms and legs. Arm segments lie along -z from their joint and are round about it
// (their frames turn them freely about the bone); leg segments hang along -y from their
// joint with the knee's front toward +z.
#include "datagen/geometry/shapes.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/robot/skeleton.h"

namespace datagen::robot {
namespace {

// A cylinder along -z from z0 down to z1 (z1 < z0), radius r0 at z0 and r1 at z1.
void AlongBone(MeshBuilder& m, const Paint& paint, float z0, float z1, float r0, float r1, int segments = 20) {
  Cylinder(m, paint, Frame::AlongY(V3(0, 0, z1), V3(0, 0, 1)), r1, r0, z0 - z1, segments);
}

// A cylinder along -y from y0 down to y1.
void DownBone(MeshBuilder& m, const Paint& paint, float y0, float y1, float r0, float r1, int segments = 20) {
  Cylinder(m, paint, Frame::At(0, y1, 0), r1, r0, y0 - y1, segments);
}

}  // namespace

MeshBuilder UpperArmGeometry() {
  MeshBuilder m;
  // The shoulder dome over the joint, then a chrome rod in a painted sleeve.
  Sphere(m, kArmour, V3(0, 0, 0), kShoulderDomeRadius, 40, 24);
  AlongBone(m, kAccent, -44, -56, 47, 47);
  AlongBone(m, kChrome, -40, -kUpperArm + 10, 27, 25);
  AlongBone(m, kArmour, -62, -132, 38, 34);
  AlongBone(m, kFrame, -132, -142, 30, 30);
  return m;
}

MeshBuilder ForearmGeometry() {
  MeshBuilder m;
  // The elbow ball, a flared forearm, the wrist and a two-jaw gripper (the same turned
  // half a turn about the bone, which the left forearm's frame adds).
  Sphere(m, kFrame, V3(0, 0, 0), 35, 32, 18);
  AlongBone(m, kArmour, -22, -128, 35, 41);
  AlongBone(m, kAccent, -104, -116, 43, 43);
  AlongBone(m, kFrame, -128, -150, 27, 25);
  BevelBox(m, kFrame, Frame::At(0, 0, -kForearm - 6), V3(30, 24, 18), 6);
  for (float x : {-21.0f, 21.0f}) {
    BevelBox(m, kChrome, Frame::At(x, 0, -kForearm - kHandTip + 8), V3(7, 17, 24), 3);
  }
  return m;
}

MeshBuilder ThighGeometry() {
  MeshBuilder m;
  // The hip ball seated in the pelvis drum, a tapered thigh with a front plate and a
  // piston behind.
  Sphere(m, kFrame, V3(0, 0, 0), 40, 32, 18);
  DownBone(m, kFrame, -16, -178, 41, 33);
  BevelBox(m, kArmour, Frame::At(0, -96, 24), V3(35, 64, 17), 8);
  BevelBox(m, kAccent, Frame::At(0, -36, 24), V3(36, 5, 18), 2);
  CylinderBetween(m, kChrome, V3(0, -42, -34), V3(0, -168, -28), 9, 10);
  return m;
}

MeshBuilder ShinGeometry() {
  MeshBuilder m;
  // The knee hinge and cap, a shin guard and a calf piston.
  Cylinder(m, kFrame, Frame::AlongY(V3(-36, 0, 0), V3(1, 0, 0)), 31, 31, 72, 18);
  BevelBox(m, kAccent, Frame::At(0, 2, 31), V3(27, 28, 10), 6);
  DownBone(m, kArmour, -16, -182, 38, 31);
  BevelBox(m, kArmour, Frame::At(0, -92, 31), V3(33, 68, 12), 6);
  CylinderBetween(m, kChrome, V3(0, -34, -30), V3(0, -162, -24), 8, 10);
  return m;
}

}  // namespace datagen::robot
