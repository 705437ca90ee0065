#include "datagen/world/arm_motion.h"

#include <algorithm>
#include <cmath>

#include "datagen/geometry/frame.h"
#include "datagen/texture/noise.h"
#include "datagen/world/layout.h"

namespace datagen {
namespace {

// Seams on the robot's side facing arm 1 (+x); arm 2 mirrors them in x.
struct Seam {
  V3 from, to;
};
const Seam kSeams[] = {
    {V3(150, 470, 1650), V3(150, 650, 1650)},  // flank, upward
    {V3(135, 330, 1770), V3(135, 330, 1620)},  // hip, front to back
    {V3(150, 690, 1760), V3(150, 690, 1640)},  // shoulder
    {V3(125, 130, 1720), V3(125, 290, 1720)},  // thigh, upward
    {V3(155, 560, 1780), V3(155, 560, 1610)},  // waist band
};
constexpr int kSeamCount = static_cast<int>(sizeof kSeams / sizeof kSeams[0]);

constexpr float kTorchLength = 100.0f;
constexpr float kStandOff = 4.0f;
constexpr float kLift = 140.0f;

V3 Mirror(V3 p, int arm) { return arm == 1 ? p : V3(-p.x, p.y, p.z); }

// The torch aimed along dir (its +y) with its tip standOff short of the point.
ArmPoseKey Aim(float time, V3 point, V3 dir) {
  const Frame frame = Frame::AlongY(point, dir, V3(0, 0, 1));
  return {time, point - frame.y * (kTorchLength + kStandOff), FromBasis(frame.x, frame.y, frame.z)};
}

V3 WorkDirection(int arm, float tilt) { return Normalize(V3(arm == 1 ? -1.0f : 1.0f, -0.25f - tilt, 0.05f)); }

ArmPoseKey Parked(float time, int arm) {
  return Aim(time, Mirror(V3(470, 520, 1460), arm), Normalize(V3(arm == 1 ? -0.35f : 0.35f, -0.94f, 0.05f)));
}

// The welding passes of an arm: time windows and seams, alternating with the other arm.
struct Pass {
  float start, duration;
  int seam;
};

std::vector<Pass> Passes(int arm) {
  std::vector<Pass> passes;
  // The arms take turns: a pass of one while the other moves to its next seam.
  float t = arm == 1 ? 5.0f : 7.6f;
  for (int i = 0;; ++i) {
    const float duration = 1.5f + 2.5f * Hash01(i, arm, 77);
    if (t + duration > kWeldingEnds - 1.0f) break;
    passes.push_back({t, duration, (i * 2 + arm) % kSeamCount});
    t += duration + 3.4f + 1.5f * Hash01(i, arm + 10, 77);
  }
  return passes;
}

}  // namespace

V3 ArmBase(int arm) { return arm == 1 ? layout::kArm1Base : layout::kArm2Base; }

std::vector<ArmPoseKey> ArmTorchKeys(int arm) {
  std::vector<ArmPoseKey> keys = {Parked(0.0f, arm), Parked(3.0f, arm)};
  for (const Pass& pass : Passes(arm)) {
    const Seam& seam = kSeams[pass.seam];
    const V3 from = Mirror(seam.from, arm), to = Mirror(seam.to, arm);
    const V3 dir = WorkDirection(arm, 0.1f * static_cast<float>(pass.seam % 3));
    // Approach: hover off the seam's start, then touch down.
    ArmPoseKey hover = Aim(pass.start - 0.5f, from - dir * kLift, dir);
    keys.push_back(hover);
    keys.push_back(Aim(pass.start, from, dir));
    // Along the seam, a key every half second.
    const int steps = std::max(2, static_cast<int>(pass.duration / 0.5f));
    for (int k = 1; k <= steps; ++k) {
      const float s = static_cast<float>(k) / static_cast<float>(steps);
      keys.push_back(Aim(pass.start + s * pass.duration, Lerp(from, to, s), dir));
    }
    // Lift off.
    keys.push_back(Aim(pass.start + pass.duration + 0.6f, to - dir * kLift, dir));
  }
  keys.push_back(Parked(kArmParked - 2.0f, arm));
  keys.push_back(Parked(kArmParked, arm));
  keys.push_back(Parked(kArmParked + 0.5f, arm));
  return keys;
}

std::vector<SparkKey> ArmSparks(int arm) {
  std::vector<SparkKey> keys = {{0.0f, false}};
  for (const Pass& pass : Passes(arm)) {
    keys.push_back({pass.start, true});
    keys.push_back({pass.start + pass.duration, false});
  }
  keys.push_back({kWeldingEnds, false});
  return keys;
}

}  // namespace datagen
