// The robot's part models placed by the program's own posing: the generator's frames are
// the program's, every part appears as built (the mirrored ones included: outward
// winding, left stays left), the foot's sole lies where the pose maths puts it, and the
// right shoulder is the front of the robot as it hits the glass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "datagen/robot/motions.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/robot/robot_rig.h"
#include "datagen/robot/run_cycle.h"
#include "datagen/robot_engine.h"
#include "scenes/assembling_scene.h"

namespace {

using namespace datagen::robot;
using datagen::V3;
using robot_testing::Loaded;

V3 Apply(const sm::Mat4& m, V3 p) { return V3(sm::Transformed(m, p.ToSm())); }

// Every triangle of a part's stored geometry placed by a matrix.
template <typename Visit>
void ForEachTriangle(const datagen::MeshBuilder& part, const sm::Mat4& placement, Visit&& visit) {
  for (const model_file::SubMeshData& sub : part.Build()) {
    const std::size_t stride = model_file::kFloatsPerVertex;
    for (std::size_t v = 0; v + 3 * stride <= sub.vertices.size(); v += 3 * stride) {
      V3 corner[3];
      for (int k = 0; k < 3; ++k) {
        const float* p = &sub.vertices[v + static_cast<std::size_t>(k) * stride];
        corner[k] = Apply(placement, V3(p[0], p[1], p[2]));
      }
      visit(corner[0], corner[1], corner[2]);
    }
  }
}

TEST(RobotParts, TheGeneratorsFramesAreThoseThePartsArePlacedWith) {
  ASSERT_TRUE(Loaded().Ready());
  AssemblingScene scene(Loaded().World());
  Robot::Character& robot = Loaded().Robot();
  for (const sm::Mat4& placement : {scene.PlacementA(), scene.PlacementB()}) {
    for (float t : {0.0f, 4.7f, 9.9f}) {
      Loaded().Posed(Robot::kReleasing, t, placement);
      const auto frames = PartFrames(*robot.CurrentFrame());
      for (int i = 0; i < kPartCount; ++i) {
        const Model* model = robot.Models()[static_cast<std::size_t>(i)];
        const sm::Mat4 expected = sm::Product(frames[static_cast<std::size_t>(i)], placement);
        for (int e = 0; e < 16; ++e) {
          ASSERT_NEAR(model->meshes[0]->transform.a[e], expected.a[e], 1e-3f) << Parts()[static_cast<std::size_t>(i)].model;
        }
      }
    }
  }
  // The hall's placements, as the assembling scene makes them.
  for (int e = 0; e < 16; ++e) {
    EXPECT_NEAR(ReleasePlacement().a[e], scene.PlacementA().a[e], 1e-4f);
    EXPECT_NEAR(DancePlacement().a[e], scene.PlacementB().a[e], 1e-4f);
  }
}

TEST(RobotParts, EveryPartAppearsAsBuiltWithItsFacesOutward) {
  // A closed part whose triangles wind counter-clockwise seen from outside encloses a
  // positive volume; a part stored the wrong way for its frame would show inside out.
  const auto parts = PartGeometry();
  const Robot::Frame pose = ToFrame(Solve(ReadyStance()));
  const auto frames = PartFrames(pose);
  for (int i = 0; i < kPartCount; ++i) {
    double volume = 0.0;
    ForEachTriangle(parts[static_cast<std::size_t>(i)], frames[static_cast<std::size_t>(i)], [&](V3 a, V3 b, V3 c) {
      volume += Dot(a, Cross(b, c)) / 6.0;
    });
    EXPECT_GT(volume, 0.0) << Parts()[static_cast<std::size_t>(i)].model;
  }
  // The antenna stands on the head's left: the highest point of the posed head is on
  // the robot's left (+x in pose space).
  V3 top(0, -1e9f, 0);
  ForEachTriangle(parts[0], frames[0], [&](V3 a, V3 b, V3 c) {
    for (V3 p : {a, b, c}) {
      if (p.y > top.y) top = p;
    }
  });
  EXPECT_GT(top.x, 15.0f);
}

TEST(RobotParts, TheFootsSoleIsWhereThePoseMathsPutsTheFloor) {
  // A flat foot placed by its look-at frame rests on its sole exactly kAnkleHeight below
  // the ankle, from the heel to the toes joint.
  const FootPlacement flat = FlatFoot(0.0f, -200.0f, 0.0f);
  const V3 toes = ToesOf(flat);
  const sm::Mat4 frame = LookAt(toes.ToSm(), flat.ankle.ToSm());
  float lowest = 1e9f, front = -1e9f, back = 1e9f;
  ForEachTriangle(FootGeometry(), frame, [&](V3 a, V3 b, V3 c) {
    for (V3 p : {a, b, c}) {
      lowest = std::min(lowest, p.y);
      front = std::max(front, p.z);
      back = std::min(back, p.z);
    }
  });
  EXPECT_NEAR(lowest, -200.0f, 0.5f);
  EXPECT_NEAR(front, toes.z, 1.0f);
  EXPECT_NEAR(back, -kHeelBack, 1.0f);
}

TEST(RobotParts, TheRightShoulderIsTheFrontOfTheRobotAtImpact) {
  const auto parts = PartGeometry();
  const auto frames = PartFrames(ToFrame(Solve(BreakingWallPose(metrics::kBreakImpact))));
  float front = -1e9f;
  int frontPart = -1;
  for (int i = 0; i < kPartCount; ++i) {
    ForEachTriangle(parts[static_cast<std::size_t>(i)], frames[static_cast<std::size_t>(i)], [&](V3 a, V3 b, V3 c) {
      for (V3 p : {a, b, c}) {
        if (p.z > front) front = p.z, frontPart = i;
      }
    });
  }
  ASSERT_GE(frontPart, 0);
  EXPECT_STREQ(Parts()[static_cast<std::size_t>(frontPart)].model, "robot_shoulder_right");
  EXPECT_NEAR(front, metrics::kImpactFrontReach, 5.0f);
}

}  // namespace
