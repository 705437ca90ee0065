// The robot's motion posed by the program's own robot in the world: feet that stay on
// the floor and plant while the robot travels as its metrics say, motions that join
// where the scenes hand over from one to the next, a shoulder that leads into the glass,
// a dance that hits the music's accents, and a robot that stands upright where the
// assembling scene places it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "datagen/robot/dance_beats.h"
#include "datagen/robot/motions.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/robot/run_cycle.h"
#include "datagen/robot_engine.h"
#include "scenes/assembling_scene.h"

namespace {

using namespace datagen::robot;
using namespace datagen::robot::metrics;
using datagen::V3;
using robot_testing::Loaded;
using robot_testing::Track;

// The platform of the rig under placement A lies this high above the hall floor.
constexpr float kRigPlatform = 380.929f - kStandingHipHeight;

// A robot carried along +z: its hip centre at height, travelled by distance.
sm::Mat4 Carried(float height, float distance) { return sm::Translation(0.0f, height, distance); }

float SoleOf(const Joints& j, float side) {
  return side > 0 ? SoleBottom(j[kLeftAnkle], j[kLeftToes]) : SoleBottom(j[kRightAnkle], j[kRightToes]);
}
V3 ToesOf(const Joints& j, float side) { return side > 0 ? j[kLeftToes] : j[kRightToes]; }

struct Playback {
  const char* name;
  int animation;
  std::function<sm::Mat4(float)> placement;  // at animation time
  float floor;                                // world height of the floor under the feet
};

std::vector<Playback> Playbacks() {
  AssemblingScene scene(Loaded().World());
  const sm::Mat4 a = scene.PlacementA(), b = scene.PlacementB();
  return {
      {"releasing", Robot::kReleasing, [a](float) { return a; }, kRigPlatform},
      {"run", Robot::kRun, [](float t) { return Carried(kRunHipHeight, kRunStride / kRunPeriod * t); }, 0.0f},
      {"breaking wall", Robot::kBreakingWall, [](float t) { return Carried(kRunHipHeight, BreakTravel(t)); }, 0.0f},
      {"dance", Robot::kDance, [b](float) { return b; }, 0.0f},
  };
}

// Every key of a playback posed through the robot, in time order.
template <typename Visit>
void ForEachKey(const Playback& playback, Visit&& visit) {
  const auto& keys = Track(playback.animation).Keys();
  // The run's last key only closes the loop; it is never shown.
  const std::size_t shown = playback.animation == Robot::kRun ? keys.size() - 1 : keys.size();
  for (std::size_t i = 0; i < shown; ++i) {
    visit(keys[i].time, Loaded().Posed(playback.animation, keys[i].time, playback.placement(keys[i].time)));
  }
}

TEST(RobotMotion, FeetNeverSinkIntoTheFloorTheyStandOn) {
  ASSERT_TRUE(Loaded().Ready());
  for (const Playback& playback : Playbacks()) {
    ForEachKey(playback, [&](float time, const Joints& j) {
      for (float side : {1.0f, -1.0f}) {
        ASSERT_GT(SoleOf(j, side), playback.floor - 3.0f) << playback.name << " at " << time << ", side " << side;
      }
    });
  }
}

TEST(RobotMotion, FeetOnTheFloorStayWhereTheyAre) {
  // Between two keys in which a foot's toes rest on the floor, the toes must not move:
  // the foot is planted while the robot travels over it.
  for (const Playback& playback : Playbacks()) {
    for (float side : {1.0f, -1.0f}) {
      bool wasDown = false;
      V3 last;
      int plantedKeys = 0;
      ForEachKey(playback, [&](float time, const Joints& j) {
        const V3 toes = ToesOf(j, side);
        const bool down = toes.y < playback.floor + 0.5f;
        if (down && wasDown) {
          ++plantedKeys;
          EXPECT_LT(Length(toes - last), 1.5f) << playback.name << " at " << time << ", side " << side;
        }
        wasDown = down;
        last = toes;
      });
      EXPECT_GT(plantedKeys, 3) << playback.name << ", side " << side;
    }
  }
}

TEST(RobotMotion, EachRunStanceIsFlatOnTheFloorAtTheMetricsTimes) {
  // The paths are timed by these fractions; mid-stance each foot is down, mid-flight
  // neither is.
  const Playback run = Playbacks()[1];
  const auto soleAt = [&](float fraction, float side) {
    const float t = fraction * kRunPeriod;
    return SoleOf(Loaded().Posed(Robot::kRun, t, run.placement(t)), side);
  };
  EXPECT_NEAR(soleAt(0.5f * (kLeftTouchdown + kLeftToeOff), 1.0f), 0.0f, 0.5f);
  EXPECT_NEAR(soleAt(0.5f * (kRightTouchdown + kRightToeOff), -1.0f), 0.0f, 0.5f);
  for (float flight : {0.5f * (kLeftToeOff + kRightTouchdown), 0.5f * (kRightToeOff - 1.0f + kLeftTouchdown) + 1.0f}) {
    const float t = std::fmod(flight, 1.0f);
    EXPECT_GT(soleAt(t, 1.0f), 5.0f) << t;
    EXPECT_GT(soleAt(t, -1.0f), 5.0f) << t;
  }
}

// Largest distance between the same joint of two frames, over the given joints.
float Gap(const Robot::Frame& a, const Robot::Frame& b, int first = 0, int last = kJointCount - 1) {
  float gap = 0.0f;
  for (int j = first; j <= last; ++j) gap = std::max(gap, sm::Length(Minus(a.joints[j], b.joints[j])));
  return gap;
}

Robot::Frame FrameAt(int animation, float time) {
  Robot::Character& robot = Loaded().Robot();
  robot.animationIndex = animation;
  robot.Pose(time);
  return *robot.CurrentFrame();
}

TEST(RobotMotion, MotionsJoinWhereTheScenesHandOverFromOneToTheNext) {
  // At the run's start: the releasing animation at 10.1 becomes the run at fmod(20, 1.4); the legs
  // reach further down there, onto the rig's platform.
  const Robot::Frame released = FrameAt(Robot::kReleasing, 10.1f);
  Robot::Frame running = FrameAt(Robot::kRun, std::fmod(20.0f, kRunPeriod));
  EXPECT_LT(Gap(released, running, 0, 11), 0.5f);
  for (int j : {kLeftAnkle, kLeftToes, kRightAnkle, kRightToes}) {
    running.joints[j].y -= kStandingHipHeight - kRunHipHeight;
    EXPECT_LT(Gap(released, running, j, j), 0.5f) << "joint " << j;
  }
  // At the charge: the break starts from the standing pose the robot waited in.
  EXPECT_LT(Gap(FrameAt(Robot::kBreakingWall, 0.0f), FrameAt(Robot::kRun, 0.0f)), 1e-3f);
  // When the run goes on: the break's last frame becomes the run at fmod(2 * kRunAgain, 1.4). The
  // run shows its key before that time, less than a frame's motion earlier; the break
  // ends on the run's pose at the time itself.
  const Robot::Frame runAtSwitch = ToFrame(Solve(RunPose(0.3616f)));
  EXPECT_LT(Gap(FrameAt(Robot::kBreakingWall, kBreakLength), runAtSwitch), 1.5f);
}

TEST(RobotMotion, TheRunCycleHasNoJumpAnywhereInItsLoop) {
  // Key 0 is the standing pose; the cycle proper runs from key 1 and wraps onto it.
  const auto& keys = Track(Robot::kRun).Keys();
  for (std::size_t i = 1; i + 1 < keys.size(); ++i) {
    const Robot::Frame& next = i + 2 < keys.size() ? *keys[i + 1].value : *keys[1].value;
    EXPECT_LT(Gap(*keys[i].value, next), 75.0f) << "after " << keys[i].time;
  }
}

TEST(RobotMotion, TheRightShoulderLeadsIntoTheGlassAtImpact) {
  const Robot::Frame impact = FrameAt(Robot::kBreakingWall, kBreakImpact);
  for (int j = 0; j < 12; ++j) {
    if (j == kRightShoulder) continue;
    EXPECT_LT(impact.joints[j].z, impact.joints[kRightShoulder].z) << "joint " << j;
  }
  EXPECT_LT(impact.joints[kRightShoulder].z, kImpactFrontReach);
  EXPECT_GT(impact.joints[kRightShoulder].z, kImpactFrontReach - 80.0f);
}

TEST(RobotDance, SnapsIntoANewPoseOnEveryAccentOfTheMusic) {
  for (float accent : DanceAccents()) {
    const float gap = Gap(FrameAt(Robot::kDance, accent - 0.15f), FrameAt(Robot::kDance, accent + 0.001f), 4, 11);
    EXPECT_GT(gap, 25.0f) << "accent at dance time " << accent;
  }
}

TEST(RobotDance, EndsInABowThatHoldsForGood) {
  const Robot::Frame end = FrameAt(Robot::kDance, kDanceLength);
  EXPECT_LT(Gap(FrameAt(Robot::kDance, kDanceLength - 4.0f), end), 1e-3f);
  EXPECT_LT(Gap(FrameAt(Robot::kDance, 1000.0f), end), 1e-3f);
  // Bent forward at the waist, head down.
  EXPECT_GT(end.joints[kNeck].z, 80.0f);
  EXPECT_GT(end.joints[kHeadTop].z - end.joints[kNeck].z, 40.0f);
}

TEST(RobotPlacement, StandsUprightAndFacesTheDoorsAndTheCamerasWhereTheHallPlacesIt) {
  // From the release on at A, and through the whole dance at B: the head above
  // the hips within 30 degrees, the chest facing -z (toward the hall's exit and the
  // dance cameras) within 35.
  for (const Playback& playback : Playbacks()) {
    if (playback.animation != Robot::kReleasing && playback.animation != Robot::kDance) continue;
    ForEachKey(playback, [&](float time, const Joints& j) {
      const V3 up = Normalize(j[kHeadTop] - j[kHips]);
      EXPECT_GT(up.y, std::cos(30.0f * 3.14159265f / 180.0f)) << playback.name << " at " << time;
      const V3 right = j[kRightShoulder] - j[kLeftShoulder];
      const V3 facing = Normalize(Cross(V3(0, 1, 0), V3(right.x, 0, right.z)));
      EXPECT_LT(facing.z, -std::cos(35.0f * 3.14159265f / 180.0f)) << playback.name << " at " << time;
    });
  }
}

}  // namespace

