// The two welding arms: for each, the base (a pedestal that turns about the vertical),
// the upper arm, the forearm and the end effector (the welding torch), and the end
// effector's animation with its spark signal. The program solves the other three parts
// from the torch's position every frame, so only the torch is animated here
// (direction/arm_motion.h): it welds seams along the robot's side in bursts on the
// music, and rests clear of the robot before the release.
#include <cmath>
#include <string>
#include <vector>

#include "datagen/animation/node_keys.h"
#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/direction/arm_motion.h"
#include "datagen/world/layout.h"

namespace datagen {
namespace {

const Paint kYellow{"arm_yellow", 300.0f, UvMapping::kWorld};
const Paint kSteel{"arm_steel", 200.0f, UvMapping::kWorld};
const Paint kDark{"robot_dark", 200.0f, UvMapping::kWorld};
const Paint kTorchGlow{"glow_torch", 100.0f, UvMapping::kWorld};

// The pedestal, in the base's frame: pivot at the origin, floor at -base height, the
// arm's front toward -z.
MeshBuilder BaseGeometry() {
  const float floor = -layout::kArm1Base.y;
  MeshBuilder m;
  Cylinder(m, kDark, Frame::At(0, floor, 0), 190, 190, 30, 24, false, true);        // floor plate
  Cylinder(m, kYellow, Frame::At(0, floor + 30, 0), 120, 100, -floor - 80, 24, false, true);  // column
  Cylinder(m, kSteel, Frame::At(0, -50, 0), 130, 130, 40, 28);                      // turntable
  BevelBox(m, kYellow, Frame::At(0, 10, 0), V3(90, 50, 110), 12);                    // shoulder housing
  // The shoulder joint's axle across the housing.
  CylinderBetween(m, kSteel, V3(-105, 10, 0), V3(105, 10, 0), 42, 20);
  return m;
}

// A limb along -z from the origin, length long, with a joint hub at each end.
MeshBuilder LimbGeometry(float length, float width, float hubRadius) {
  MeshBuilder m;
  BevelBox(m, kYellow, Frame::At(0, 0, -0.5f * length), V3(0.5f * width, 0.5f * width, 0.5f * length - hubRadius * 0.4f),
           0.18f * width);
  CylinderBetween(m, kSteel, V3(-0.5f * width - 8, 0, 0), V3(0.5f * width + 8, 0, 0), hubRadius, 20);
  // A cable run along the top.
  Tube(m, kDark, {V3(0, 0.5f * width + 8, -hubRadius), V3(0, 0.5f * width + 18, -0.5f * length),
                  V3(0, 0.5f * width + 8, -length + hubRadius)},
       7, 8);
  return m;
}

// The torch, in its node's frame: wrist at the origin, the nozzle's tip at +y 100.
MeshBuilder TorchGeometry() {
  MeshBuilder m;
  Cylinder(m, kSteel, Frame::At(0, -30, 0), 48, 48, 36, 20);       // wrist flange
  Cylinder(m, kYellow, Frame::At(0, 6, 0), 34, 26, 40, 16);        // motor body
  Cylinder(m, kSteel, Frame::At(0, 46, 0), 16, 9, 44, 14, false);  // nozzle
  Cylinder(m, kTorchGlow, Frame::At(0, 90, 0), 8, 4, 10, 10);      // the arc
  return m;
}

bool BuildArm(Context& context, int arm) {
  const std::string prefix = arm == 1 ? "mech_arm_01_" : "mech_arm_02_";
  ModelBuilder base, upper, fore, end;
  base.AddMesh(prefix + "base", BaseGeometry());
  upper.AddMesh(prefix + "joint1", LimbGeometry(layout::kArmUpper, 110, 58));
  fore.AddMesh(prefix + "joint2", LimbGeometry(layout::kArmFore, 86, 48));
  end.AddMesh("arm_end", TorchGeometry(), kArmEndNode);
  // The spark signal rides on a mesh of its own that nothing moves or draws.
  model_file::MeshData& control = end.AddEmptyMesh("_ctrl_props");
  // Sparks while the torch is on a seam; off from the start and again at the end.
  std::vector<IntKey> sparks = {{0.0f, 0}};
  for (const WeldPass& pass : WeldPasses()) {
    if (pass.arm == arm) sparks.insert(sparks.end(), {{pass.start, 1}, {pass.end, 0}});
  }
  sparks.push_back({kArmsAtRest, 0});
  control.values.push_back(IntTrack(arm == 1 ? "sparks" : "sparks2", model_file::kStep, sparks));
  if (!context.WriteModel(prefix + "base", base) || !context.WriteModel(prefix + "joint1", upper) ||
      !context.WriteModel(prefix + "joint2", fore) || !context.WriteModel(prefix + "end", end)) {
    return false;
  }
  animation_file::AnimationData animation;
  std::vector<PositionKey> positions;
  std::vector<OrientationKey> orientations;
  for (const ArmPoseKey& key : ArmTorchKeys(arm)) {
    positions.push_back({key.time, key.wrist});
    orientations.push_back({key.time, key.orientation});
  }
  animation.nodes.push_back(MakeNode(kArmEndNode, VectorKeys(positions), RotationKeys(orientations)));
  return context.WriteAnimation(prefix + "end", animation);
}

}  // namespace

bool BuildMechArms(Context& context) { return BuildArm(context, 1) && BuildArm(context, 2); }

}  // namespace datagen
