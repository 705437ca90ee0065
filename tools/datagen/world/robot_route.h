#pragma once
// The robot's journey as keys of the "robot_path" node: the hip centre's positions and
// the node's orientations, which include the inverse of the turn each scene adds, so
// the robot stands upright facing its way in both scenes. Shared by the path model
// and by the cameras that follow the robot.
#include <cstdint>
#include <vector>

#include "datagen/animation/node_keys.h"

namespace datagen {

constexpr std::int32_t kRobotPathNode = 1;

// Times of the journey (seconds of the timeline).
constexpr float kRunStart = 115.0f;
constexpr float kArriveAtWall = 136.4f;
constexpr float kChargeStart = 164.4808f;
constexpr float kImpact = 166.3808f;
constexpr float kRunAgain = 167.4808f;
constexpr float kBackToHall = 200.598f;
constexpr float kPathEnd = 200.7f;

// The hip centre at time t (115 ... 200.7; clamped outside).
V3 RobotHipAt(float t);
// The direction the robot faces (horizontal, unit) at time t.
V3 RobotFacingAt(float t);

std::vector<PositionKey> RobotPathPositions();
std::vector<OrientationKey> RobotPathOrientations();

}  // namespace datagen
