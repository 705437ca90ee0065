#pragma once
// Where everything stands: the one table of world positions that the models, the paths
// and the cameras are built around. Some values are fixed by what the program does
// with them (the robot's two placements, the arm bases, the four shadow-light eyes,
// the shards' side limits); the rest is this data set's choice of layout, written
// down once so every model and path agrees. docs/content.md draws the plan.
//
// World units: the robot stands about 810 units tall, so one unit is roughly 2.3 mm.
// The floor is y = 0 everywhere.
#include "datagen/geometry/vec.h"

namespace datagen::layout {

// --- Fixed by the program -------------------------------------------------------

// Hip centre of the robot where it is released (lying in the rig) and where it dances.
constexpr V3 kReleaseHip{-6.859f, 380.929f, 1694.074f};
constexpr V3 kDanceHip{6.289f, 365.769f, 158.514f};
// The standing robot's hip height above its soles; at the release spot it stands on a
// platform whose top is the difference.
constexpr float kStandingHipHeight = 365.769f;
constexpr float kRigPlatformTop = kReleaseHip.y - kStandingHipHeight;  // 15.16

// The welding arms' base pivots and reach (upper arm 450 + forearm 415).
constexpr V3 kArm1Base{780.924f, 217.917f, 1819.266f};
constexpr V3 kArm2Base{-780.924f, 217.917f, 1819.266f};
constexpr float kArmUpper = 450.0f;
constexpr float kArmFore = 415.0f;

// The eyes of the fixed shadow lights; nothing opaque may stand between them and the
// action they look at.
constexpr V3 kDefaultLightEye{-595.95f, 792.07f, 399.11f};
constexpr V3 kDanceLightEye{-598.91f, 1379.04f, -116.57f};
constexpr V3 kWallLightEye{11740.97f, 916.77f, -17819.03f};
// The follow light rides this far above the robot's path.
constexpr float kFollowLightHeight = 400.0f;

// Flying shards bounce between these two limits on z.
constexpr float kShardLimitLow = -21650.75f;
constexpr float kShardLimitHigh = 5540.82f;

// --- The hall ---------------------------------------------------------------------

constexpr float kHallMinX = -3600, kHallMaxX = 3600;
constexpr float kHallMinZ = -1000, kHallMaxZ = 4600;
constexpr float kHallWallTop = 2700;    // eaves: where the walls meet the roof
constexpr float kHallTrussBottom = 2150;
// The exit: two sliding leaves in the hall's -z wall.
constexpr float kDoorCentreX = 1100;
constexpr float kDoorWidth = 1000;
constexpr float kDoorHeight = 1400;
constexpr float kDoorWallZ = kHallMinZ;
// The monitor wall stands against -x, facing the rig across the hall.
constexpr float kMonitorWallX = kHallMinX + 420;
constexpr float kMonitorCentreZ = 1700;
// The two big monitors' faces (the hud is drawn onto them): centre, width, height.
constexpr V3 kMonitor1Centre{kMonitorWallX + 60, 1180, 1250};
constexpr V3 kMonitor2Centre{kMonitorWallX + 60, 1180, 2150};
constexpr float kMonitorWidth = 780;
constexpr float kMonitorHeight = 460;
// The credits banner hangs from the trusses behind the dance spot, facing -z.
constexpr V3 kCreditsCentre{0, 1200, 900};
constexpr float kCreditsWidth = 1200;
constexpr float kCreditsHeight = 300;

// --- The passage ------------------------------------------------------------------

// A corridor from the doors to the glass-wall room (its centre line is in
// passage_route.h), kPassageWidth wide and kPassageHeight tall inside.
constexpr float kPassageWidth = 1400;
constexpr float kPassageHeight = 1500;

// --- The glass-wall room and beyond -----------------------------------------------

constexpr float kWallRoomMinX = 10600;
constexpr float kGlassPlaneX = 13800;
constexpr float kWallRoomMinZ = -19000, kWallRoomMaxZ = -15800;
constexpr float kWallRoomHeight = 1900;
// The glass pane: in the plane x = kGlassPlaneX, centred on z, from the floor up.
constexpr float kGlassCentreZ = -17400;
constexpr float kGlassWidth = 1200;
constexpr float kGlassHeight = 1000;
constexpr float kGlassThickness = 8;
// The hall beyond the glass, where the robot runs until the dance.
constexpr float kBeyondMinX = 13800, kBeyondMaxX = 20600;
constexpr float kBeyondMinZ = -20600, kBeyondMaxZ = -14200;
constexpr float kBeyondHeight = 2600;
// The exit the run heads for at its end: a lit doorway in the hall beyond's -x wall,
// beside the glass-wall room (clear of its +z wall), and a short lit passage behind it
// that the robot runs into as the hall takes over.
constexpr float kBeyondExitZ = -15350;
constexpr float kBeyondExitWidth = 800, kBeyondExitHeight = 1200;
constexpr float kBeyondExitDepth = 2800;  // behind the hall beyond's -x wall

}  // namespace datagen::layout
