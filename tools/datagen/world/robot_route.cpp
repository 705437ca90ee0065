#include "datagen/world/robot_route.h"

#include <algorithm>
#include <cmath>

#include "datagen/animation/route.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/world/layout.h"
#include "datagen/world/passage_route.h"

namespace datagen {
namespace {

using namespace layout;
namespace metrics = robot::metrics;

// The path's height: the run's hip height above the floor it runs on.
constexpr float kRunY = metrics::kRunHipHeight;
// On the rig's platform, which ends this far in front of the release spot.
constexpr float kPlatformY = kRunY + kRigPlatformTop;
constexpr float kPlatformFront = 300.0f;
constexpr float kSpeed = metrics::kRunSpeed;
// Keys every tenth of a second: dense enough that the spline stays on the route.
constexpr float kKeyStep = 0.1f;

// The route from the rig to the glass: off the rig straight ahead (-z), one wide S past
// the dance stage onto the doors' axis and through the doors, the passage's centre line,
// and on along the glass's axis to the stand point.
const Route& RunRoute() {
  static const Route route = [] {
    std::vector<V3> points = {V3(kReleaseHip.x, kRunY, kReleaseHip.z), V3(kReleaseHip.x, kRunY, 900.0f),
                              V3(kDoorCentreX, kRunY, -100.0f)};
    const Route& passage = PassageCentreline();
    for (float s = 0; s < passage.Length(); s += 100.0f) points.push_back(passage.At(s) + V3(0, kRunY, 0));
    points.push_back(passage.At(passage.Length()) + V3(0, kRunY, 0));
    points.push_back(RobotStandPoint());
    return Route(points, 800.0f);
  }();
  return route;
}

float LoopDistance(float t);

// The laps' corners in the hall beyond, round its four columns.
constexpr float kLapMinX = 15200, kLapMaxX = 19400, kLapMinZ = -19400, kLapMaxZ = -15400;
constexpr float kLoopCornerRadius = 1300.0f;

// From the stand point straight through the pane, two laps round the columns of the
// hall beyond, then along its +z side and out through the exit in its -x wall: the run
// ends heading out, as far into the exit passage as the time until the hall takes over
// carries it.
std::vector<V3> LoopCorners(float exitLeg) {
  const V3 stand = RobotStandPoint();
  std::vector<V3> corners = {stand, V3(kLapMaxX, kRunY, stand.z)};
  for (int lap = 0; lap < 2; ++lap) {
    for (const V3& c : {V3(kLapMaxX, kRunY, kLapMaxZ), V3(kLapMinX, kRunY, kLapMaxZ), V3(kLapMinX, kRunY, kLapMinZ),
                        V3(kLapMaxX, kRunY, kLapMinZ), V3(kLapMaxX, kRunY, stand.z)}) {
      corners.push_back(c);
    }
  }
  corners.push_back(V3(kLapMaxX, kRunY, kBeyondExitZ));
  corners.push_back(V3(kLapMaxX - exitLeg, kRunY, kBeyondExitZ));
  return corners;
}

const Route& LoopRoute() {
  static const Route route = [] {
    // The last straight is as long as it takes for the route to end where the run
    // does; the route's length grows with it, so halving finds it.
    const float needed = LoopDistance(kBackToHall) + 1.0f;
    // It may run as far as the exit passage's end, less the robot's clearance.
    float low = 0.0f, high = kLapMaxX - (kBeyondMinX - kBeyondExitDepth + 500.0f);
    for (int i = 0; i < 40; ++i) {
      const float mid = 0.5f * (low + high);
      (Route(LoopCorners(mid), kLoopCornerRadius).Length() < needed ? low : high) = mid;
    }
    return Route(LoopCorners(high), kLoopCornerRadius);
  }();
  return route;
}

// Distance along the run route: full speed from the start, then an even deceleration
// to a stop at the stand point.
float ApproachDistance(float t) {
  const float speed = RobotApproachSpeed();
  const float braking = kArriveAtWall - kStopDuration;
  if (t <= kRunStart) return 0.0f;
  if (t <= braking) return speed * (t - kRunStart);
  const float tau = std::min(t, kArriveAtWall) - braking;
  return speed * (braking - kRunStart) + speed * tau - 0.5f * speed * tau * tau / kStopDuration;
}

// Distance along the loop route: the breaking-wall animation's own travel while it
// plays, then the run.
float LoopDistance(float t) {
  const float breakTime = std::min(t, kRunAgain) - kChargeStart;
  const float travel = metrics::BreakTravel(std::max(0.0f, breakTime));
  return travel + (t > kRunAgain ? kSpeed * (t - kRunAgain) : 0.0f);
}

V3 Facing(const Route& route, float distance) {
  const V3 d = route.DirectionAt(distance);
  return Normalize(V3(d.x, 0, d.z));
}

// The dance spot, where the hall scene shows the robot for the few frames before the
// dance places it there itself.
V3 DanceSpot() { return V3(kDanceHip.x, kRunY, kDanceHip.z); }

// The turn each scene adds after the path's own rotation: the hall's until kSceneSwitch
// and again from kBackToHall, the wall scene's in between.
Quat SceneTurn(bool wallScene) {
  const Quat r1 = AxisAngle(V3(0, -1, 0), 0.785375f);
  const Quat r2 = AxisAngle(V3(0, 0, 1), 0.3926875f);
  const Quat r3 = AxisAngle(V3(0, 1, 0), 3.1415f);
  return wallScene ? r3 * r2 * r1 : r2 * r1;
}

// Jumps are keyed this close together: a frame almost never falls between them.
constexpr float kJump = 0.0001f;
// The last moment of the run in the hall beyond; the dance spot from kBackToHall on.
constexpr float kLeaveLoop = kBackToHall - kJump;

// Key times: the regular grid, with the times given instead of the grid's near them.
std::vector<float> KeyTimes(std::vector<float> extra) {
  std::vector<float> times;
  const int count = static_cast<int>(std::ceil((kPathEnd + 0.1f - kRunStart) / kKeyStep));
  for (int i = 0; i <= count; ++i) {
    const float t = kRunStart + static_cast<float>(i) * kKeyStep;
    const bool near = std::any_of(extra.begin(), extra.end(), [t](float e) { return std::fabs(t - e) < 0.015f; });
    if (!near) times.push_back(t);
  }
  times.insert(times.end(), extra.begin(), extra.end());
  std::sort(times.begin(), times.end());
  return times;
}

}  // namespace

float RobotApproachSpeed() {
  return RunRoute().Length() / (kArriveAtWall - kRunStart - 0.5f * kStopDuration);
}

V3 RobotStandPoint() { return V3(kGlassPlaneX - metrics::kBreakStandToGlass, kRunY, kGlassCentreZ); }

V3 RobotHipAt(float t) {
  if (t <= kRunStart) return V3(kReleaseHip.x, kPlatformY, kReleaseHip.z);
  if (t >= kBackToHall) return DanceSpot();
  if (t < kChargeStart) {
    const float distance = ApproachDistance(t);
    V3 p = RunRoute().At(distance);
    // Down from the platform's front edge in one stride.
    const float s = std::clamp((distance - kPlatformFront + 80.0f) / 160.0f, 0.0f, 1.0f);
    p.y = kPlatformY + (kRunY - kPlatformY) * s * s * (3.0f - 2.0f * s);
    return p;
  }
  return LoopRoute().At(LoopDistance(t));
}

V3 RobotFacingAt(float t) {
  if (t >= kBackToHall) return V3(0, 0, -1);
  if (t < kChargeStart) return Facing(RunRoute(), ApproachDistance(t));
  return Facing(LoopRoute(), LoopDistance(t));
}

float RobotThroughDoors() {
  float low = kRunStart, high = kArriveAtWall;
  for (int i = 0; i < 40; ++i) {
    const float mid = 0.5f * (low + high);
    (RobotHipAt(mid).z > kDoorWallZ ? low : high) = mid;
  }
  return 0.5f * (low + high);
}

std::vector<PositionKey> RobotPathPositions() {
  // An even grid up to the jump to the dance spot, ending exactly 2 kJump before it,
  // with close keys where the motion stops so the spline halts without overshooting.
  const float last = kBackToHall - 2.0f * kJump;
  const int steps = static_cast<int>(std::lround((last - kRunStart) / kKeyStep));
  const float step = (last - kRunStart) / static_cast<float>(steps);
  std::vector<float> extra = {kArriveAtWall - 0.02f, kArriveAtWall - 0.01f, kArriveAtWall};
  std::vector<PositionKey> keys;
  for (int i = 0; i <= steps; ++i) {
    const float t = i == steps ? last : kRunStart + static_cast<float>(i) * step;
    const bool near = std::any_of(extra.begin(), extra.end(), [t](float e) { return std::fabs(t - e) < 0.015f; });
    if (!near) keys.push_back({t, RobotHipAt(t)});
  }
  for (float t : extra) keys.push_back({t, RobotHipAt(t)});
  std::sort(keys.begin(), keys.end(), [](const PositionKey& a, const PositionKey& b) { return a.time < b.time; });
  // The jump: the spline's tangent at a key comes from its neighbours, so the key just
  // before the jump continues the run by one more step (the last segment then keeps
  // its pace), and the key just after repeats the dance spot (the spline rests there).
  const V3 before = RobotHipAt(last - step), end = RobotHipAt(last);
  keys.push_back({kBackToHall - kJump, end + (end - before)});
  for (float t : {kBackToHall, kBackToHall + kJump, kPathEnd, kPathEnd + 0.1f}) keys.push_back({t, DanceSpot()});
  return keys;
}

std::vector<OrientationKey> RobotPathOrientations() {
  // The node's rotation is the heading with the scene's turn taken out again. The turn
  // changes where the scenes change: the hall's keys up to kSceneSwitch, the wall scene's
  // from just after; the dance spot's heading with the hall's turn from kBackToHall.
  std::vector<OrientationKey> keys;
  for (float t : KeyTimes({kSceneSwitch - kJump, kSceneSwitch, kSceneSwitch + kJump, kSceneSwitch + 2 * kJump,
                           kLeaveLoop - kJump, kLeaveLoop, kBackToHall, kBackToHall + kJump})) {
    const bool wallScene = t > kSceneSwitch && t < kBackToHall;
    const V3 f = RobotFacingAt(std::min(t, t < kBackToHall ? kLeaveLoop : t));
    keys.push_back({t, Heading(f.x, f.z) * Conjugate(SceneTurn(wallScene))});
  }
  return keys;
}

}  // namespace datagen
