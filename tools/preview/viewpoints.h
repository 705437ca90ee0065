#pragma once
// The viewpoints the world is judged from: where the camera stands, what it looks at,
// the timeline time it shows (which decides what is switched on and how the doors,
// arms and robot stand), the shadow light of that time and the overlays in view.
#include <string>
#include <vector>

#include "datagen/geometry/vec.h"

namespace preview {

enum class Light { kDefault, kDance, kWall, kFollow };

struct Viewpoint {
  std::string name;
  datagen::V3 eye, target;
  float fieldOfView = 0.9f;  // radians
  float time = 50.0f;        // seconds of the timeline
  Light light = Light::kDefault;
  int greeting = -1;  // greetz texture shown on the glass; -1 none
  int credit = -1;    // 0 kestrel, 1 marlin, 2 osprey; -1 none
};

const std::vector<Viewpoint>& Viewpoints();

}  // namespace preview
