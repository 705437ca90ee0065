#include "datagen/direction/arm_motion.h"

#include <algorithm>
#include <cmath>

#include "datagen/direction/cuts.h"
#include "datagen/geometry/frame.h"
#include "datagen/texture/noise.h"
#include "datagen/timeline_events.h"
#include "datagen/world/layout.h"

namespace datagen {
namespace {

// A seam on the lying robot, relative to its hip centre, for arm 1 (the robot's right,
// world +x; +z is the robot's back): the torch runs from `from` to `to` aimed along
// `dir`. Arm 2 mirrors them in x. All lie on the near side of the robot and low enough
// for the arm to reach with its wrist behind the torch.
struct Seam {
  V3 from, to, dir;
};
const Seam kSeams[] = {
    {V3(128, 290, -40), V3(128, 290, 55), V3(-0.85f, -0.5f, 0.05f)},  // shoulder cap, front to back
    {V3(160, 220, 20), V3(158, 120, 30), V3(-1.0f, 0.1f, 0.0f)},      // upper arm, downward
    {V3(108, 30, -45), V3(108, 30, 70), V3(-1.0f, -0.15f, 0.0f)},     // hip, along the side
    {V3(82, -40, 25), V3(80, -165, 20), V3(-1.0f, 0.0f, -0.1f)},      // thigh, downward
    {V3(70, 110, 95), V3(70, 230, 95), V3(-0.45f, 0.0f, -0.9f)},      // back, upward
};
constexpr int kSeamCount = static_cast<int>(sizeof kSeams / sizeof kSeams[0]);

constexpr float kTorchLength = 100.0f;
constexpr float kStandOff = 4.0f;  // the tip's gap to the work
constexpr float kLift = 140.0f;    // how far the torch backs off between seams
// A pass: at least this long, and this much time between two passes of one arm (lift,
// move to the next seam, hover, touch down).
constexpr float kShortestPass = 1.5f;
constexpr float kLongestPass = 4.0f;
constexpr float kMoveBetweenSeams = 1.6f;
// The touch-down comes this long after the window opens (the arm arrives in view).
constexpr float kSettle = 0.4f;

float Side(int arm) { return arm == 1 ? 1.0f : -1.0f; }

V3 OnRobot(V3 offset, int arm) {
  const V3& a = layout::kReleaseHip;
  return V3(a.x + Side(arm) * offset.x, a.y + offset.y, a.z + offset.z);
}

V3 Direction(V3 dir, int arm) { return Normalize(V3(Side(arm) * dir.x, dir.y, dir.z)); }

// The torch aimed along dir (its +y) with its tip standOff short of the point.
ArmPoseKey Aim(float time, V3 point, V3 dir) {
  const Frame frame = Frame::AlongY(point, dir, V3(0, 0, 1));
  return {time, point - frame.y * (kTorchLength + kStandOff), FromBasis(frame.x, frame.y, frame.z)};
}

// The rest pose: the wrist raised over the pedestal, pulled toward the robot's front,
// the torch pointing down and a little out.
ArmPoseKey Rest(float time, int arm) {
  const V3 base = ArmBase(arm);
  return Aim(time, base + V3(-Side(arm) * 230.0f, 450.0f, -200.0f), Normalize(V3(Side(arm) * 0.25f, -1.0f, -0.1f)));
}

// The accents a pass may start on: the flashes and the music's downbeats and half bars.
std::vector<float> Accents(float from, float to) {
  std::vector<float> accents;
  for (double t : timeline::FlashTimes()) {
    if (t >= from && t < to) accents.push_back(static_cast<float>(t));
  }
  for (const timeline::Beat& beat : timeline::Beats(from, to)) {
    if (beat.beat % 2 == 0) accents.push_back(static_cast<float>(beat.time));
  }
  std::sort(accents.begin(), accents.end());
  return accents;
}

// The first beat at or after t (t itself when none follows).
float BeatAfter(float t) {
  const std::vector<timeline::Beat> beats = timeline::Beats(t, t + 2.0f);
  return beats.empty() ? t : static_cast<float>(beats.front().time);
}

std::vector<WeldPass> PlanPasses() {
  std::vector<WeldPass> passes;
  float free[3] = {0, 0, 0};  // per arm: when it may touch down again
  int count = 0;
  for (const cuts::WeldWindow& window : cuts::WeldWindows()) {
    int arm = window.arms == 3 ? 1 + count % 2 : window.arms;
    float earliest = window.start + kSettle;
    for (;;) {
      const std::vector<float> accents = Accents(std::max(earliest, free[arm]), window.end);
      if (accents.empty()) break;
      const float start = accents.front();
      // One to two bars of welding, ending on a beat.
      const float wanted = kShortestPass + (kLongestPass - kShortestPass) * Hash01(count, arm, 41);
      const float end = std::min(BeatAfter(start + wanted), window.end - 0.3f);
      if (end - start < kShortestPass) break;
      passes.push_back({arm, start, end});
      ++count;
      free[arm] = end + kMoveBetweenSeams;
      // With both arms in the window the other one goes next, right after this one.
      if (window.arms == 3) {
        arm = 3 - arm;
        earliest = end + 0.25f;
      } else {
        earliest = end;
      }
    }
  }
  return passes;
}

// A pose the arm passes through, and how it moves on to the next one.
enum class Move { kEased, kEven };
struct Anchor {
  ArmPoseKey pose;
  Move next;
};

// The turn a fraction u of the way from a to b.
Quat Between(const Quat& a, const Quat& b, float u) {
  V3 axis;
  float angle = 0;
  ToAxisAngle(b * Conjugate(a), axis, angle);
  return Normalize(AxisAngle(axis, angle * u) * a);
}

std::vector<ArmPoseKey> FillIn(const std::vector<Anchor>& anchors) {
  constexpr float kStep = 0.25f;
  std::vector<ArmPoseKey> keys;
  for (std::size_t i = 0; i + 1 < anchors.size(); ++i) {
    const ArmPoseKey& a = anchors[i].pose;
    const ArmPoseKey& b = anchors[i + 1].pose;
    const int steps = std::max(1, static_cast<int>(std::lround((b.time - a.time) / kStep)));
    for (int k = 0; k < steps; ++k) {
      const float u = static_cast<float>(k) / static_cast<float>(steps);
      const float w = anchors[i].next == Move::kEased ? u * u * (3.0f - 2.0f * u) : u;
      keys.push_back({a.time + u * (b.time - a.time), Lerp(a.wrist, b.wrist, w), Between(a.orientation, b.orientation, w)});
    }
  }
  keys.push_back(anchors.back().pose);
  return keys;
}

}  // namespace

V3 ArmBase(int arm) { return arm == 1 ? layout::kArm1Base : layout::kArm2Base; }

const std::vector<WeldPass>& WeldPasses() {
  static const std::vector<WeldPass> passes = PlanPasses();
  return passes;
}

std::vector<ArmPoseKey> ArmTorchKeys(int arm) {
  // The poses the arm stops in, then every move between two of them filled in with
  // keys every quarter second: the spline through evenly spaced keys follows the move
  // without swinging past it.
  std::vector<Anchor> anchors = {{Rest(0.0f, arm), Move::kEased}};
  int seam = arm == 1 ? 0 : 2;
  for (const WeldPass& pass : WeldPasses()) {
    if (pass.arm != arm) continue;
    const Seam& s = kSeams[seam];
    seam = (seam + 2) % kSeamCount;
    const V3 from = OnRobot(s.from, arm), to = OnRobot(s.to, arm);
    const V3 dir = Direction(s.dir, arm);
    // Hover off the seam's start, touch down, weld along it at an even pace, lift off.
    const float previous = anchors.back().pose.time;
    anchors.push_back({Aim(std::max(previous + 0.5f, pass.start - 0.6f), from - dir * kLift, dir), Move::kEased});
    anchors.push_back({Aim(pass.start, from, dir), Move::kEven});
    anchors.push_back({Aim(pass.end, to, dir), Move::kEased});
    anchors.push_back({Aim(pass.end + 0.5f, to - dir * kLift, dir), Move::kEased});
  }
  // Back to rest, held to the end.
  anchors.push_back({Rest(std::max(anchors.back().pose.time + 1.5f, kArmsAtRest), arm), Move::kEased});
  anchors.push_back({Rest(anchors.back().pose.time + 0.5f, arm), Move::kEased});
  return FillIn(anchors);
}

V3 ArmTipAt(int arm, float t) {
  static const std::vector<ArmPoseKey> keys[2] = {ArmTorchKeys(1), ArmTorchKeys(2)};
  const std::vector<ArmPoseKey>& k = keys[arm == 1 ? 0 : 1];
  const auto tip = [](const ArmPoseKey& key) { return key.wrist + Rotate(key.orientation, V3(0, kTorchLength, 0)); };
  if (t <= k.front().time) return tip(k.front());
  for (std::size_t i = 1; i < k.size(); ++i) {
    if (t <= k[i].time) {
      const float u = (t - k[i - 1].time) / (k[i].time - k[i - 1].time);
      return Lerp(tip(k[i - 1]), tip(k[i]), u);
    }
  }
  return tip(k.back());
}

}  // namespace datagen
