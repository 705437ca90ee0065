// The robot's pose files ("Robot/frame" and the four animations) and "robot_lying",
// the robot in the first frame of its release, baked where it stands in the rig so the
// switch to the moving parts at 110.96 s shows no jump.
#include "assets/robot_pose_file.h"
#include "datagen/geometry/model_builder.h"
#include "datagen/pipeline/context.h"
#include "datagen/robot/robot_motion.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/steps.h"

namespace datagen {
namespace {

robot_pose_file::Joints ToJoints(const robot::Pose& pose) {
  robot_pose_file::Joints joints;
  for (int j = 0; j < robot::kJointCount; ++j) joints.joints[j] = pose[j].ToSm();
  return joints;
}

bool WritePoses(Context& context, const std::string& name, const std::vector<robot::TimedPose>& poses) {
  std::vector<robot_pose_file::PoseKey> keys;
  for (const robot::TimedPose& pose : poses) keys.push_back({pose.time, ToJoints(pose.pose)});
  return context.Tree().WriteBytes("Robot/" + name, robot_pose_file::WriteAnimation(keys));
}

}  // namespace

bool BuildRobotPoses(Context& context) {
  return context.Tree().WriteBytes("Robot/frame", robot_pose_file::WriteRestFrame(ToJoints(robot::RestFrame()))) &&
         WritePoses(context, "releasing_anim", robot::ReleasingAnimation()) &&
         WritePoses(context, "run_anim", robot::RunAnimation()) &&
         WritePoses(context, "breaking_wall_anim", robot::BreakingWallAnimation()) &&
         WritePoses(context, "dance_anim", robot::DanceAnimation());
}

bool BuildRobotLying(Context& context) {
  const robot::Pose first = robot::ReleasingAnimation().front().pose;
  const auto frames = robot::PartFrames(first);
  const auto parts = robot::PartGeometry();
  MeshBuilder baked;
  for (int i = 0; i < robot::kPartCount; ++i) {
    MeshBuilder part = parts[static_cast<std::size_t>(i)];
    part.Transform(sm::Product(frames[static_cast<std::size_t>(i)], robot::ReleasePlacement()));
    baked.Append(part);
  }
  ModelBuilder model;
  model.AddMesh("robot_lying", baked);
  return context.WriteModel("robot_lying", model);
}

}  // namespace datagen
