// The robot's files in the data set: the twelve part models, "robot_lying" (the parts
// baked in the releasing animation's first pose at placement A, so the switch to the
// moving parts at show::kRobotRelease shows no jump) and the five pose files.
#include "datagen/geometry/model_builder.h"
#include "datagen/pipeline/context.h"
#include "datagen/robot/motions.h"
#include "datagen/robot/pose_files.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/steps.h"

namespace datagen::robot {

const Paint kArmour{"robot_paint", 140.0f, UvMapping::kFace};
const Paint kAccent{"robot_accent", 140.0f, UvMapping::kFace};
const Paint kFrame{"robot_dark", 140.0f, UvMapping::kFace};
const Paint kChrome{"robot_chrome", 140.0f, UvMapping::kFace};
const Paint kEyes{"glow_robot_eye", 100.0f, UvMapping::kFace};
const Paint kLamps{"glow_robot_lamp", 100.0f, UvMapping::kFace};

namespace {

MeshBuilder Mirrored(MeshBuilder m) {
  sm::Mat4 mirror;
  mirror.a[0] = -1.0f;
  m.Transform(mirror);
  return m;
}

MeshBuilder GeometryOf(int joint) {
  switch (joint) {
    case 0: return HeadGeometry();
    case 1: return CorpseGeometry();
    case 4: case 8: return UpperArmGeometry();
    case 5: case 9: return ForearmGeometry();
    case 13: case 17: return ThighGeometry();
    case 14: case 18: return ShinGeometry();
    default: return FootGeometry();
  }
}

}  // namespace

std::array<MeshBuilder, kPartCount> PartGeometry() {
  std::array<MeshBuilder, kPartCount> parts;
  for (int i = 0; i < kPartCount; ++i) {
    const PartInfo& part = Parts()[static_cast<std::size_t>(i)];
    MeshBuilder geometry = GeometryOf(part.joint);
    parts[static_cast<std::size_t>(i)] = part.mirrored ? Mirrored(geometry) : geometry;
  }
  return parts;
}

MeshBuilder LyingRobotGeometry() {
  const Robot::Frame first = ToFrame(Solve(LimpPose()));
  const auto frames = PartFrames(first);
  const auto parts = PartGeometry();
  MeshBuilder baked;
  for (int i = 0; i < kPartCount; ++i) {
    MeshBuilder part = parts[static_cast<std::size_t>(i)];
    part.Transform(sm::Product(frames[static_cast<std::size_t>(i)], ReleasePlacement()));
    baked.Append(part);
  }
  return baked;
}

}  // namespace datagen::robot

namespace datagen {

bool BuildRobotParts(Context& context) {
  const auto geometry = robot::PartGeometry();
  for (int i = 0; i < robot::kPartCount; ++i) {
    const char* name = robot::Parts()[static_cast<std::size_t>(i)].model;
    ModelBuilder model;
    model.AddMesh(name, geometry[static_cast<std::size_t>(i)]);
    if (!context.WriteModel(name, model)) return false;
  }
  return true;
}

bool BuildRobotLying(Context& context) {
  ModelBuilder model;
  model.AddMesh("robot_lying", robot::LyingRobotGeometry());
  return context.WriteModel("robot_lying", model);
}

bool BuildRobotPoses(Context& context) {
  for (const robot::PoseFile& file : robot::PoseFiles()) {
    if (!context.Tree().WriteBytes(file.path, file.bytes)) return false;
  }
  return true;
}

}  // namespace datagen
