#pragma once
// What the welding arms do over the timeline: the torch's wrist position and
// orientation (its +y toward the seam) and when it sparks. Arm 1 stands at +x of the
// rig and welds the lying robot's right side, arm 2 at -x its left side. An arm welds
// only inside the windows of the cut list (cuts.h): it touches down on a seam on one of
// the music's accents, welds along it for one to two bars, lifts off and moves on; with
// both arms in a window they take turns. Before the release both retract to a rest pose
// high over their pedestals and hold it to the end.
#include <cstdint>
#include <vector>

#include "datagen/animation/orientation.h"
#include "datagen/geometry/vec.h"

namespace datagen {

constexpr std::int32_t kArmEndNode = 1;
// Every arm is in its rest pose from here on (well before the robot's release).
constexpr float kArmsAtRest = 106.5f;

struct ArmPoseKey {
  float time;
  V3 wrist;
  Quat orientation;  // turns the torch's +y toward the work
};

// One stretch of welding: the torch touches the seam at start and sparks until end.
struct WeldPass {
  int arm;  // 1 or 2
  float start, end;
};

// arm: 1 or 2.
V3 ArmBase(int arm);
std::vector<ArmPoseKey> ArmTorchKeys(int arm);
// Every pass of both arms, by start time.
const std::vector<WeldPass>& WeldPasses();
// The torch's tip (where the sparks start) at time t, between the keys in a straight
// line: for aiming cameras at the work.
V3 ArmTipAt(int arm, float t);

}  // namespace datagen
