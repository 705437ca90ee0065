// "robot_path": where the robot runs from its release to the dance. The model's first
// mesh carries no geometry: its node moves it along the route, and the scenes place the
// robot at that mesh's transform. Also "robot_breaking_wall_path", which the program
// attaches but never reads.
//
// The route (world/robot_route.h): step off the rig, through the doors (about 117.5 s),
// along the passage to the glass (arriving 136.4 s), stand still until 164.48 s, crouch
// and charge through the glass (the robot's shoulder at the pane at 166.38 s), then laps
// of the hall beyond until the hall takes over again at 200.598 s.
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
