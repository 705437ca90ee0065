#pragma once
// The robot's numbers that the rest of the data set is placed and timed by: how high its
// hip centre rides above the floor, how far one run cycle carries it, how long its
// animations are, and how it travels while it breaks through the glass. The paths use
// them so that the feet do not slide; the robot's own tests hold the animations to them.
//
// Times are animation seconds unless said otherwise; distances are world units.
#include "anim/show_times.h"

namespace datagen::robot::metrics {

// ---- Heights of the hip centre (joint 3) above the floor under the feet --------------

// Standing at ease: the dance spot B on the hall floor, and the rig at A, whose platform
// (15.16 high) brings A's hip height of 380.929 down to this.
constexpr float kStandingHipHeight = 365.769f;
// Everywhere on the path: running, and standing in the ready stance (the run's pose at
// time 0) in front of the glass. The path's y is this above the floor it runs on.
constexpr float kRunHipHeight = 350.0f;

// ---- The run cycle --------------------------------------------------------------------

// L_run: one cycle (a left and a right stride); it divides 210, so the cycle's phase is
// the same either side of the scene switch (show::kSceneSwitch).
constexpr float kRunPeriod = 1.4f;
// The scenes play the run at twice its speed: one cycle takes 0.7 s of the timeline.
constexpr float kRunPlaybackRate = 2.0f;
// Distance the hip centre travels in one cycle; the feet plant exactly when the path
// moves at kRunSpeed in the direction the robot faces.
constexpr float kRunStride = 900.0f;
constexpr float kRunSpeed = kRunStride * kRunPlaybackRate / kRunPeriod;  // 1285.714 units/s

// When each foot is down, as fractions of the cycle (run time / kRunPeriod, wrapped).
// The left foot lands at 0.10 and leaves at 0.48, the right half a cycle later; between
// them both feet are off the floor. The run's phase when the run starts (show::kRunStart:
// fmod(20, 1.4) = 0.4, a fraction of 0.286) and when it goes on beyond the wall
// (show::kRunAgain: 0.3616, 0.258) find the left foot flat under the hip, pushing off.
constexpr float kLeftTouchdown = 0.10f;
constexpr float kLeftToeOff = 0.48f;
constexpr float kRightTouchdown = 0.60f;
constexpr float kRightToeOff = 0.98f;

// ---- The releasing animation (played from show::kRobotRelease at 2.5x, in placement A) --

// L_rel, the time of the last key: longer than the 10.1 s that are shown before the run
// takes over (show::kRunStart), so it never loops.
constexpr float kReleasingLength = 10.5f;
constexpr float kReleasingShownUntil = 10.1f;
// From 9.6 on it holds the run's pose at 0.4 (its time at the run's start) with the legs reaching
// 15.769 further down, onto the rig's platform: the robot stands on its left foot, right
// leg swinging forward. The run then needs the hip at kRunHipHeight above the platform
// (365.769 above the hall floor) until the robot steps off the platform's edge.

// ---- The breaking-wall animation (played from show::kWallCharge at 1x, on the path) -----

// It ends where the run goes on beyond the wall.
constexpr float kBreakLength = show::AsFloat(show::kRunAgain - show::kWallCharge);
// Stands in the ready stance, crouches (the right foot steps back, the body leans into
// the charge) until kBreakChargeStart, then drives forward.
constexpr float kBreakChargeStart = 1.2f;
// The right shoulder hits the glass (1.9 s into the animation) at show::kWallImpact, when
// the shards start.
constexpr float kBreakImpact = show::AsFloat(show::kWallImpact - show::kWallCharge);
// The front of the robot at impact (the outside of its right shoulder), measured along
// the facing from the hip centre.
constexpr float kImpactFrontReach = 195.0f;

// How far the hip centre has travelled along the facing at animation time t of the
// break: still until the charge, accelerating smoothly to kRunSpeed over 0.5 s, then
// running at kRunSpeed (the animation's last frame is the run's pose at 0.3616, the
// run's time at show::kRunAgain).
constexpr float BreakTravel(float t) {
  if (t <= kBreakChargeStart) return 0.0f;
  constexpr float kRamp = 0.5f;
  if (t < kBreakChargeStart + kRamp) {
    const float x = (t - kBreakChargeStart) / kRamp;
    return kRunSpeed * kRamp * (x * x * x - 0.5f * x * x * x * x);
  }
  return kRunSpeed * (0.5f * kRamp + (t - kBreakChargeStart - kRamp));
}
// Where the glass must be, ahead of where the robot stands (hip centre) before the break.
constexpr float kBreakStandToGlass = BreakTravel(kBreakImpact) + kImpactFrontReach;

// ---- The dance (from show::kDanceStart at 1x, in placement B) -------------------------

// Holds its first frame from show::kDanceLight to show::kDanceStart, ends in a bow that
// holds for good.
constexpr float kDanceLength = 24.0f;

}  // namespace datagen::robot::metrics
