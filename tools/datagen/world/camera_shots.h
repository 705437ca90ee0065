#pragma once
// The shot list: for each camera, when it is cut away from, where its eye is at the
// start and end of the shot, what it looks at and its vertical field of view.
#include <vector>

#include "datagen/geometry/vec.h"

namespace datagen {

struct CameraShot {
  float end;  // seconds; the shot runs from the previous shot's end
  V3 eyeFrom, targetFrom;
  V3 eyeTo, targetTo;
  float fieldOfView = 0.9f;  // radians
};

const std::vector<CameraShot>& CameraShots();

}  // namespace datagen
