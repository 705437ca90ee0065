// The generated robot played by the program's own scenes over the generated world: the
// lying robot is exactly the parts in their first releasing pose, and from the release
// to the end the robot stands upright, runs the way it faces, and does not turn when
// the scenes hand it over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "anim/show_times.h"
#include "data/data_set.h"
#include "datagen/geometry/vec.h"
#include "scenes/scene_content.h"
#include "scenes/scene_driver.h"

namespace {

using datagen::V3;
using scene_testing::FakeWorld;

constexpr float kPi = 3.14159265f;

// The generated data set as the scenes see it; textures are stand-ins (nothing here
// draws).
class GeneratedWorld {
 public:
  GeneratedWorld() {
    for (const std::string& name : data_set::ModelNames()) {
      world.AddModel(name, scene_testing::ModelOf(data_set::Model(name).meshes));
    }
    for (const std::string& name : data_set::AnimationNames()) world.AddAnimation(name, data_set::LoadedAnimation(name));
    for (const std::string& name : data_set::TextureNames()) world.AddTexture(name);
    ready = world.robot.Setup(world, data_set::Root()) && driver.Load();
  }

  // Plays frames at 30 per second up to time t.
  void PlayTo(float t) {
    for (; now_ <= t; now_ += kStep) driver.Frame(now_, kStep);
  }

  // The robot's joints in the world as last posed.
  V3 Joint(int j) const {
    return V3(sm::Transformed(world.robot.placement, world.robot.CurrentFrame()->joints[j]));
  }
  V3 Hips() const { return Joint(3); }
  // Where the chest faces, flat: square to the line between the shoulders.
  V3 Facing() const {
    const V3 right = Joint(8) - Joint(4);
    return datagen::Normalize(datagen::Cross(V3(0, 1, 0), V3(right.x, 0, right.z)));
  }

  static constexpr float kStep = 1.0f / 30.0f;
  FakeWorld world;
  scene_testing::SceneDriver driver{world};
  bool ready = false;

 private:
  float now_ = 0.0f;
};

// The box, centre and count of a cloud of vertices.
struct Points {
  V3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f}, sum;
  std::size_t count = 0;

  void AddAll(const std::vector<float>& vertices, const sm::Mat4& placement) {
    for (std::size_t v = 0; v + 2 < vertices.size(); v += model_file::kFloatsPerVertex) {
      const V3 p(sm::Transformed(placement, sm::Vec3(vertices[v], vertices[v + 1], vertices[v + 2])));
      low = V3(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
      high = V3(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
      sum += p;
      ++count;
    }
  }
  V3 Centre() const { return sum / static_cast<float>(count); }
};

float DegreesBetween(V3 a, V3 b) {
  const float c = datagen::Dot(datagen::Normalize(a), datagen::Normalize(b));
  return std::acos(std::max(-1.0f, std::min(1.0f, c))) * 180.0f / kPi;
}

TEST(RobotTimeline, TheLyingRobotIsThePartsInTheirFirstReleasingPose) {
  GeneratedWorld g;
  ASSERT_TRUE(g.ready);
  g.PlayTo(110.97f);
  // Every stored vertex of every part, placed as the robot placed it, against the
  // baked model: the same count, the same box and the same centre.
  Points posed, baked;
  for (const Model* part : g.world.robot.Models()) {
    for (const auto& mesh : part->meshes) {
      for (const auto& sub : mesh->subMeshes) posed.AddAll(sub->vertices, mesh->transform);
    }
  }
  for (const auto& mesh : data_set::Model("robot_lying").meshes) {
    for (const auto& sub : mesh.subMeshes) baked.AddAll(sub.vertices, sm::Mat4());
  }
  ASSERT_EQ(posed.count, baked.count);
  EXPECT_LT(datagen::Length(posed.low - baked.low), 0.05f);
  EXPECT_LT(datagen::Length(posed.high - baked.high), 0.05f);
  EXPECT_LT(datagen::Length(posed.Centre() - baked.Centre()), 0.05f);
}

TEST(RobotTimeline, StandsUprightRunsTheWayItFacesAndNeverTurnsAtTheSceneSwitch) {
  GeneratedWorld g;
  ASSERT_TRUE(g.ready);
  g.PlayTo(show::AsFloat(show::kRobotRelease));
  V3 lastHips = g.Hips();
  int running = 0;
  for (float t = show::AsFloat(show::kRobotRelease) + GeneratedWorld::kStep; t < show::AsFloat(show::kMusicEnd); t += GeneratedWorld::kStep) {
    g.PlayTo(t);
    const V3 hips = g.Hips();
    const V3 up = g.Joint(0) - hips;
    ASSERT_LT(DegreesBetween(up, V3(0, 1, 0)), 30.0f) << "upright at " << t;
    const V3 travel(hips.x - lastHips.x, 0.0f, hips.z - lastHips.z);
    const bool runs = (t > 115.3f && t < 136.3f) || (t > 167.6f && t < 200.5f);
    if (runs && datagen::Length(travel) > 300.0f * GeneratedWorld::kStep) {
      ASSERT_LT(DegreesBetween(g.Facing(), travel), 30.0f) << "facing its way at " << t;
      ++running;
    }
    lastHips = hips;
  }
  EXPECT_GT(running, 1000);
}

TEST(RobotTimeline, FacesTheSameWayEitherSideOfTheSceneSwitch) {
  GeneratedWorld g;
  ASSERT_TRUE(g.ready);
  // The last frame of the assembling scene against the first of the breaking-wall scene.
  g.PlayTo(119.95f);
  V3 before = g.Facing();
  for (float t = 119.95f; g.driver.Current() == 'A' && t < 121.0f; t += GeneratedWorld::kStep) {
    before = g.Facing();
    g.PlayTo(t);
  }
  ASSERT_EQ(g.driver.Current(), 'B');
  EXPECT_LT(DegreesBetween(before, g.Facing()), 5.0f);
}

}  // namespace
