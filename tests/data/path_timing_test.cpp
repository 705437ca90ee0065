// The robot's path and the doors as the program evaluates them: the path moves the
// robot as fast as the run's stride carries its feet, stands still at the glass, takes
// the break's own travel with the shoulder reaching the pane at the impact, keeps the
// robot clear of every wall, and the doors are open before the robot gets to them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "anim/show_times.h"
#include "assets/model.h"
#include "data/data_set.h"
#include "datagen/direction/open_space.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/world/layout.h"

namespace {

using datagen::V3;
namespace layout = datagen::layout;
namespace metrics = datagen::robot::metrics;

// The robot path's carrier mesh moved by the "robot_path" animation, as the scenes read it.
class PathProbe {
 public:
  PathProbe() : animation_(data_set::LoadedAnimation("robot_path")) {
    carrier_.nodeId = data_set::Model("robot_path").meshes.at(0).nodeId;
    animation_->AttachMeshes(std::vector<Mesh*>{&carrier_});
  }
  V3 At(double t) {
    animation_->Update(static_cast<float>(t), sm::Mat4(), 0.0f);
    const float* m = carrier_.baseTransform.a;
    return V3(m[12], m[13], m[14]);
  }
  // Horizontal speed around t, over step.
  float Speed(double t, double step = 0.02) {
    const V3 d = At(t + 0.5 * step) - At(t - 0.5 * step);
    return std::hypot(d.x, d.z) / static_cast<float>(step);
  }

 private:
  std::unique_ptr<Animation> animation_;
  Mesh carrier_;
};

TEST(PathTiming, RunsAtTheStridesSpeedSoTheFeetDoNotSlide) {
  PathProbe path;
  // From the rig to the glass the route is as long as the world allows: within a few per
  // cent of the stride's speed, evenly (until it brakes for the last 0.8 s).
  for (double t = 115.05; t < 135.55; t += 0.01) {
    EXPECT_NEAR(path.Speed(t) / metrics::kRunSpeed, 0.98f, 0.025f) << t;
  }
  // Through the glass with the break's own travel, then at the stride's speed exactly.
  const V3 stand = path.At(150.0);
  for (double t = show::kWallCharge; t <= show::kRunAgain; t += 0.05) {
    EXPECT_NEAR(path.At(t).x - stand.x, metrics::BreakTravel(static_cast<float>(t - show::kWallCharge)), 3.0f) << t;
  }
  for (double t = 167.55; t < 200.55; t += 0.01) {
    EXPECT_NEAR(path.Speed(t) / metrics::kRunSpeed, 1.0f, 0.01f) << "at " << t;
  }
}

TEST(PathTiming, StandsStillAtTheGlassAndHitsItWithTheShoulderAtTheImpact) {
  PathProbe path;
  const V3 stand = path.At(show::kRobotStands);
  for (double t = show::kRobotStands; t < show::kWallCharge; t += 0.01) {
    ASSERT_LT(datagen::Length(path.At(t) - stand), 0.5f) << t;
  }
  EXPECT_NEAR(stand.x, layout::kGlassPlaneX - metrics::kBreakStandToGlass, 1.0f);
  EXPECT_NEAR(stand.z, layout::kGlassCentreZ, 1.0f);
  EXPECT_NEAR(path.At(show::kWallImpact).x + metrics::kImpactFrontReach, layout::kGlassPlaneX, 5.0f);
  // Still running up to the stop (the follow light looks from two seconds back).
  EXPECT_GT(path.Speed(136.3), 100.0f);
}

TEST(PathTiming, KeepsTheRobotClearOfTheWalls) {
  PathProbe path;
  for (double t = show::kRunStart; t < show::kBackToHall; t += 0.05) {
    const V3 hips = path.At(t);
    ASSERT_TRUE(datagen::space::Clear(hips, 250.0f, true)) << "hips at " << t;
  }
}

TEST(PathTiming, TheDoorsAreOpenBeforeTheRobotReachesThem) {
  PathProbe path;
  auto doors = data_set::LoadedAnimation("doors");
  const auto model = data_set::Model("doors");
  std::vector<std::unique_ptr<Mesh>> leaves;
  std::vector<Mesh*> attach;
  // Each leaf's stored extent along x; the animation slides it.
  std::vector<std::pair<float, float>> extents;
  for (const auto& data : model.meshes) {
    auto mesh = std::make_unique<Mesh>();
    mesh->nodeId = data.nodeId;
    float low = 1e9f, high = -1e9f;
    for (const auto& sub : data.subMeshes) {
      for (std::size_t v = 0; v < sub.vertices.size(); v += model_file::kFloatsPerVertex) {
        low = std::min(low, sub.vertices[v]);
        high = std::max(high, sub.vertices[v]);
      }
    }
    extents.push_back({low, high});
    attach.push_back(mesh.get());
    leaves.push_back(std::move(mesh));
  }
  doors->AttachMeshes(attach);
  // The opening left between the leaves around the robot's line, at time t.
  const auto clear = [&](double t, float x) {
    doors->Update(static_cast<float>(t), sm::Mat4(), 0.0f);
    float left = -1e9f, right = 1e9f;
    for (std::size_t i = 0; i < leaves.size(); ++i) {
      const float shift = leaves[i]->transform.a[12];
      const float low = extents[i].first + shift, high = extents[i].second + shift;
      if (high <= x) left = std::max(left, high);
      else if (low >= x) right = std::min(right, low);
      else return 0.0f;  // a leaf across the robot's line
    }
    return std::min(x - left, right - x);
  };
  bool passed = false;
  for (double t = 115.0; t < 200.0; t += 0.02) {
    const V3 hips = path.At(t);
    if (std::fabs(hips.z - layout::kDoorWallZ) < 600.0f && hips.x > 0.0f && hips.x < 2200.0f) {
      passed = true;
      EXPECT_GT(clear(t, hips.x), 400.0f) << "the doors in the robot's way at " << t;
    }
  }
  EXPECT_TRUE(passed) << "the robot runs through the doors";
  EXPECT_GT(clear(240.0, layout::kDoorCentreX), 400.0f) << "the doors stay open";
  EXPECT_EQ(clear(0.0, layout::kDoorCentreX), 0.0f) << "the doors are closed at the start";
}

}  // namespace
