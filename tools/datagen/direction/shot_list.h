#pragma once
// The shot list: for each camera, when it is cut away from (cuts.h), where its eye is
// and what it looks at at every moment of the shot, and its vertical field of view,
// which eases from one value to another over the shot (a slow zoom). The cameras file
// samples each shot into keys of its node; docs/direction.md describes the shots.
#include <functional>
#include <vector>

#include "datagen/geometry/vec.h"

namespace datagen {

struct CameraView {
  V3 eye, target;
};

struct CameraShot {
  float start = 0, end = 0;  // seconds; a shot runs from the previous shot's end
  // Where the camera is and what it looks at, at a time within [start, end].
  std::function<CameraView(float)> view;
  float fovFrom = 0.9f, fovTo = 0.9f;  // radians
  const char* what = "";
};

// The field of view at time t of the shot.
float ShotFieldOfView(const CameraShot& shot, float t);

// In the order they are shown; each starts where the one before ends, the first at 0.
const std::vector<CameraShot>& CameraShots();

}  // namespace datagen
