// "robot_path": where the robot runs from its release to the dance. The model's first
// mesh carries no geometry: its node moves it along the route, and the scenes place the
// robot at that mesh's transform. Also "robot_breaking_wall_path", which the program
// attaches but never reads.
//
// The route (world/robot_route.h): step off the rig, through the doors (about when the
// passage opens), along the passage to the glass (arriving when the robot stands), stand
// still until the charge, crouch and charge through the glass (the robot's shoulder at the
// pane at the impact), then laps of the hall beyond until the hall takes over again (the
// times of anim/show_times.h).
#include <cmath>
#include <vector>

#include "datagen/animation/node_keys.h"
#include "datagen/animation/route.h"
#include "datagen/geometry/model_builder.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/world/robot_route.h"

namespace datagen {

bool BuildRobotPath(Context& context) {
  ModelBuilder path;
  path.AddEmptyMesh("robot_path", kRobotPathNode);
  if (!context.WriteModel("robot_path", path)) return false;
  animation_file::AnimationData pathAnimation;
  pathAnimation.nodes.push_back(
      MakeNode(kRobotPathNode, VectorKeys(RobotPathPositions()), RotationKeys(RobotPathOrientations())));
  if (!context.WriteAnimation("robot_path", pathAnimation)) return false;

  ModelBuilder wallPath;
  wallPath.AddEmptyMesh("robot_breaking_wall_path", 1);
  if (!context.WriteModel("robot_breaking_wall_path", wallPath)) return false;
  animation_file::AnimationData wallAnimation;
  wallAnimation.nodes.push_back(MakeNode(1, ConstantVector(RobotStandPoint()), ConstantRotation(Quat())));
  return context.WriteAnimation("robot_breaking_wall_path", wallAnimation);
}

}  // namespace datagen
