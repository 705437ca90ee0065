#pragma once
// The robot's journey as keys of the "robot_path" node: the hip centre's positions and
// the node's orientations, which take out again the turn each scene adds, so the robot
// stands upright facing its way in both scenes. Shared by the path model, the cameras
// that follow the robot and the preview.
//
// The path moves as fast as the run cycle's stride carries the feet, so the feet do not
// slide: it leaves the rig at running speed when the run starts, follows the passage's
// centre line, comes to a stop in front of the glass, charges through it with the
// breaking-wall animation's own travel, runs two laps of the hall beyond and out through
// its exit until the scenes hand back to the hall, where it stands at the dance spot (the
// times below).
#include <cstdint>
#include <vector>

#include "anim/show_times.h"

#include "datagen/animation/node_keys.h"

namespace datagen {

constexpr std::int32_t kRobotPathNode = 1;

// Times of the journey (seconds of the timeline).
constexpr float kRunStart = show::AsFloat(show::kRunStart);
constexpr float kSceneSwitch = show::AsFloat(show::kSceneSwitch);  // the wall scene takes over after this
constexpr float kArriveAtWall = show::AsFloat(show::kRobotStands);
constexpr float kChargeStart = show::AsFloat(show::kWallCharge);
constexpr float kImpact = show::AsFloat(show::kWallImpact);
constexpr float kRunAgain = show::AsFloat(show::kRunAgain);
constexpr float kBackToHall = show::AsFloat(show::kBackToHall);
constexpr float kPathEnd = show::AsFloat(show::kDanceLight);  // the robot stands at the dance spot

// How long the robot takes to come to a stop in front of the glass (decelerating evenly).
constexpr float kStopDuration = 0.8f;

// The speed from the rig to the glass: the route's length over the time it has, within a
// few per cent of the stride's speed (the route through the hall and the passage is as
// long as the world allows; the small difference does not show as sliding feet). The
// break and the laps beyond run at the stride's speed exactly.
float RobotApproachSpeed();

// The hip centre at time t (kRunStart ... kPathEnd; clamped outside).
V3 RobotHipAt(float t);
// The direction the robot faces (horizontal, unit) at time t.
V3 RobotFacingAt(float t);
// Where the robot waits in front of the glass (hip centre), facing +x.
V3 RobotStandPoint();
// The time the robot passes through the hall's doors (its hip centre in the door plane).
float RobotThroughDoors();

std::vector<PositionKey> RobotPathPositions();
std::vector<OrientationKey> RobotPathOrientations();

}  // namespace datagen
