#include "preview/viewpoints.h"

#include "datagen/world/layout.h"

namespace preview {

const std::vector<Viewpoint>& Viewpoints() {
  using datagen::V3;
  using namespace datagen::layout;
  static const std::vector<Viewpoint> viewpoints = {
      {"hall_from_monitors", V3(-2900, 1150, 1000), V3(800, 350, 1900), 1.0f, 40.0f},
      {"rig", V3(-420, 700, 620), V3(0, 480, 1700), 0.9f, 40.0f},
      {"arm_pedestal", V3(1700, 650, 900), V3(700, 300, 1800), 0.9f, 40.0f},
      {"monitors", V3(-1300, 1000, 1700), V3(kMonitorWallX, 1100, 1700), 1.0f, 40.0f},
      {"hall_overview", V3(2400, 2200, 4300), V3(-200, 300, 900), 1.1f, 40.0f},
      {"doors", V3(200, 800, 1900), V3(kDoorCentreX, 600, kDoorWallZ), 0.9f, 116.0f},
      {"passage", V3(1100, 700, -3000), V3(1100, 500, -9000), 0.9f, 125.0f, Light::kFollow},
      {"junction", V3(1800, 800, -16500), V3(4000, 400, -17400), 1.0f, 130.0f, Light::kFollow},
      {"glass_wall", V3(11400, 700, -17900), V3(kGlassPlaneX, 560, kGlassCentreZ), 0.9f, 145.0f, Light::kWall, 12},
      {"glass_wall_close", V3(12900, 600, -17300), V3(kGlassPlaneX, 560, kGlassCentreZ), 1.0f, 150.0f, Light::kWall, 33},
      {"beyond", V3(14300, 900, -14300), V3(18000, 300, -17400), 1.1f, 185.0f, Light::kFollow},
      {"beyond_back", V3(21500, 1200, -20500), V3(14500, 400, -17400), 1.0f, 190.0f, Light::kFollow},
      {"dance", V3(-320, 640, -760), V3(0, 720, 500), 0.9f, 206.0f, Light::kDance, -1, 0},
  };
  return viewpoints;
}

}  // namespace preview
