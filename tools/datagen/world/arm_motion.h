#pragma once
// What the welding arms do over the timeline: the torch's wrist position and
// orientation (its +y toward the seam) and when it sparks. Arm 1 stands at +x, arm 2
// at -x of the rig; both weld the robot standing in it, then park.
#include <cstdint>
#include <vector>

#include "datagen/animation/orientation.h"
#include "datagen/geometry/vec.h"

namespace datagen {

constexpr std::int32_t kArmEndNode = 1;
// All sparks off from here on; the arms are parked by kArmParked.
constexpr float kWeldingEnds = 108.0f;
constexpr float kArmParked = 112.0f;

struct ArmPoseKey {
  float time;
  V3 wrist;
  Quat orientation;  // turns the torch's +y toward the work
};

struct SparkKey {
  float time;
  bool on;
};

// arm: 1 or 2.
V3 ArmBase(int arm);
std::vector<ArmPoseKey> ArmTorchKeys(int arm);
std::vector<SparkKey> ArmSparks(int arm);

}  // namespace datagen
