#include "datagen/robot/robot_motion.h"

#include <cmath>
#include <algorithm>
#include <functional>

#include "datagen/robot/robot_body.h"

namespace datagen::robot {
namespace {

constexpr float kTwoPi = 6.2831853f;

std::vector<TimedPose> Sample(float length, float keysPerSecond, const std::function<PoseAngles(float)>& at) {
  std::vector<TimedPose> keys;
  const int count = static_cast<int>(std::lround(length * keysPerSecond));
  for (int i = 0; i <= count; ++i) {
    const float t = static_cast<float>(i) / keysPerSecond;
    keys.push_back({t, MakePose(at(t))});
  }
  return keys;
}

PoseAngles RunAngles(float t) {
  // Phase 0 is the neutral stance (legs together, arms at rest), which doubles as the
  // standing pose; the legs and the opposite arms swing through it.
  const float s = std::sin(kTwoPi * t / kRunPeriod);
  const float lift = std::fabs(std::sin(kTwoPi * t / kRunPeriod));
  PoseAngles a = StandingAngles();
  a.lean = 0.12f * lift;
  a.leftLegSwing = 0.55f * s;
  a.rightLegSwing = -0.55f * s;
  a.leftKnee = 0.6f * std::max(0.0f, -s);
  a.rightKnee = 0.6f * std::max(0.0f, s);
  a.leftArmSwing = -0.5f * s;
  a.rightArmSwing = 0.5f * s;
  a.leftElbow = 0.25f + 0.8f * lift;
  a.rightElbow = 0.25f + 0.8f * lift;
  return a;
}

PoseAngles Limp() {
  PoseAngles a;
  a.nod = 0.55f;
  a.lean = 0.08f;
  a.leftArmSwing = 0.1f;
  a.rightArmSwing = 0.1f;
  a.leftElbow = 0.1f;
  a.rightElbow = 0.1f;
  a.leftArmSpread = 0.12f;
  a.rightArmSpread = 0.12f;
  return a;
}

}  // namespace

Pose RestFrame() { return MakePose(StandingAngles()); }

std::vector<TimedPose> RunAnimation() {
  // The last key repeats the first at the period: it is never shown, it sets the loop.
  return Sample(kRunPeriod, 30.0f, [](float t) { return RunAngles(std::fmod(t, kRunPeriod)); });
}

std::vector<TimedPose> ReleasingAnimation() {
  // Limp in the rig, lifts its head, looks left and right, then leans into the first
  // stride (the run's phase at 115 s).
  const float runPhase = std::fmod(20.0f, kRunPeriod);
  return Sample(10.6f, 24.0f, [&](float t) {
    PoseAngles limp = Limp();
    if (t < 2.0f) return limp;
    PoseAngles awake = StandingAngles();
    awake.turn = 0.5f * std::sin((t - 4.0f) * 1.4f) * (t > 4.0f && t < 8.5f ? 1.0f : 0.0f);
    if (t < 4.0f) return Blend(limp, awake, (t - 2.0f) / 2.0f);
    if (t < 9.0f) return awake;
    return Blend(awake, RunAngles(runPhase), std::min(1.0f, (t - 9.0f) / 1.1f));
  });
}

std::vector<TimedPose> BreakingWallAnimation() {
  const float endPhase = std::fmod(2.0f * 167.4808f, kRunPeriod);
  return Sample(3.0f, 60.0f, [&](float t) {
    PoseAngles crouch = StandingAngles();
    crouch.lean = 0.45f;
    crouch.leftKnee = crouch.rightKnee = 0.7f;
    crouch.leftLegSwing = crouch.rightLegSwing = 0.35f;
    crouch.leftArmSwing = crouch.rightArmSwing = -0.4f;
    crouch.leftElbow = crouch.rightElbow = 1.2f;
    PoseAngles charge = crouch;
    charge.lean = 0.3f;
    charge.rightArmSwing = 0.9f;
    charge.rightElbow = 1.4f;
    charge.leftLegSwing = 0.6f;
    charge.rightLegSwing = -0.3f;
    if (t < 1.2f) return Blend(StandingAngles(), crouch, t / 1.2f);
    if (t < 1.9f) return Blend(crouch, charge, (t - 1.2f) / 0.7f);
    return Blend(charge, RunAngles(endPhase), (t - 1.9f) / 1.1f);
  });
}

std::vector<TimedPose> DanceAnimation() {
  // Arm waves and a side-to-side sway on a 0.82 s beat, ending in a held bow.
  const float beat = 0.816f;
  return Sample(24.0f, 60.0f, [&](float t) {
    PoseAngles a = StandingAngles();
    const float phase = kTwoPi * t / (2.0f * beat);
    a.sway = 0.12f * std::sin(phase);
    a.turn = 0.2f * std::sin(phase * 0.5f);
    a.leftArmSwing = 0.9f + 0.6f * std::sin(phase);
    a.rightArmSwing = 0.9f - 0.6f * std::sin(phase);
    a.leftArmSpread = 0.5f + 0.3f * std::cos(phase);
    a.rightArmSpread = 0.5f - 0.3f * std::cos(phase);
    a.leftElbow = 0.9f;
    a.rightElbow = 0.9f;
    a.leftKnee = 0.15f * (1.0f + std::sin(phase * 2.0f));
    a.rightKnee = 0.15f * (1.0f - std::sin(phase * 2.0f));
    PoseAngles bow = StandingAngles();
    bow.lean = 0.6f;
    bow.nod = 0.3f;
    bow.rightArmSwing = 0.5f;
    bow.rightElbow = 1.5f;
    bow.leftArmSwing = -0.3f;
    if (t > 21.0f) return Blend(a, bow, std::min(1.0f, (t - 21.0f) / 1.5f));
    return a;
  });
}

}  // namespace datagen::robot
