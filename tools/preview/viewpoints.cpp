#include "preview/viewpoints.h"

#include "datagen/world/layout.h"
#include "datagen/world/passage_route.h"

namespace preview {

namespace {

// A point on the passage's centre line, distance along it, height above the floor.
datagen::V3 Along(float distance, float height) {
  return datagen::PassageCentreline().At(distance) + datagen::V3(0, height, 0);
}

}  // namespace

const std::vector<Viewpoint>& Viewpoints() {
  using datagen::V3;
  using namespace datagen::layout;
  static const std::vector<Viewpoint> viewpoints = {
      {"hall_from_monitors", V3(-2900, 1150, 1000), V3(800, 350, 1900), 1.0f, 40.0f},
      {"rig", V3(-420, 700, 620), V3(0, 480, 1700), 0.9f, 40.0f},
      {"arm_pedestal", V3(1700, 650, 900), V3(700, 300, 1800), 0.9f, 40.0f},
      {"monitors", V3(-1300, 1000, 1700), V3(kMonitorWallX, 1100, 1700), 1.0f, 40.0f},
      {"hall_overview", V3(2600, 1950, 4200), V3(-200, 300, 900), 1.1f, 40.0f},
      {"doors", V3(2300, 800, 900), V3(kDoorCentreX, 600, kDoorWallZ), 0.9f, 116.4f},
      {"passage", Along(4200, 700), Along(7500, 500), 0.9f, 123.0f},
      {"passage_bend", Along(11800, 800), Along(14200, 400), 1.0f, 128.0f},
      {"glass_wall", V3(11400, 700, -17900), V3(kGlassPlaneX, 560, kGlassCentreZ), 0.9f, 145.0f},
      {"glass_wall_close", V3(12650, 650, -18150), V3(kGlassPlaneX, 560, kGlassCentreZ + 150), 1.0f, 150.0f},
      {"beyond", V3(14300, 900, -14300), V3(18000, 300, -17400), 1.1f, 185.0f},
      {"beyond_back", V3(20200, 1300, -20200), V3(14500, 300, -17000), 1.0f, 190.0f},
      {"dance", V3(-320, 640, -760), V3(0, 780, 500), 0.9f, 206.0f},
  };
  return viewpoints;
}

}  // namespace preview