namespace {

TEST(RobotDance, GroovesOnTheSoundtracksBeat) {
  // Between the accents the head dips forward on every beat of the music's grid.
  const std::vector<float> accents = DanceAccents();
  int grooved = 0;
  for (float beat : DanceBeats()) {
    if (beat < 1.0f || beat > 15.0f) continue;
    const bool nearAccent = std::any_of(accents.begin(), accents.end(), [&](float a) { return std::fabs(a - beat) < 0.2f; });
    if (nearAccent) continue;
    const auto headForward = [](const Robot::Frame& f) { return f.joints[kHeadTop].z - f.joints[kNeck].z; };
    const float before = headForward(FrameAt(Robot::kDance, beat - 1.0f / 60.0f));
    const float after = headForward(FrameAt(Robot::kDance, beat + 2.0f / 60.0f));
    EXPECT_GT(after - before, 4.0f) << "beat at dance time " << beat;
    ++grooved;
  }
  EXPECT_GT(grooved, 15);
}

}  // namespace

namespace {

// The weight moves from foot to foot: each heel comes up off the floor with its toes
// down, a few times over, and the body sways over the other foot when it does.
TEST(RobotDance, ShiftsItsWeightFromHeelToHeel) {
  const Playback dance = Playbacks()[3];
  ASSERT_STREQ(dance.name, "dance");
  int heelUps[2] = {0, 0};
  bool wasUp[2] = {false, false};
  int swaysAway = 0;
  ForEachKey(dance, [&](float time, const Joints& j) {
    if (time < 1.0f || time > 15.0f) return;
    for (int side = 0; side < 2; ++side) {
      const float s = side == 0 ? 1.0f : -1.0f;
      const V3 ankle = side == 0 ? j[kLeftAnkle] : j[kRightAnkle];
      const bool toesDown = ToesOf(j, s).y < dance.floor + 0.5f;
      const bool up = toesDown && ankle.y - dance.floor > kAnkleHeight + 15.0f;
      if (up && !wasUp[side]) {
        ++heelUps[side];
        // The neck leans toward the other foot's side of the hips.
        const float neckSide = (j[kNeck].x - j[kHips].x) * (j[kLeftHip].x > j[kRightHip].x ? 1.0f : -1.0f);
        if (neckSide * s < 0.0f) ++swaysAway;
      }
      wasUp[side] = up;
    }
  });
  EXPECT_GE(heelUps[0], 2);
  EXPECT_GE(heelUps[1], 2);
  EXPECT_GE(swaysAway, (heelUps[0] + heelUps[1]) / 2);
}

}  // namespace
