// Both scenes over the whole timeline, driven as the controller drives them: each
// frame the scene that claims the time becomes current (the other deactivated, it
// activated) and is updated. At times around every boundary of the two scenes'
// timelines the table gives the current scene, the enabled slots, the robot's
// animation, its time within it, its placement and the light.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "anim/show_times.h"
#include "scenes/assembling_scene.h"
#include "scenes/breaking_wall_scene.h"
#include "scenes/frames.h"
#include "scenes/log_capture.h"
#include "scenes/robot_path.h"
#include "scenes/scene_content.h"
#include "scenes/scene_driver.h"

namespace {

using namespace scene_testing;

enum class Place { kIdentity, kA, kB, kRunPath, kWallPath };
enum class Light { kDefault, kDance, kWall, kFollow };

struct Row {
  float t;
  char scene;          // 'A' assembling, 'B' breaking wall
  const char* slots;   // the enabled slots, e.g. "034"
  int animation;       // the robot's animation index
  float poseTime;      // time within that animation
  Place place;
  Light light;
};

std::string EnabledSlots(const FakeWorld& world) {
  std::string s;
  for (int i = 0; i < FakeWorld::kModelSlots; ++i) {
    if (world.slots[i]) s += static_cast<char>('0' + i);
  }
  return s;
}

sm::Mat4 PathMatrix(float t) {
  const sm::Vec3 p = PathPosition(t);
  return sm::Translation(p.x, p.y, p.z);
}

sm::Mat4 ExpectedPlacement(Place place, float t, AssemblingScene& a) {
  switch (place) {
    case Place::kA: return a.PlacementA();
    case Place::kB: return a.PlacementB();
    case Place::kRunPath: return sm::Product(PathTurn(), PathMatrix(t));
    case Place::kWallPath: return sm::Product(BreakingWallScene::WallTurn(), PathMatrix(t));
    default: return sm::Mat4();
  }
}

// The robot frames of the test content are tagged with their animation and key time:
// the chosen key must be the last one at or before the expected pose time (or the
// first one for a time before it, the last one for a time after the end).
void ExpectPose(const Robot::Character& robot, int animation, float poseTime) {
  const sm::Vec3& tag = robot.CurrentFrame()->joints[2];
  EXPECT_EQ(static_cast<int>(tag.x), animation);
  const PoseTrackShape shape = DefaultShape(animation);
  const float clamped = std::min(std::max(poseTime, 0.0f), shape.length);
  EXPECT_LE(tag.y, clamped + 1e-3f) << "pose time " << poseTime;
  EXPECT_GT(tag.y, clamped - shape.step - 1e-3f) << "pose time " << poseTime;
}

constexpr float At(double showTime) { return show::AsFloat(showTime); }

const Row kRows[] = {
    // The arms weld, the lying robot is shown; the robot keeps the pose it got at loading.
    {0.0f, 'A', "024", 3, 3.0f, Place::kIdentity, Light::kDefault},
    {110.95f, 'A', "024", 3, 3.0f, Place::kIdentity, Light::kDefault},
    // Released at 2.5× in placement A.
    {At(show::kRobotRelease), 'A', "034", 0, 0.0f, Place::kA, Light::kDefault},
    {112.02f, 'A', "034", 0, 2.65f, Place::kA, Light::kDefault},
    {114.99f, 'A', "034", 0, 10.075f, Place::kA, Light::kDefault},
    // Running along the path at 2× from the run start, the passage shown from its opening.
    {At(show::kRunStart), 'A', "034", 1, 0.4f, Place::kRunPath, Light::kDefault},
    {117.49f, 'A', "034", 1, 1.18f, Place::kRunPath, Light::kDefault},
    {At(show::kPassageOpen), 'A', "0134", 1, 1.2f, Place::kRunPath, Light::kDefault},
    {At(show::kSceneSwitch), 'A', "0134", 1, 0.6f, Place::kRunPath, Light::kDefault},
    // The breaking-wall scene takes over: hall, arms and lying robot off.
    {120.001f, 'B', "13", 1, 0.602f, Place::kWallPath, Light::kFollow},
    {136.39f, 'B', "13", 1, 1.18f, Place::kWallPath, Light::kFollow},
    {At(show::kRobotStands), 'B', "13", 1, 0.0f, Place::kWallPath, Light::kWall},
    {150.0f, 'B', "13", 1, 0.0f, Place::kWallPath, Light::kWall},
    {164.48f, 'B', "13", 1, 0.0f, Place::kWallPath, Light::kWall},
    {At(show::kWallCharge), 'B', "13", 3, 0.0f, Place::kWallPath, Light::kWall},
    {166.0f, 'B', "13", 3, 1.5192f, Place::kWallPath, Light::kWall},
    {167.48f, 'B', "13", 3, 2.9992f, Place::kWallPath, Light::kWall},
    {At(show::kRunAgain), 'B', "13", 1, 0.3616f, Place::kWallPath, Light::kFollow},
    {200.597f, 'B', "13", 1, 0.794f, Place::kWallPath, Light::kFollow},
    // Back in the hall: running at the path's end until the dance light, then the dance at B.
    {At(show::kBackToHall), 'A', "034", 1, 0.796f, Place::kRunPath, Light::kDefault},
    {200.69f, 'A', "034", 1, 0.98f, Place::kRunPath, Light::kDefault},
    {At(show::kDanceLight), 'A', "034", 4, -1.2f, Place::kB, Light::kDance},
    {202.0f, 'A', "034", 4, 0.1f, Place::kB, Light::kDance},
    {240.0f, 'A', "034", 4, 38.1f, Place::kB, Light::kDance},
};

TEST(Timeline, BothScenesFollowTheirTablesAroundEveryBoundary) {
  LogCapture log;
  FakeWorld world;
  AddAllSceneContent(world, log.Dir().Path());
  ASSERT_TRUE(world.robot.Setup(world, log.Dir().Path()));
  SceneDriver controller(world);
  ASSERT_TRUE(controller.Load());

  // Frames at 60 per second, with every row's time as a frame of its own.
  std::vector<float> times;
  for (int i = 0; i <= 240 * 60; ++i) times.push_back(static_cast<float>(i) / 60.0f);
  for (const Row& row : kRows) times.push_back(row.t);
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());

