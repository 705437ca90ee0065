// The shot list against the story: the two beats the show is about (the release and the
// impact on the glass) each play out inside one shot, the long stand at the glass is
// covered by several set-ups, and no camera on the running robot sits behind it for long.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/show_times.h"
#include "datagen/direction/shot_list.h"
#include "datagen/world/robot_route.h"

namespace {

using datagen::CameraShot;
using datagen::V3;

const CameraShot& ShotAt(float t) {
  const auto& shots = datagen::CameraShots();
  for (const CameraShot& shot : shots) {
    if (t >= shot.start && t < shot.end) return shot;
  }
  return shots.back();
}

// The span [from, to] is shown by one shot, with no cut inside it.
void ExpectInOneShot(double from, double to, const char* beat) {
  const CameraShot& shot = ShotAt(show::AsFloat(from));
  EXPECT_LE(shot.start, from) << beat;
  EXPECT_GE(shot.end, to) << beat << ": cut away at " << shot.end << " (" << shot.what << ")";
}

TEST(ShotListStory, TheReleaseAndTheImpactAreEachSeenWholeInOneShot) {
  // From a second of the limp robot before the jolt to its step off the platform.
  ExpectInOneShot(show::kReleaseHit - 1.0, show::kRunStart + 0.5, "the release");
  // From the drive-off of the charge through the hit to the burst of shards.
  ExpectInOneShot(show::kWallImpact - 0.7, show::kWallImpact + 1.0, "the impact");
}

TEST(ShotListStory, TheStandAtTheGlassChangesSetUpEveryFewSeconds) {
  int setUps = 0;
  for (const CameraShot& shot : datagen::CameraShots()) {
    if (shot.start < show::kRobotStands - 0.01 || shot.start >= show::kWallCharge) continue;
    ++setUps;
    EXPECT_LE(shot.end - shot.start, 4.5f) << "a still robot held for long: " << shot.what;
  }
  EXPECT_GE(setUps, 7) << "set-ups while the robot stands at the glass";
}

// Whether the camera sees the running robot from behind: the eye behind its back, near
// enough that the back fills much of the picture.
bool BehindTheRobot(const CameraShot& shot, float t) {
  const V3 eye = shot.view(t).eye, hip = datagen::RobotHipAt(t);
  const V3 away = eye - hip;
  const float behind = -datagen::Dot(V3(away.x, 0, away.z), datagen::RobotFacingAt(t));
  return behind > 0.7f * datagen::Length(V3(away.x, 0, away.z)) && datagen::Length(away) < 1800.0f;
}

TEST(ShotListStory, NoLongStretchOfTheRunningRobotsBack) {
  const float runs[][2] = {{show::AsFloat(show::kRunStart), show::AsFloat(show::kRobotStands)},
                           {show::AsFloat(show::kRunAgain), show::AsFloat(show::kBackToHall)}};
  for (const auto& run : runs) {
    float since = -1.0f;
    for (float t = run[0]; t < run[1]; t += 0.05f) {
      const CameraShot& shot = ShotAt(t);
      if (!BehindTheRobot(shot, t)) {
        since = -1.0f;
        continue;
      }
      if (since < 0.0f) since = t;
      ASSERT_LT(t - since, 4.0f) << "from " << since << " s the camera looks at the robot's back: " << shot.what;
    }
  }
}

}  // namespace
