#pragma once
// One pose of the robot: a position per joint. Pose tracks hold pointers to frames
// owned by the robot; the interpolators never own or copy the frames themselves.
#include "anim/math.h"

namespace Robot {

struct Frame {
  sm::Vec3 joints[20];
};

}  // namespace Robot
