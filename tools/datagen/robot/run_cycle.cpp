#include "datagen/robot/run_cycle.h"

#include <cmath>

namespace datagen::robot {
namespace {

using namespace metrics;

constexpr float kTwoPi = 6.28318531f;
constexpr float kHeelOffFraction = 0.23f;  // after touchdown
constexpr float kTouchdownAnkleAhead = 130.0f;  // ankle ahead of the hip centre as a foot lands
constexpr float kTrack = 72.0f;            // toes' distance from the middle, sideways
constexpr float kToeOut = 0.06f;

// The moment the right arm is furthest forward (as the left foot lands), as a fraction.
constexpr float kRightArmForward = kLeftTouchdown + 0.03f;

float Fraction(float time) {
  const float f = std::fmod(time / kRunPeriod, 1.0f);
  return f < 0.0f ? f + 1.0f : f;
}

}  // namespace

Travel RunTravel() {
  Travel travel;
  travel.distance = [](float t) { return kRunTravelPerSecond * t; };
  travel.floor = [](float) { return -kRunHipHeight; };
  return travel;
}

SwingStyle RunSwing() {
  SwingStyle style;
  style.lift = 150.0f;
  style.liftPeak = 0.38f;
  style.toeOffPitch = 0.95f;
  style.kneeOut = 0.1f;
  return style;
}

std::vector<Contact> RunContacts(float side, float from, float to) {
  const float touchdownFraction = side > 0 ? kLeftTouchdown : kRightTouchdown;
  const float toeOffFraction = side > 0 ? kLeftToeOff : kRightToeOff;
  const float flatToes = kFoot * std::cos(FlatFootPitch());
  std::vector<Contact> contacts;
  const int first = static_cast<int>(std::floor(from / kRunPeriod - touchdownFraction));
  for (int k = first;; ++k) {
    Contact c;
    c.touchdown = (static_cast<float>(k) + touchdownFraction) * kRunPeriod;
    if (c.touchdown >= to) break;
    if (c.touchdown < from) continue;
    c.heelOff = c.touchdown + kHeelOffFraction * kRunPeriod;
    c.toeOff = c.touchdown + (toeOffFraction - touchdownFraction) * kRunPeriod;
    c.yaw = side * kToeOut;
    c.x = side * kTrack;
    c.toesZ = kRunTravelPerSecond * c.touchdown + kTouchdownAnkleAhead + flatToes;
    c.restPitch = FlatFootPitch();
    contacts.push_back(c);
  }
  return contacts;
}

BodyPose RunUpperBody(float time) {
  const float f = Fraction(time);
  const float arm = std::cos(kTwoPi * (f - kRightArmForward));  // +1: right arm forward
  const float bob = std::cos(2.0f * kTwoPi * (f - kLeftTouchdown - 0.08f));
  BodyPose pose;
  pose.lean = 0.17f + 0.025f * bob;
  pose.turn = 0.085f * arm;
  pose.sway = 0.035f * std::sin(kTwoPi * (f - kLeftTouchdown + 0.06f));
  pose.nod = -0.12f - 0.02f * bob;
  pose.tilt = -0.5f * pose.sway;
  for (float side : {1.0f, -1.0f}) {
    ArmPose& a = side > 0 ? pose.leftArm : pose.rightArm;
    const float forward = -side * arm;  // +1 when this arm is forward
    a.swing = 0.12f + 0.62f * forward;
    a.spread = 0.2f;
    a.twist = 0.38f;
    a.elbow = 1.5f + 0.22f * forward;
  }
  return pose;
}

BodyPose RunPose(float time) {
  // The cycle repeats, so posing at its own phase keeps the contacts few; the run's
  // contacts reach back one cycle so a swing always has the stance before it.
  const float local = Fraction(time) * kRunPeriod;
  BodyPose pose = RunUpperBody(local);
  const Travel travel = RunTravel();
  const SwingStyle style = RunSwing();
  pose.leftFoot = GaitFoot(RunContacts(1.0f, -2.0f * kRunPeriod, 2.0f * kRunPeriod), travel, style, local);
  pose.rightFoot = GaitFoot(RunContacts(-1.0f, -2.0f * kRunPeriod, 2.0f * kRunPeriod), travel, style, local);
  return pose;
}

BodyPose ReadyStance() {
  BodyPose pose;
  pose.lean = 0.12f;
  pose.nod = -0.1f;
  pose.leftArm = {0.38f, 0.22f, 0.55f, 1.45f};
  pose.rightArm = {0.22f, 0.2f, 0.5f, 1.35f};
  pose.leftFoot = FlatFoot(92.0f, -kRunHipHeight, 62.0f, 0.18f);
  pose.rightFoot = FlatFoot(-86.0f, -kRunHipHeight, -48.0f, -0.28f);
  pose.leftFoot.kneeOut = 0.25f;
  pose.rightFoot.kneeOut = 0.3f;
  return pose;
}

}  // namespace datagen::robot
