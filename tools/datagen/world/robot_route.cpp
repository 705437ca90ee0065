#include "datagen/world/robot_route.h"

#include <algorithm>
#include <cmath>

#include "datagen/animation/route.h"
#include "datagen/world/layout.h"
#include "datagen/world/passage_route.h"

namespace datagen {
namespace {

using namespace layout;

constexpr float kY = kStandingHipHeight;
constexpr float kKeyStep = 0.1f;
// The robot's front (its shoulder) is this far ahead of its hip centre.
constexpr float kFrontReach = 100.0f;

// From the rig to the doors, along the passage's centre line and on to the glass.
const Route& RunRoute() {
  static const Route route = [] {
    std::vector<V3> points = {V3(kReleaseHip.x, kY, kReleaseHip.z), V3(kDoorCentreX, kY, 100.0f)};
    const Route& passage = PassageCentreline();
    for (float s = 0; s < passage.Length(); s += 200.0f) points.push_back(passage.At(s) + V3(0, kY, 0));
    points.push_back(passage.At(passage.Length()) + V3(0, kY, 0));
    points.push_back(V3(kWallStopHip.x, kY, kWallStopHip.z));
    return Route(points, 700.0f);
  }();
  return route;
}

// From the glass through the pane and round the hall beyond.
const Route& LoopRoute() {
  static const Route route = [] {
    const float x0 = 15200, x1 = 19400, z0 = -19400, z1 = -15400;
    std::vector<V3> corners = {V3(kWallStopHip.x, kY, kWallStopHip.z), V3(x1, kY, kGlassCentreZ)};
    for (int lap = 0; lap < 3; ++lap) {
      for (const V3& c : {V3(x1, kY, z1), V3(x0, kY, z1), V3(x0, kY, z0), V3(x1, kY, z0), V3(x1, kY, kGlassCentreZ)}) {
        corners.push_back(c);
      }
    }
    return Route(corners, 1300.0f);
  }();
  return route;
}

const std::vector<Leg>& RunLegs() {
  static const std::vector<Leg> legs = [] {
    // Accelerate for a second, run at an even speed, ease to a stop over two.
    const float length = RunRoute().Length();
    const float t0 = kRunStart + 0.3f, t3 = kArriveAtWall;
    const float speed = length / ((t3 - t0) - 3.0f + 0.5f * 1.0f + 0.5f * 2.0f);
    const float d1 = 0.5f * speed * 1.0f, d2 = length - 0.5f * speed * 2.0f;
    return std::vector<Leg>{{t0, t0 + 1.0f, 0, d1, Ease::kIn},
                            {t0 + 1.0f, t3 - 2.0f, d1, d2, Ease::kLinear},
                            {t3 - 2.0f, t3, d2, length, Ease::kOut}};
  }();
  return legs;
}

const std::vector<Leg>& LoopLegs() {
  static const std::vector<Leg> legs = [] {
    const float glass = kGlassPlaneX - kFrontReach - kWallStopHip.x;  // to the front at the pane
    const float speed = 1400.0f;
    const float crouch = 100.0f;
    const float out = glass + 0.5f * speed * (kRunAgain - kImpact);
    return std::vector<Leg>{{kChargeStart, kChargeStart + 1.2f, 0, crouch, Ease::kIn},
                            {kChargeStart + 1.2f, kImpact, crouch, glass, Ease::kIn},
                            {kImpact, kRunAgain, glass, out, Ease::kLinear},
                            {kRunAgain, kPathEnd, out, out + speed * (kPathEnd - kRunAgain), Ease::kLinear}};
  }();
  return legs;
}

V3 Facing(const Route& route, float distance) {
  const V3 d = route.DirectionAt(distance);
  return Normalize(V3(d.x, 0, d.z));
}

// The turn each scene adds after the path's own rotation.
Quat SceneTurn(float t) {
  const Quat r1 = AxisAngle(V3(0, -1, 0), 0.785375f);
  const Quat r2 = AxisAngle(V3(0, 0, 1), 0.3926875f);
  const Quat r3 = AxisAngle(V3(0, 1, 0), 3.1415f);
  const bool wallScene = t > 120.0005f && t < kBackToHall - 0.0005f;
  return wallScene ? r3 * r2 * r1 : r2 * r1;
}

}  // namespace

V3 RobotHipAt(float t) {
  if (t <= kRunStart) return kReleaseHip;
  if (t < kChargeStart) {
    V3 p = RunRoute().At(DistanceAt(RunLegs(), t));
    // Off the rig's platform in the first 0.3 s.
    p.y = kY + (kReleaseHip.y - kY) * (1.0f - Eased(Ease::kInOut, (t - kRunStart) / 0.3f));
    return p;
  }
  return LoopRoute().At(DistanceAt(LoopLegs(), t));
}

V3 RobotFacingAt(float t) {
  if (t < kChargeStart) return Facing(RunRoute(), std::max(1.0f, DistanceAt(RunLegs(), t)));
  return Facing(LoopRoute(), DistanceAt(LoopLegs(), t));
}

std::vector<PositionKey> RobotPathPositions() {
  std::vector<PositionKey> keys;
  const int count = static_cast<int>(std::ceil((kPathEnd + 0.1f - kRunStart) / kKeyStep));
  for (int i = 0; i <= count; ++i) {
    const float t = kRunStart + static_cast<float>(i) * kKeyStep;
    keys.push_back({t, RobotHipAt(t)});
  }
  return keys;
}

std::vector<OrientationKey> RobotPathOrientations() {
  // The node's rotation is the heading with the scene's turn taken out again. The turn
  // changes at the scene switches: two keys either side of each, 1 ms apart, make a
  // jump the scene cut hides.
  std::vector<float> times;
  const int count = static_cast<int>(std::ceil((kPathEnd + 0.1f - kRunStart) / kKeyStep));
  for (int i = 0; i <= count; ++i) {
    const float t = kRunStart + static_cast<float>(i) * kKeyStep;
    if (std::fabs(t - 120.0f) < 0.01f || std::fabs(t - kBackToHall) < 0.01f) continue;
    times.push_back(t);
  }
  for (float t : {119.999f, 120.0f, 120.001f, 120.002f, kBackToHall - 0.002f, kBackToHall - 0.001f, kBackToHall,
                  kBackToHall + 0.001f}) {
    times.push_back(t);
  }
  std::sort(times.begin(), times.end());
  std::vector<OrientationKey> keys;
  for (float t : times) {
    const V3 f = RobotFacingAt(t);
    keys.push_back({t, Heading(f.x, f.z) * Conjugate(SceneTurn(t))});
  }
  return keys;
}

}  // namespace datagen
