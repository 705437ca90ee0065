#include "datagen/world/camera_shots.h"

#include "datagen/world/layout.h"

namespace datagen {
namespace {

// A shot whose eye moves from one place to another looking at one target.
CameraShot Glide(float end, V3 eyeFrom, V3 eyeTo, V3 target, float fov = 0.9f) {
  return {end, eyeFrom, target, eyeTo, target, fov};
}

}  // namespace

const std::vector<CameraShot>& CameraShots() {
  using namespace layout;
  static const std::vector<CameraShot> shots = {
      // The hall: the rig, the arms welding, the monitors.
      Glide(10.0f, V3(1700, 1500, -600), V3(1300, 1350, -300), V3(0, 400, 1700), 1.0f),
      Glide(20.0f, V3(-2900, 1250, 1500), V3(-2800, 1200, 1900), V3(0, 450, 1700), 0.8f),
      Glide(29.5854f, V3(-380, 720, 560), V3(-250, 650, 700), V3(0, 450, 1700), 0.9f),
      Glide(42.4831f, V3(1600, 800, 900), V3(1400, 760, 1050), V3(350, 450, 1750), 0.8f),
      Glide(53.8541f, V3(-1500, 700, 2700), V3(-1350, 680, 2600), V3(-350, 450, 1750), 0.8f),
      Glide(66.8294f, V3(-2600, 2000, 4200), V3(-2200, 1900, 4300), V3(0, 300, 1600), 1.0f),
      Glide(84.7946f, V3(-1200, 1000, 1500), V3(-1300, 1000, 1900), V3(kMonitorWallX, 1150, 1700), 0.9f),
      Glide(95.0f, V3(700, 160, 700), V3(600, 170, 800), V3(0, 500, 1700), 0.9f),
      Glide(110.96f, V3(-2900, 1100, 900), V3(-2900, 1100, 1100), V3(900, 300, 1700), 0.9f),
      // The release and the run to the doors.
      Glide(115.0f, V3(-520, 650, 900), V3(-480, 600, 1000), V3(-7, 500, 1694), 0.8f),
      Glide(120.0f, V3(-300, 900, 1900), V3(-200, 900, 1800), V3(kDoorCentreX, 500, kDoorWallZ), 1.0f),
      // The passage, the glass wall, the break.
      Glide(128.0f, V3(1100, 800, -16400), V3(1100, 800, -16500), V3(1100, 400, -8000), 0.8f),
      Glide(136.4f, V3(12700, 900, -17000), V3(12700, 900, -17050), V3(5000, 400, -17400), 0.8f),
      Glide(164.4808f, V3(11300, 700, -17950), V3(11450, 700, -17850), V3(kGlassPlaneX, 560, kGlassCentreZ), 0.9f),
      Glide(172.0f, V3(16200, 700, -16100), V3(16000, 700, -16200), V3(kGlassPlaneX, 500, kGlassCentreZ), 1.0f),
      Glide(190.0f, V3(14500, 1700, -13950), V3(15500, 1700, -13950), V3(18000, 300, -17400), 1.0f),
      Glide(200.598f, V3(21600, 1200, -20600), V3(21600, 1200, -20000), V3(17500, 300, -17000), 1.0f),
      // The dance, the credits and the end.
      Glide(240.0f, V3(-320, 640, -760), V3(-120, 660, -820), V3(0, 720, 500), 0.9f),
  };
  return shots;
}

}  // namespace datagen