  const Row* row = kRows;
  const Row* end = kRows + sizeof kRows / sizeof kRows[0];
  float previous = 0.0f;
  for (float t : times) {
    controller.Frame(t, t - previous);
    previous = t;
    if (row == end || t != row->t) continue;
    SCOPED_TRACE("t = " + std::to_string(row->t));
    EXPECT_EQ(controller.Current(), row->scene);
    EXPECT_EQ(EnabledSlots(world), row->slots);
    EXPECT_EQ(world.robot.animationIndex, row->animation);
    ExpectPose(world.robot, row->animation, row->poseTime);
    const sm::Mat4 placement = ExpectedPlacement(row->place, row->t, controller.Assembling());
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(world.robot.placement.a[i], placement.a[i], 0.05f) << i;

    const sm::Mat4 sentinel = sm::Translation(1, 2, 3);
    sm::Mat4 light = sentinel;
    controller.CurrentScene().AdjustLight(light);
    switch (row->light) {
      case Light::kDefault: EXPECT_EQ(light.a[12], 1.0f); break;
      case Light::kDance: EXPECT_FLOAT_EQ(light.a[0], -0.8141f); break;
      case Light::kWall: EXPECT_FLOAT_EQ(light.a[0], -0.2334f); break;
      case Light::kFollow: {
        sm::Vec3 eye = PathPosition(row->t - 2.0f);
        eye.y += 400.0f;
        const sm::Mat4 follow = sm::Inverted(LookAt(PathPosition(row->t), eye));
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(light.a[i], follow.a[i], 0.1f) << i;
        break;
      }
    }
    ++row;
  }
  EXPECT_EQ(row, end) << "every row's time was played";
  EXPECT_TRUE(log.Lines().empty());
}

}  // namespace
