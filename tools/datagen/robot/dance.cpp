// The dance at placement B, from show::kDanceStart at 1x. Its hip centre is fixed in the hall, so
// it dances the way a machine would: it snaps into a new pose on every accent of the
// music (the accents the demo flashes on), grooves on the beat in between (a bounce, a
// weight shift from heel to heel and a twist taking turns phrase by phrase), steps its
// feet out and in, and ends in a bow that holds.
#include <algorithm>
#include <cmath>

#include "datagen/robot/dance_beats.h"
#include "datagen/robot/key_poses.h"
#include "datagen/robot/motions.h"
#include "datagen/robot/robot_metrics.h"

namespace datagen::robot {
namespace {

using namespace metrics;

constexpr float kFloor = -kStandingHipHeight;

// The groove's strength over the dance: in after the first beats, out before the bow.
constexpr float kGrooveIn = 0.2f, kGrooveFull = 0.6f, kGrooveFade = 15.4f, kGrooveOut = 16.6f;
// The bow.
constexpr float kBowStart = 16.9f, kBowDown = 18.5f;

BodyPose Attention() {
  BodyPose pose;
  pose.lean = 0.03f;
  pose.nod = -0.04f;
  pose.leftArm = {0.08f, 0.17f, 0.3f, 0.45f};
  pose.rightArm = {0.08f, 0.17f, 0.3f, 0.45f};
  pose.leftFoot = FlatFoot(74.0f, kFloor, 10.0f, 0.14f);
  pose.rightFoot = FlatFoot(-72.0f, kFloor, 6.0f, -0.14f);
  return pose;
}

// Arm shapes (swing, spread, twist, elbow).
constexpr ArmPose kArmDown{0.1f, 0.18f, 0.3f, 0.5f};
constexpr ArmPose kArmOutForearmUp{0.05f, 1.45f, -1.57f, 1.3f};
constexpr ArmPose kArmWide{0.35f, 1.25f, 0.0f, 0.2f};
constexpr ArmPose kArmPunch{1.5f, 0.1f, 0.0f, 0.06f};
constexpr ArmPose kArmChamber{-0.25f, 0.25f, 0.6f, 1.95f};
constexpr ArmPose kArmRaised{2.65f, 0.45f, 0.0f, 0.15f};
constexpr ArmPose kArmPointUp{2.3f, 0.32f, 0.0f, 0.1f};
constexpr ArmPose kArmOnHip{-0.25f, 0.6f, 1.2f, 1.8f};
constexpr ArmPose kArmAcross{0.65f, 0.05f, 1.3f, 1.85f};
constexpr ArmPose kArmPump{0.45f, 0.22f, 0.5f, 1.7f};
constexpr ArmPose kArmForwardDown{0.75f, 0.2f, 0.3f, 0.6f};

BodyPose Arms(BodyPose pose, ArmPose left, ArmPose right) {
  pose.leftArm = left;
  pose.rightArm = right;
  return pose;
}

BodyPose Turned(BodyPose pose, float turn, float tilt = 0.0f) {
  pose.turn = turn;
  pose.tilt = tilt;
  return pose;
}

// A foot lifted off its planted place (knee up), toes pointing down a little.
FootPlacement Lifted(const FootPlacement& foot, float up, float forward) {
  FootPlacement lifted = foot;
  lifted.ankle = foot.ankle + V3(0.0f, up, forward);
  lifted.pitch = 0.55f;
  return lifted;
}

// Step-touch: the foot of one side lifts half a beat before beat and lands at its
// target on beat.
void Step(KeyPoses& k, float liftTime, float beat, BodyPose pose, bool left, const FootPlacement& target) {
  // The other foot stays planted where it is.
  pose.leftFoot = k.Last().leftFoot;
  pose.rightFoot = k.Last().rightFoot;
  FootPlacement& foot = left ? pose.leftFoot : pose.rightFoot;
  const FootPlacement from = foot;
  foot = Lifted(from, 70.0f, 10.0f);
  foot.ankle.x = 0.5f * (from.ankle.x + target.ankle.x);
  k.Add(liftTime, pose, Ease::kSmooth);
  foot = target;
  k.Add(beat, pose, Ease::kSmooth);
}

const KeyPoses& Choreography() {
  static const KeyPoses keys = [] {
    const std::vector<float> a = DanceAccents();  // 15 accents, ascending
    const std::vector<float> beats = DanceBeats();
    const auto beatAfter = [&](float t) {
      return *std::upper_bound(beats.begin(), beats.end(), t + 1e-3f);
    };
    const BodyPose stand = Attention();
    const FootPlacement leftHome = stand.leftFoot, rightHome = stand.rightFoot;
    const FootPlacement rightOut = FlatFoot(-112.0f, kFloor, 0.0f, -0.3f);
    const FootPlacement leftOut = FlatFoot(118.0f, kFloor, 4.0f, 0.3f);

    KeyPoses k;
    k.Add(0.0f, stand, Ease::kHit);
    // Two pops: right forearm up, then the left.
    BodyPose pop1 = Arms(stand, kArmDown, kArmOutForearmUp);
    k.Add(a[0], pop1, Ease::kHit);
    BodyPose pop2 = Arms(stand, kArmOutForearmUp, kArmOutForearmUp);
    pop2.nod = 0.08f;
    k.Add(a[1], pop2, Ease::kHit);
    // The first credit: arms flung wide.
    BodyPose wide = Arms(stand, kArmWide, kArmWide);
    wide.lean = -0.06f;
    wide.nod = -0.18f;
    k.Add(a[2], wide, Ease::kSmooth);
    // Step out to the right and back, arms pumping.
    BodyPose pump = Arms(stand, kArmPump, kArmPump);
    const float b1 = beatAfter(a[2] + 0.35f);
    k.Add(b1 - 0.2f, pump, Ease::kSmooth);
    Step(k, b1 + 0.2f, beatAfter(b1 + 0.2f), Turned(pump, 0.12f), false, rightOut);
    // Punch left, punch right.
    BodyPose punchLeft = Arms(stand, kArmPunch, kArmChamber);
    punchLeft.rightFoot = rightOut;
    punchLeft.turn = -0.26f;
    punchLeft.lean = 0.08f;
    k.Add(a[3], punchLeft, Ease::kHit);
    BodyPose punchRight = Arms(punchLeft, kArmChamber, kArmPunch);
    punchRight.turn = 0.26f;
    k.Add(a[4], punchRight, Ease::kHit);
    // Turns to its left and points up with the right arm, left hand on the hip.
    BodyPose point = Arms(Turned(stand, 0.3f, 0.1f), kArmOnHip, kArmPointUp);
    point.rightFoot = rightOut;
    point.nod = -0.25f;
    k.Add(a[5], point, Ease::kHit);
    // Back home: the right foot steps in.
    Step(k, a[5] + 0.45f, beatAfter(a[5] + 0.5f), Arms(stand, kArmPump, kArmPump), false, rightHome);
    // The second credit: both arms raised in a V.
    BodyPose raised = Arms(stand, kArmRaised, kArmRaised);
    raised.nod = -0.3f;
    raised.lean = -0.05f;
    k.Add(a[6], raised, Ease::kHit);
    BodyPose crossed = Arms(stand, kArmAcross, kArmAcross);
    crossed.nod = 0.2f;
    crossed.lean = 0.1f;
    k.Add(a[7], crossed, Ease::kHit);
    // Step out to the left and back.
    Step(k, a[7] + 0.3f, beatAfter(a[7] + 0.35f), Arms(stand, kArmPump, kArmPump), true, leftOut);
    // Left knee up, arms pumping.
    BodyPose knee = Arms(stand, kArmForwardDown, kArmOutForearmUp);
    knee.rightFoot = rightHome;
    knee.leftFoot = Lifted(leftOut, 160.0f, 70.0f);
    knee.lean = 0.1f;
    k.Add(a[8], knee, Ease::kHit);
    BodyPose down = Arms(stand, kArmPump, kArmForwardDown);
    down.leftFoot = leftHome;
    const float b2 = beatAfter(a[8] + 0.2f);
    k.Add(b2, down, Ease::kHit);
    BodyPose kneeRight = Arms(stand, kArmOutForearmUp, kArmForwardDown);
    kneeRight.rightFoot = Lifted(rightHome, 160.0f, 70.0f);
    kneeRight.lean = 0.1f;
    const float b3 = beatAfter(b2 + 0.1f);
    k.Add(b3, kneeRight, Ease::kHit);
    k.Add(beatAfter(b3 + 0.1f), down, Ease::kHit);
    // Head snaps: left, right.
    BodyPose lookLeft = Turned(Arms(stand, kArmOutForearmUp, kArmDown), 0.32f, 0.16f);
    k.Add(a[9], lookLeft, Ease::kHit);
    BodyPose lookRight = Turned(Arms(stand, kArmDown, kArmOutForearmUp), -0.32f, -0.16f);
    k.Add(a[10], lookRight, Ease::kHit);
    // The third credit: points up with the left arm this time.
    BodyPose pointLeft = Arms(Turned(stand, -0.25f, -0.08f), kArmPointUp, kArmOnHip);
    pointLeft.nod = -0.25f;
    k.Add(a[11], pointLeft, Ease::kHit);
    // Step-touch left and right with the arms wide.
    const float b4 = beatAfter(a[11] + 0.4f);
    Step(k, b4 - 0.2f, b4, Arms(stand, kArmPump, kArmPump), true, leftOut);
    Step(k, b4 + 0.2f, beatAfter(b4 + 0.1f), Arms(Turned(stand, 0.1f), kArmPump, kArmPump), true, leftHome);
    // A double hit: arms out with forearms up, then wide.
    BodyPose frame = Arms(stand, kArmOutForearmUp, kArmOutForearmUp);
    frame.nod = 0.12f;
    k.Add(a[12], frame, Ease::kHit);
    BodyPose flung = Arms(stand, kArmWide, kArmWide);
    flung.nod = -0.12f;
    k.Add(a[13], flung, Ease::kHit);
    // The last accent: both arms up.
    BodyPose finale = Arms(stand, kArmRaised, kArmRaised);
    finale.nod = -0.35f;
    finale.lean = -0.08f;
    k.Add(a[14], finale, Ease::kSmooth);
    k.Hold(a[14] + 0.8f, Ease::kSmooth);
    k.Add(kBowStart, Arms(stand, kArmDown, kArmDown), Ease::kSmooth);
    // The bow: right arm across the waist, left arm out behind, right foot drawn back.
    BodyPose bow = stand;
    bow.lean = 0.4f;
    bow.nod = 0.3f;
    bow.rightArm = {0.55f, 0.08f, 1.35f, 1.6f};
    bow.leftArm = {-0.3f, 0.55f, 0.0f, 0.3f};
    // The right heel lifts: the foot rolls onto its toes where it stands.
    bow.rightFoot = FootOnToes(ToesOf(stand.rightFoot), 0.62f, stand.rightFoot.yaw);
    k.Add(kBowDown, bow, Ease::kSmooth);
    k.Hold(kDanceLength);
    return k;
  }();
  return keys;
}

// Whether the choreography has the foot flat on the floor at time.
bool Planted(const FootPlacement& foot) {
  return ToesOf(foot).y < kFloor + 0.5f && std::fabs(foot.pitch - FlatFootPitch()) < 0.01f;
}

// How far the foot is from its nearest step: 0 while it moves or within a frame of
// moving, 1 from kPlantedFor before and after. A heel lifted by the groove comes down
// smoothly before the foot steps and rises only once it has landed.
float PlantedWeight(float time, bool left) {
  constexpr float kPlantedFor = 0.3f, kStep = 1.0f / 60.0f;
  const auto planted = [&](float t) {
    const BodyPose pose = Choreography().At(t);
    return Planted(left ? pose.leftFoot : pose.rightFoot);
  };
  float nearest = kPlantedFor;
  for (float d = 0.0f; d < kPlantedFor; d += kStep) {
    if (!planted(time - d) || !planted(time + d)) {
      nearest = d;
      break;
    }
  }
  return Smooth(nearest / kPlantedFor);
}

// The heel rolls up by amount (0 ... 1) with the toes where they are: the knee bends
// and the weight reads as on the other foot.
FootPlacement HeelUp(const FootPlacement& foot, float amount) {
  return FootOnToes(ToesOf(foot), foot.pitch + 0.45f * amount, foot.yaw);
}

// The groove on the beat. On every beat the head dips and the elbows pump: the pulse.
// Over it three moves take turns, each swelling in and out over a phrase of eight beats,
// so the dance does not repeat one move: a bounce (the body drops forward on the beat),
// a weight shift (the body sways over one foot while the other heel comes up, side to
// side beat by beat), and a twist (the shoulders turn against the hips, the arms swing
// across). The shift and the twist leave the hips where they are, as the placement has
// them.
BodyPose Groove(float time, BodyPose pose) {
  const float weight = Smooth((time - kGrooveIn) / (kGrooveFull - kGrooveIn)) *
                       (1.0f - Smooth((time - kGrooveFade) / (kGrooveOut - kGrooveFade)));
  if (weight <= 0.0f) return pose;
  static const std::vector<float> beats = DanceBeats();
  const auto next = std::upper_bound(beats.begin(), beats.end(), time);
  if (next == beats.begin() || next == beats.end()) return pose;
  const float beat = *(next - 1);
  const float phase = (time - beat) / (*next - beat);
  const float hit = std::exp(-5.0f * phase) - std::exp(-5.0f);
  const int index = static_cast<int>(next - beats.begin()) - 1;
  // +1 on even beats, -1 on odd ones, smoothly between.
  const float side = std::cos(3.14159265f * (static_cast<float>(index) + phase));
  constexpr int kPhrase = 8;
  const int move = (index / kPhrase) % 3;
  const float swell = weight * std::sin(3.14159265f * (static_cast<float>(index % kPhrase) + phase) / kPhrase);

  pose.nod += weight * 0.09f * hit;
  pose.leftArm.elbow += weight * 0.14f * hit;
  pose.rightArm.elbow += weight * 0.14f * hit;
  switch (move) {
    case 0:  // bounce
      pose.lean += swell * 0.06f * hit;
      pose.nod += swell * 0.05f * hit;
      pose.sway += swell * 0.03f * side;
      break;
    case 1: {  // weight from foot to foot
      pose.sway += swell * 0.09f * side;
      pose.tilt -= swell * 0.07f * side;
      const float leftHeel = swell * std::max(0.0f, -side) * PlantedWeight(time, true);
      const float rightHeel = swell * std::max(0.0f, side) * PlantedWeight(time, false);
      if (leftHeel > 0.0f && Planted(pose.leftFoot)) pose.leftFoot = HeelUp(pose.leftFoot, leftHeel);
      if (rightHeel > 0.0f && Planted(pose.rightFoot)) pose.rightFoot = HeelUp(pose.rightFoot, rightHeel);
      break;
    }
    default:  // twist
      pose.turn += swell * 0.14f * side;
      pose.tilt += swell * 0.05f * side;
      pose.leftArm.swing += swell * 0.25f * side;
      pose.rightArm.swing -= swell * 0.25f * side;
      break;
  }
  return pose;
}

}  // namespace

BodyPose DancePose(float time) { return Groove(time, Choreography().At(time)); }

}  // namespace datagen::robot
