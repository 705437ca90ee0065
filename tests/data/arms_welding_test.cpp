// The welding arms as the assembling scene plays them: every torch target is within
// the arm's reach at every frame, the torch is on the lying robot whenever it sparks,
// the bursts start on the music's accents, and the arms are at rest and clear of the
// robot before it is released.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "anim/show_times.h"
#include "data/data_set.h"
#include "data/direction_playback.h"
#include "datagen/timeline_events.h"
#include "scenes/mechanical_arm.h"

namespace {

using datagen::V3;
using direction_testing::DirectionPlayback;

// The distance from p to the triangle abc.
float TriangleDistance(V3 p, V3 a, V3 b, V3 c) {
  using datagen::Dot;
  const V3 ab = b - a, ac = c - a, ap = p - a;
  const float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return datagen::Length(ap);
  const V3 bp = p - b;
  const float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return datagen::Length(bp);
  const float vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return datagen::Length(p - (a + ab * (d1 / (d1 - d3))));
  const V3 cp = p - c;
  const float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return datagen::Length(cp);
  const float vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return datagen::Length(p - (a + ac * (d2 / (d2 - d6))));
  const float va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
    return datagen::Length(p - (b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)))));
  }
  const float denominator = 1.0f / (va + vb + vc);
  return datagen::Length(p - (a + ab * (vb * denominator) + ac * (vc * denominator)));
}

// The lying robot's triangles, in the world.
std::vector<V3> LyingRobot() {
  std::vector<V3> corners;
  for (const auto& mesh : data_set::Model("robot_lying").meshes) {
    for (const auto& sub : mesh.subMeshes) {
      for (std::size_t v = 0; v + 2 < sub.vertices.size(); v += model_file::kFloatsPerVertex) {
        corners.push_back(V3(sub.vertices[v], sub.vertices[v + 1], sub.vertices[v + 2]));
      }
    }
  }
  return corners;
}

float DistanceTo(const std::vector<V3>& triangles, V3 p) {
  float best = 1e9f;
  for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
    best = std::min(best, TriangleDistance(p, triangles[i], triangles[i + 1], triangles[i + 2]));
  }
  return best;
}

V3 Origin(const Mesh& mesh) {
  return V3(mesh.baseTransform.a[12], mesh.baseTransform.a[13], mesh.baseTransform.a[14]);
}

TEST(ArmsWelding, ReachTheirTorchesAndWeldOnTheLyingRobot) {
  DirectionPlayback p;
  ASSERT_TRUE(p.Ready());
  const std::vector<V3> robot = LyingRobot();
  const MechanicalArm* arms[2] = {&p.driver.Assembling().FirstArm(), &p.driver.Assembling().SecondArm()};
  Mesh* ends[2] = {p.world.FindModel("mech_arm_01_end")->meshes.at(0).get(),
                   p.world.FindModel("mech_arm_02_end")->meshes.at(0).get()};
  int sparking = 0;
  for (long n = 0; n <= 115 * 60; ++n) {
    p.PlayTo(n / 60.0);
    for (int a = 0; a < 2; ++a) {
      const V3 base(arms[a]->BasePosition());
      const V3 wrist = Origin(*ends[a]);
      const float reach = datagen::Length(wrist - base);
      ASSERT_LE(reach, 865.0f) << "arm " << a + 1 << " at " << p.Time();
      ASSERT_GE(reach, 250.0f) << "arm " << a + 1 << " at " << p.Time();
      ASSERT_GE(std::hypot(wrist.x - base.x, wrist.z - base.z), 150.0f) << "arm " << a + 1 << " at " << p.Time();
      // Sparks only where the torch touches the robot.
      if (arms[a]->Emitter().emitting && n % 5 == 0) {
        ++sparking;
        EXPECT_LT(DistanceTo(robot, V3(arms[a]->Emitter().position)), 20.0f) << "arm " << a + 1 << " at " << p.Time();
      }
    }
  }
  EXPECT_GT(sparking, 300);
}

TEST(ArmsWelding, RestClearOfTheRobotWhileItIsReleased) {
  DirectionPlayback p;
  ASSERT_TRUE(p.Ready());
  const MechanicalArm* arms[2] = {&p.driver.Assembling().FirstArm(), &p.driver.Assembling().SecondArm()};
  p.PlayTo(show::kRobotRelease);
  const V3 rest[2] = {V3(arms[0]->Emitter().position), V3(arms[1]->Emitter().position)};
  for (double t = show::kRobotRelease; t < show::kRunStart; t += 1.0 / 60.0) {
    p.PlayTo(t);
    for (int a = 0; a < 2; ++a) {
      const V3 tip(arms[a]->Emitter().position);
      EXPECT_LT(datagen::Length(tip - rest[a]), 0.5f) << "arm " << a + 1 << " holds still at " << t;
      EXPECT_FALSE(arms[a]->Emitter().emitting);
      // Not within reach of the waking robot's hands, elbows or head.
      for (int j : {0, 5, 6, 9, 10}) {
        EXPECT_GT(datagen::Length(tip - p.RobotJoint(j)), 250.0f) << "arm " << a + 1 << ", joint " << j << " at " << t;
      }
    }
  }
}

// Every burst of sparks starts on a flash or a beat and lasts 1.5 to 4 s.
TEST(ArmsWelding, SparksBurstOnTheMusic) {
  std::vector<double> accents = datagen::timeline::FlashTimes();
  for (const auto& beat : datagen::timeline::Beats(0.0, 120.0)) accents.push_back(beat.time);
  for (const char* model : {"mech_arm_01_end", "mech_arm_02_end"}) {
    const auto data = data_set::Model(model);
    const auto* control = data_set::FindMesh(data, "_ctrl_props");
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(control->values.size(), 1u);
    const KeyedValue sparks = MakeNodeValue(control->values[0]);
    int bursts = 0;
    float start = 0;
    int last = 0;
    for (float t = 0; t <= 240.0f; t += 0.005f) {
      const int now = sparks.IntAt(t, -1);
      if (now == 1 && last != 1) {
        start = t;
        const double nearest = *std::min_element(accents.begin(), accents.end(), [t](double a, double b) {
          return std::fabs(a - t) < std::fabs(b - t);
        });
        EXPECT_NEAR(nearest, t, 0.01) << model << " burst at " << t;
        ++bursts;
      }
      if (now != 1 && last == 1) {
        EXPECT_GE(t - start, 1.45f) << model << " burst at " << start;
        EXPECT_LE(t - start, 4.05f) << model << " burst at " << start;
      }
      if (t >= 108.0f) {
        ASSERT_EQ(now, 0) << model << " sparks after the welding at " << t;
      }
      last = now;
    }
    EXPECT_GE(bursts, 8) << model;
  }
}

}  // namespace
