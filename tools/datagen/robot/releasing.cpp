// The releasing animation, played from show::kRobotRelease at 2.5x in placement A, where the robot
// hangs in the rig with its feet over the rig's platform: limp, a jolt as it powers up
// with the release hit, the head comes up, the feet take its weight, it looks left and
// right, shakes its arms free, squares up, and leans into the run's first stride.
#include "datagen/robot/key_poses.h"
#include "datagen/robot/motions.h"
#include "datagen/robot/run_cycle.h"

namespace datagen::robot {
namespace {

using namespace metrics;

// The platform under the rig, in pose space.
constexpr float kPlatform = -kStandingHipHeight;
// How much further down the platform lies than the run's floor.
constexpr float kPlatformDrop = kStandingHipHeight - kRunHipHeight;

// The run's pose at its time when the run takes over (fmod((kRunStart - 105) * 2, L_run)),
// with both legs reaching down to the platform.
BodyPose RunStart() {
  BodyPose pose = RunPose(20.0f - 14.0f * kRunPeriod);
  pose.leftFoot.ankle.y -= kPlatformDrop;
  pose.rightFoot.ankle.y -= kPlatformDrop;
  return pose;
}

BodyPose WithArms(BodyPose pose, ArmPose left, ArmPose right) {
  pose.leftArm = left;
  pose.rightArm = right;
  return pose;
}

const KeyPoses& Choreography() {
  static const KeyPoses keys = [] {
    KeyPoses k;
    const BodyPose limp = LimpPose();
    const BodyPose start = RunStart();
    const BodyPose ready = ReadyStance();
    k.Add(0.0f, limp, Ease::kOut);

    // The release hit (show::kReleaseHit): a jolt runs through the body.
    BodyPose jolt = limp;
    jolt.nod = 0.62f;
    jolt.lean = 0.14f;
    jolt.leftArm.elbow = 0.45f;
    jolt.rightArm.elbow = 0.5f;
    jolt.leftArm.spread = 0.2f;
    jolt.rightArm.spread = 0.22f;
    k.Add(0.2f, jolt, Ease::kSmooth);
    k.Add(0.75f, limp, Ease::kSmooth);
    k.Hold(1.5f, Ease::kSmooth);

    // Head up, back straight, the arms stir.
    BodyPose awake = limp;
    awake.nod = 0.02f;
    awake.lean = 0.05f;
    awake.sway = 0.0f;
    awake.turn = 0.0f;
    awake.tilt = 0.0f;
    awake.leftArm = {0.14f, 0.16f, 0.2f, 0.55f};
    awake.rightArm = {0.12f, 0.16f, 0.2f, 0.5f};
    // The feet come up off the platform before they are set down flat.
    awake.leftFoot = FootOnToes(ToesOf(limp.leftFoot) + V3(0.0f, 24.0f, 0.0f), 0.6f, limp.leftFoot.yaw);
    awake.rightFoot = FootOnToes(ToesOf(limp.rightFoot) + V3(0.0f, 24.0f, 0.0f), 0.6f, limp.rightFoot.yaw);
    k.Add(3.0f, awake, Ease::kSmooth);

    // The feet take its weight on the platform.
    BodyPose standing = awake;
    standing.leftFoot = start.leftFoot;
    standing.rightFoot = FlatFoot(-82.0f, kPlatform, 14.0f, -0.12f);
    k.Add(3.7f, standing, Ease::kSmooth);

    // Looks to its left, lifting its left hand to look at it...
    BodyPose lookLeft = standing;
    lookLeft.turn = 0.3f;
    lookLeft.tilt = 0.14f;
    lookLeft.nod = 0.16f;
    lookLeft.leftArm = {0.95f, 0.5f, 0.55f, 1.55f};
    k.Add(4.5f, lookLeft, Ease::kSmooth);
    k.Hold(4.9f, Ease::kSmooth);
    // ...then to its right.
    BodyPose lookRight = standing;
    lookRight.turn = -0.3f;
    lookRight.tilt = -0.1f;
    lookRight.nod = 0.04f;
    k.Add(5.7f, lookRight, Ease::kSmooth);

    // Shakes both arms free, out to the sides.
    BodyPose shake = standing;
    shake.leftArm = {0.3f, 0.75f, 0.1f, 1.2f};
    shake.rightArm = {0.3f, 0.75f, 0.1f, 1.2f};
    shake.lean = 0.02f;
    shake.nod = -0.08f;
    k.Add(6.3f, shake, Ease::kOut);
    k.Add(6.55f, WithArms(shake, {0.2f, 0.55f, 0.2f, 0.7f}, {0.2f, 0.55f, 0.2f, 0.7f}), Ease::kSmooth);

    // Fists up, looking ahead down the hall.
    BodyPose squared = WithArms(standing, ready.leftArm, ready.rightArm);
    squared.lean = ready.lean;
    squared.nod = ready.nod;
    k.Add(7.3f, squared, Ease::kSmooth);

    // Leans into the start, the right foot comes off the platform, and it holds the run's
    // pose until the run takes over.
    BodyPose lean = start;
    lean.rightFoot = standing.rightFoot;
    k.Add(8.5f, lean, Ease::kSmooth);
    lean.rightFoot = FootOnToes(ToesOf(standing.rightFoot), 0.95f, standing.rightFoot.yaw);
    k.Add(8.85f, lean, Ease::kSmooth);
    k.Add(9.6f, start, Ease::kSmooth);
    k.Hold(kReleasingLength);
    return k;
  }();
  return keys;
}

}  // namespace

BodyPose LimpPose() {
  BodyPose pose;
  pose.lean = 0.22f;
  pose.sway = 0.05f;
  pose.turn = 0.03f;
  pose.nod = 0.8f;
  pose.tilt = 0.15f;
  pose.leftArm = {0.07f, 0.1f, 0.0f, 0.12f};
  pose.rightArm = {0.1f, 0.09f, 0.0f, 0.1f};
  pose.leftFoot = FootOnToes(V3(64.0f, kPlatform, 40.0f), 0.85f, 0.12f);
  pose.rightFoot = FootOnToes(V3(-60.0f, kPlatform, 26.0f), 0.8f, -0.1f);
  pose.leftFoot.kneeOut = 0.18f;
  pose.rightFoot.kneeOut = 0.2f;
  return pose;
}

BodyPose ReleasingPose(float time) { return Choreography().At(time); }

}  // namespace datagen::robot
