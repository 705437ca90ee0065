#include "datagen/direction/arm_motion.h"

#include <algorithm>
#include <cmath>

#include "datagen/direction/cuts.h"
#include "datagen/geometry/frame.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/texture/noise.h"
#include "datagen/timeline_events.h"
#include "datagen/world/layout.h"

namespace datagen {
namespace {

// A seam on the lying robot: a line across its side, relative to its hip centre (x
// outward toward the arm, y up, z toward the robot's back), that the torch follows from
// `from` to `to`, aimed straight in from the side; each point is moved in onto the
// robot's surface. The robot hangs a little twisted, so each side has its own: smooth
// stretches of the hanging upper arm and forearm, the flank, the hip, the knee and the
// shin, all low enough for the arm to reach with its wrist behind the torch.
struct Seam {
  V3 from, to;
};
const Seam kRightSide[] = {
    {V3(0, 300, -62), V3(0, 150, -62)},   // upper arm, downward
    {V3(0, 105, -62), V3(0, -15, -62)},   // forearm
    {V3(0, 280, 0), V3(0, 160, 0)},       // flank
    {V3(0, 30, 25), V3(0, -20, 25)},      // hip
    {V3(0, -160, -100), V3(0, -160, -50)},  // knee, across
    {V3(0, -220, 0), V3(0, -270, 0)},     // shin
};
const Seam kLeftSide[] = {
    {V3(0, 305, -25), V3(0, 155, -25)},
    {V3(0, 130, -25), V3(0, 5, -25)},
    {V3(0, 280, 50), V3(0, 155, 50)},
    {V3(0, 30, 25), V3(0, -45, 25)},
    {V3(0, -145, -75), V3(0, -195, -75)},
    {V3(0, -195, -25), V3(0, -270, -25)},
};
constexpr int kSeamCount = static_cast<int>(sizeof kRightSide / sizeof kRightSide[0]);
static_assert(sizeof kLeftSide == sizeof kRightSide, "as many seams on either side");

const Seam& SeamOf(int arm, int index) { return arm == 1 ? kRightSide[index] : kLeftSide[index]; }

// Points along a seam, each found on the surface.
constexpr int kSeamPoints = 8;

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

// The lying robot's surface, three corners per triangle.
const std::vector<V3>& LyingRobot() {
  static const std::vector<V3> corners = [] {
    std::vector<V3> out;
    for (const model_file::SubMeshData& sub : robot::LyingRobotGeometry().Build()) {
      for (std::size_t v = 0; v + 2 < sub.vertices.size(); v += model_file::kFloatsPerVertex) {
        out.push_back(V3(sub.vertices[v], sub.vertices[v + 1], sub.vertices[v + 2]));
      }
    }
    return out;
  }();
  return corners;
}

// Where a ray from well outside the robot through point, along dir, first meets its
// surface; the point itself if it misses.
V3 OnSurface(V3 point, V3 dir) {
  const V3 origin = point - dir * 500.0f;
  const std::vector<V3>& t = LyingRobot();
  float nearest = -1.0f;
  for (std::size_t i = 0; i + 2 < t.size(); i += 3) {
    // Moller-Trumbore.
    const V3 e1 = t[i + 1] - t[i], e2 = t[i + 2] - t[i];
    const V3 p = Cross(dir, e2);
    const float det = Dot(e1, p);
    if (std::fabs(det) < 1e-6f) continue;
    const V3 s = origin - t[i];
    const float u = Dot(s, p) / det;
    if (u < 0.0f || u > 1.0f) continue;
    const V3 q = Cross(s, e1);
    const float v = Dot(dir, q) / det;
    if (v < 0.0f || u + v > 1.0f) continue;
    const float distance = Dot(e2, q) / det;
    if (distance > 0.0f && (nearest < 0.0f || distance < nearest)) nearest = distance;
  }
  return nearest < 0.0f ? point : origin + dir * nearest;
}

V3 OnRobot(V3 offset, int arm) {
  const V3& a = layout::kReleaseHip;
  return V3(a.x + Side(arm) * offset.x, a.y + offset.y, a.z + offset.z);
}

// Straight in from the arm's side.
V3 Inward(int arm) { return V3(-Side(arm), 0, 0); }

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

// The beat between from and to nearest to wanted; negative when there is none.
float BeatNear(float from, float to, float wanted) {
  float best = -1.0f;
  for (const timeline::Beat& beat : timeline::Beats(from, to)) {
    const float t = static_cast<float>(beat.time);
    if (best < 0.0f || std::fabs(t - wanted) < std::fabs(best - wanted)) best = t;
  }
  return best;
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
      // One to two bars of welding (1.5 to 4 s), ending on a beat.
      const float wanted = kShortestPass + (kLongestPass - kShortestPass) * Hash01(count, arm, 41);
      const float end = BeatNear(start + kShortestPass, std::min(start + kLongestPass, window.end - 0.3f), start + wanted);
      if (end < 0.0f) break;
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
  int seam = arm == 1 ? 0 : 3;
  for (const WeldPass& pass : WeldPasses()) {
    if (pass.arm != arm) continue;
    const Seam& s = SeamOf(arm, seam);
    seam = (seam + 1) % kSeamCount;
    const V3 dir = Inward(arm);
    // Hover off the seam's start, touch down, weld along it at an even pace, lift off.
    const float previous = anchors.back().pose.time;
    V3 point = OnSurface(OnRobot(s.from, arm), dir);
    anchors.push_back({Aim(std::max(previous + 0.5f, pass.start - 0.6f), point - dir * kLift, dir), Move::kEased});
    for (int k = 0; k < kSeamPoints; ++k) {
      const float u = static_cast<float>(k) / static_cast<float>(kSeamPoints - 1);
      point = OnSurface(Lerp(OnRobot(s.from, arm), OnRobot(s.to, arm), u), dir);
      anchors.push_back({Aim(pass.start + u * (pass.end - pass.start), point, dir),
                         k + 1 < kSeamPoints ? Move::kEven : Move::kEased});
    }
    anchors.push_back({Aim(pass.end + 0.5f, point - dir * kLift, dir), Move::kEased});
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
