#pragma once
// The viewpoints the world is judged from: where the camera stands, what it looks at
// and the timeline time it shows. Everything else in the picture (what is switched on,
// how the doors, arms and robot stand, the shadow light, the monitors, greetings and
// credits) is the demo's own at that time.
#include <string>
#include <vector>

#include "datagen/geometry/vec.h"

namespace preview {

struct Viewpoint {
  std::string name;
  datagen::V3 eye, target;
  float fieldOfView = 0.9f;  // radians
  float time = 50.0f;        // seconds of the timeline
};

const std::vector<Viewpoint>& Viewpoints();

}  // namespace preview
