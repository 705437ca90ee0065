// The robot's twelve part models. Each part is modelled in a right-handed frame with
// its bone along the axis the program's frame gives it; parts placed by mirroring
// frames (head, body, thighs, shins) are stored with x negated, so the two mirrors
// cancel and the robot appears as modelled.
#include "datagen/robot/robot_parts.h"

#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/robot/robot_body.h"
#include "datagen/steps.h"

namespace datagen::robot {
namespace {

const Paint kChrome{"robot_chrome", 160.0f, UvMapping::kFace};
const Paint kDark{"robot_dark", 160.0f, UvMapping::kFace};
const Paint kEye{"glow_robot_eye", 100.0f, UvMapping::kFace};

// Head: from the neck (origin) up +y; +x is the robot's left, +z its face.
MeshBuilder Head() {
  MeshBuilder m;
  Cylinder(m, kDark, Frame::At(0, -10, 0), 30, 30, 40, 16);
  BevelBox(m, kChrome, Frame::At(0, 80, 0), V3(58, 58, 62), 14);
  BoxBetween(m, kDark, V3(-48, 66, 55), V3(48, 104, 66));
  BoxBetween(m, kEye, V3(-40, 78, 64), V3(40, 92, 69));
  return m;
}

// Body: from the hip centre up to the neck; the pelvis holds the hip sockets, which sit
// 40 up and about 28 forward, 40 to the left and 20 to the right.
MeshBuilder Corpse() {
  MeshBuilder m;
  BevelBox(m, kDark, Frame::At(10, 40, 27), V3(62, 34, 44), 10);      // pelvis
  Cylinder(m, kDark, Frame::At(0, 60, 10), 48, 52, 80, 18);           // abdomen
  BevelBox(m, kChrome, Frame::At(0, 200, 8), V3(100, 85, 62), 18);    // chest
  BoxBetween(m, kEye, V3(-22, 200, 66), V3(22, 222, 72));             // chest light
  Cylinder(m, kChrome, Frame::AlongY(V3(-130, 280, 0), V3(1, 0, 0)), 36, 36, 260, 16);  // shoulder bar
  return m;
}

// Upper arm and forearm: from the joint along -z, round so the free roll never shows.
MeshBuilder Limb(float length, float radius, bool hand) {
  MeshBuilder m;
  Sphere(m, kDark, V3(0, 0, 0), radius * 1.15f, 14, 8);
  Cylinder(m, kChrome, Frame::AlongY(V3(0, 0, -radius * 0.6f), V3(0, 0, -1)), radius, radius * 0.85f,
           length - radius * 1.2f, 16);
  if (hand) Sphere(m, kDark, V3(0, 0, -length - 10), radius * 1.1f, 12, 8);
  return m;
}

// Thigh and shin: from the joint along -y.
MeshBuilder Leg(float length, float radius) {
  MeshBuilder m;
  Sphere(m, kDark, V3(0, 0, 0), radius * 1.1f, 14, 8);
  Cylinder(m, kChrome, Frame::At(0, -length + radius * 0.5f, 0), radius * 0.85f, radius, length - radius, 16);
  return m;
}

// Foot: from the ankle, toes toward -z, x to the robot's right, y up; sole at the
// ankle height below.
MeshBuilder Foot() {
  MeshBuilder m;
  Sphere(m, kDark, V3(0, 0, 0), 30, 12, 8);
  BevelBox(m, kChrome, Frame::At(0, -kAnkleHeight * 0.5f + 6, -40), V3(44, kAnkleHeight * 0.5f + 6, 80), 8);
  return m;
}

MeshBuilder Mirrored(MeshBuilder m) {
  sm::Mat4 mirror;
  mirror.a[0] = -1;
  m.Transform(mirror);
  return m;
}

}  // namespace

std::array<MeshBuilder, kPartCount> PartGeometry() {
  return {Mirrored(Head()),
          Mirrored(Corpse()),
          Limb(kUpperArm, 34, false),
          Limb(kUpperArm, 34, false),
          Limb(kForearm, 28, true),
          Limb(kForearm, 28, true),
          Mirrored(Leg(kThigh, 42)),
          Mirrored(Leg(kThigh, 42)),
          Mirrored(Leg(kTibia, 36)),
          Mirrored(Leg(kTibia, 36)),
          Foot(),
          Foot()};
}

}  // namespace datagen::robot

namespace datagen {

bool BuildRobotParts(Context& context) {
  const auto geometry = robot::PartGeometry();
  for (int i = 0; i < robot::kPartCount; ++i) {
    ModelBuilder model;
    model.AddMesh(robot::Parts()[static_cast<std::size_t>(i)].model, geometry[static_cast<std::size_t>(i)]);
    if (!context.WriteModel(robot::Parts()[static_cast<std::size_t>(i)].model, model)) return false;
  }
  return true;
}

}  // namespace datagen
