// The breaking-wall animation, played from show::kWallCharge at 1x while the path carries the
// robot by metrics::BreakTravel: from the ready stance it draws its right foot back and
// leans into a crouch, drives off at 1.2 s, turns its right shoulder into the glass at
// 1.9 s and runs on, its last frame the run's pose at 0.3616 (the run's time at
// show::kRunAgain).
#include <algorithm>
#include <cmath>

#include "datagen/robot/key_poses.h"
#include "datagen/robot/motions.h"
#include "datagen/robot/run_cycle.h"

namespace datagen::robot {
namespace {

using namespace metrics;

// The run's time at the animation's end, and the run time at any time of the break.
constexpr float kRunTimeAtEnd = 0.3616f;
float RunTimeAt(float t) { return kRunTimeAtEnd + kRunPlaybackRate * (t - kBreakLength); }

// From here the feet follow the run's own contacts; the upper body has blended into the
// run's by kRunBlendEnd.
constexpr float kRunContactsFrom = 1.8f;
constexpr float kRunBlendStart = 2.05f;
constexpr float kRunBlendEnd = 2.5f;

Travel BreakTravelOnFloor() {
  Travel travel;
  travel.distance = [](float t) { return BreakTravel(t); };
  travel.floor = [](float) { return -kRunHipHeight; };
  return travel;
}

// The run's contacts of one foot from kRunContactsFrom on, moved into the break's time
// and travel: once the path runs at kRunSpeed the two differ by a constant.
std::vector<Contact> RunContactsInBreak(float side) {
  const float runFrom = RunTimeAt(kRunContactsFrom);
  const float runTo = RunTimeAt(kBreakLength + 0.5f);
  const float travelOffset = BreakTravel(kBreakLength) - kRunTravelPerSecond * RunTimeAt(kBreakLength);
  std::vector<Contact> contacts = RunContacts(side, runFrom, runTo);
  for (Contact& c : contacts) {
    c.touchdown = kBreakLength + (c.touchdown - kRunTimeAtEnd) / kRunPlaybackRate;
    c.heelOff = kBreakLength + (c.heelOff - kRunTimeAtEnd) / kRunPlaybackRate;
    c.toeOff = kBreakLength + (c.toeOff - kRunTimeAtEnd) / kRunPlaybackRate;
    c.toesZ += travelOffset;
  }
  return contacts;
}

// A contact whose foot lands at touchdown, its ankle `ahead` of the hip centre.
Contact Stride(float side, float touchdown, float heelOff, float toeOff, float ahead) {
  Contact c;
  c.touchdown = touchdown;
  c.heelOff = heelOff;
  c.toeOff = toeOff;
  c.x = side * 48.0f;
  c.yaw = side * 0.08f;
  c.restPitch = FlatFootPitch();
  c.toesZ = BreakTravel(touchdown) + ahead + kFoot * std::cos(FlatFootPitch());
  return c;
}

// The ready stance's foot as a contact that has been down since before the animation.
Contact Standing(const FootPlacement& foot, float heelOff, float toeOff) {
  const V3 toes = ToesOf(foot);
  Contact c;
  c.touchdown = -1.0f;
  c.heelOff = heelOff;
  c.toeOff = toeOff;
  c.x = toes.x;
  c.yaw = foot.yaw;
  c.restPitch = foot.pitch;
  c.toesZ = toes.z;
  c.kneeOut = foot.kneeOut;
  return c;
}

struct Feet {
  std::vector<Contact> left, right;
};

const Feet& Steps() {
  static const Feet feet = [] {
    const BodyPose ready = ReadyStance();
    Feet f;
    // Left: the front foot of the stance, down until the body has passed over it.
    f.left.push_back(Standing(ready.leftFoot, 1.42f, 1.58f));
    f.left.push_back(Stride(1.0f, 1.74f, 1.79f, 1.88f, 110.0f));
    // Right: steps back onto its ball for the crouch, drives off, one long stride.
    f.right.push_back(Standing(ready.rightFoot, 0.35f, 0.42f));
    Contact back;
    back.touchdown = 0.62f;
    back.heelOff = 1.12f;
    back.toeOff = 1.27f;
    back.x = -70.0f;
    back.yaw = -0.12f;
    back.restPitch = 0.62f;
    back.toesZ = -82.0f;
    back.landingLift = 40.0f;
    f.right.push_back(back);
    f.right.push_back(Stride(-1.0f, 1.5f, 1.55f, 1.64f, 70.0f));
    for (const Contact& c : RunContactsInBreak(1.0f)) f.left.push_back(c);
    for (const Contact& c : RunContactsInBreak(-1.0f)) f.right.push_back(c);
    return f;
  }();
  return feet;
}

// The upper body: still, then the crouch, the drive and the shoulder into the glass.
const KeyPoses& UpperBody() {
  static const KeyPoses keys = [] {
    const BodyPose ready = ReadyStance();
    KeyPoses k;
    k.Add(0.0f, ready);
    k.Hold(0.3f);
    BodyPose crouch = ready;
    crouch.lean = 0.5f;
    crouch.turn = 0.12f;
    crouch.nod = -0.42f;
    crouch.leftArm = {0.75f, 0.25f, 0.6f, 1.7f};
    crouch.rightArm = {-0.45f, 0.3f, 0.3f, 1.25f};
    k.Add(1.05f, crouch, Ease::kSmooth);
    k.Hold(1.2f, Ease::kIn);
    BodyPose drive = crouch;
    drive.lean = 0.42f;
    drive.turn = 0.2f;
    drive.nod = -0.3f;
    drive.leftArm = {-0.35f, 0.25f, 0.4f, 1.3f};
    drive.rightArm = {0.55f, 0.3f, 0.6f, 1.8f};
    k.Add(1.5f, drive, Ease::kSmooth);
    // The right shoulder leads into the glass, the right forearm across the chest.
    BodyPose impact = drive;
    impact.lean = 0.32f;
    impact.turn = 0.5f;
    impact.sway = -0.08f;
    impact.nod = -0.22f;
    impact.tilt = 0.34f;
    impact.rightArm = {0.18f, 0.22f, 1.4f, 2.2f};
    impact.leftArm = {-0.55f, 0.35f, 0.3f, 1.35f};
    k.Add(kBreakImpact, impact, Ease::kOut);
    BodyPose through = impact;
    through.turn = 0.25f;
    through.lean = 0.25f;
    through.nod = -0.05f;
    k.Add(kRunBlendStart, through, Ease::kSmooth);
    return k;
  }();
  return keys;
}

}  // namespace

BodyPose BreakingWallPose(float time) {
  BodyPose pose = UpperBody().At(time);
  if (time > kRunBlendStart) {
    const float blend = Smooth((time - kRunBlendStart) / (kRunBlendEnd - kRunBlendStart));
    pose = Mix(pose, RunUpperBody(RunTimeAt(time)), blend);
  }
  const Travel travel = BreakTravelOnFloor();
  const SwingStyle style = RunSwing();
  pose.leftFoot = GaitFoot(Steps().left, travel, style, time);
  pose.rightFoot = GaitFoot(Steps().right, travel, style, time);
  return pose;
}

}  // namespace datagen::robot
