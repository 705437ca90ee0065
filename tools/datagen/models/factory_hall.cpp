// "factory_hal": the hall where the arms weld the robot: concrete floor with painted
// walkways, clad walls on a steel frame, roof trusses with hanging lamps, the assembly
// rig under the robot, the arms' floor plates, the dance stage, a monitor gallery, a
// catwalk, pipes, stock, the exit doors' frame and the credits banner. Static world
// geometry, split into cells so the renderer can cull what is out of view.
#include <cmath>

#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/texture/noise.h"
#include "datagen/world/layout.h"
#include "datagen/world/props.h"

namespace datagen {
namespace {

using namespace layout;
using namespace paints;

constexpr float kWallThickness = 60.0f;
constexpr float kRidge = kHallWallTop + 300.0f;
// Trusses and columns stand on these z lines.
constexpr float kBayZ[] = {-300.0f, 1100.0f, 2500.0f, 3900.0f};

// Height of the roof's underside at x (a shallow gable).
float RoofY(float x) { return kRidge - (kRidge - kHallWallTop) * std::fabs(x) / kHallMaxX; }

void Floor(MeshBuilder& m) {
  Grid(m, kFloor, Frame::At(0.5f * (kHallMinX + kHallMaxX), 0, 0.5f * (kHallMinZ + kHallMaxZ)), kHallMaxX - kHallMinX,
       kHallMaxZ - kHallMinZ, 8, 6);
}

void Markings(MeshBuilder& m) {  const Paint line{"paint_yellow", 400.0f};
  const float y = 0.8f;
  // Walkway lines from the doors to the rig and across the hall.
  const auto strip = [&](float x0, float z0, float x1, float z1) {
    m.Quad(line, V3(x0, y, z1), V3(x1, y, z1), V3(x1, y, z0), V3(x0, y, z0));
  };
  for (float x : {kDoorCentreX - 650.0f, kDoorCentreX + 650.0f}) strip(x - 25, kHallMinZ + 10, x + 25, 900);
  strip(-2900, 3000, 2900, 3050);
  strip(-2900, 3300, 2900, 3350);
  // Hazard border around the rig's work area.
  const float x0 = kReleaseHip.x - 1200, x1 = kReleaseHip.x + 1200, z0 = kReleaseHip.z - 700, z1 = kReleaseHip.z + 700;
  const float w = 70.0f;
  const auto hazard = [&](float ax, float az, float bx, float bz) {
    m.Quad(kHazard, V3(ax, y, bz), V3(bx, y, bz), V3(bx, y, az), V3(ax, y, az));
  };
  hazard(x0, z0, x1, z0 + w);
  hazard(x0, z1 - w, x1, z1);
  hazard(x0, z0 + w, x0 + w, z1 - w);
  hazard(x1 - w, z0 + w, x1, z1 - w);
}

// The walls: solid slabs outside the floor's edge, up to the eaves, with the door
// opening in the -z wall; a darker plinth along the bottom and a row of high windows.
void Walls(MeshBuilder& m) {
  const float t = kWallThickness, top = kHallWallTop;
  const float dx0 = kDoorCentreX - 0.5f * kDoorWidth, dx1 = kDoorCentreX + 0.5f * kDoorWidth;
  // -z wall, around the door.
  BoxBetween(m, kWall, V3(kHallMinX - t, 0, kHallMinZ - t), V3(dx0, top, kHallMinZ));
  BoxBetween(m, kWall, V3(dx1, 0, kHallMinZ - t), V3(kHallMaxX + t, top, kHallMinZ));
  BoxBetween(m, kWall, V3(dx0, kDoorHeight, kHallMinZ - t), V3(dx1, top, kHallMinZ));
  // +z, -x and +x walls.
  BoxBetween(m, kWall, V3(kHallMinX - t, 0, kHallMaxZ), V3(kHallMaxX + t, top, kHallMaxZ + t));
  BoxBetween(m, kWall, V3(kHallMinX - t, 0, kHallMinZ), V3(kHallMinX, top, kHallMaxZ));
  BoxBetween(m, kWall, V3(kHallMaxX, 0, kHallMinZ), V3(kHallMaxX + t, top, kHallMaxZ));
  // Gable ends above the eaves up to the roof.
  m.Polygon(kWall, {V3(kHallMinX, top, kHallMinZ), V3(kHallMaxX, top, kHallMinZ), V3(0, kRidge, kHallMinZ)});
  m.Polygon(kWall, {V3(kHallMaxX, top, kHallMaxZ), V3(kHallMinX, top, kHallMaxZ), V3(0, kRidge, kHallMaxZ)});
  // Plinth: painted steel 260 high, standing 12 proud of the walls.
  const float p = 12.0f, ph = 260.0f;
  BoxBetween(m, kSteel, V3(kHallMinX, 0, kHallMinZ), V3(dx0, ph, kHallMinZ + p), kFacePosZ | kFacePosY);
  BoxBetween(m, kSteel, V3(dx1, 0, kHallMinZ), V3(kHallMaxX, ph, kHallMinZ + p), kFacePosZ | kFacePosY);
  BoxBetween(m, kSteel, V3(kHallMinX, 0, kHallMaxZ - p), V3(kHallMaxX, ph, kHallMaxZ), kFaceNegZ | kFacePosY);
  BoxBetween(m, kSteel, V3(kHallMinX, 0, kHallMinZ), V3(kHallMinX + p, ph, kHallMaxZ), kFacePosX | kFacePosY);
  BoxBetween(m, kSteel, V3(kHallMaxX - p, 0, kHallMinZ), V3(kHallMaxX, ph, kHallMaxZ), kFaceNegX | kFacePosY);
  // High windows on the long walls: night outside, a faint blue in steel frames.
  for (float z = -200.0f; z < kHallMaxZ - 400.0f; z += 1400.0f) {
    for (float side : {-1.0f, 1.0f}) {
      const float x = side < 0 ? kHallMinX + 2.0f : kHallMaxX - 2.0f;
      const float z0 = z + 250.0f, z1 = z + 1150.0f, y0 = 1900.0f, y1 = 2450.0f;
      const V3 a(x, y0, side < 0 ? z0 : z1), b(x, y0, side < 0 ? z1 : z0);
      m.Quad(kWindow, a, b, b + V3(0, y1 - y0, 0), a + V3(0, y1 - y0, 0));
      const float fx = x - side * 10.0f;
      for (float zz : {z0, 0.5f * (z0 + z1), z1}) BoxBetween(m, kSteel, V3(fx - 10, y0, zz - 12), V3(fx + 10, y1, zz + 12));
      for (float yy : {y0, 0.5f * (y0 + y1), y1}) BoxBetween(m, kSteel, V3(fx - 10, yy - 12, z0), V3(fx + 10, yy + 12, z1));
    }
  }
}

// Columns along the long walls and roof trusses spanning between them on each bay
// line, and purlins along the hall.
void Structure(MeshBuilder& m) {
  const float cx = kHallMaxX - 110.0f;
  for (float z : kBayZ) {
    for (float side : {-1.0f, 1.0f}) Column(m, V3(side * cx, 0, z), kHallWallTop, kSteel);
    // Truss: bottom chord, top chords under the roof, verticals and diagonals.
    const float bottom = kHallTrussBottom;
    Beam(m, V3(-cx, bottom, z), V3(cx, bottom, z), 70, kSteel);
    Beam(m, V3(-cx, RoofY(cx) - 60, z), V3(0, kRidge - 60, z), 70, kSteel);
    Beam(m, V3(0, kRidge - 60, z), V3(cx, RoofY(cx) - 60, z), 70, kSteel);
    const int panels = 10;
    for (int i = 0; i <= panels; ++i) {
      const float x = -cx + 2.0f * cx * static_cast<float>(i) / static_cast<float>(panels);
      Beam(m, V3(x, bottom, z), V3(x, RoofY(x) - 60, z), 36, kSteel);
      if (i < panels) {
        const float xn = -cx + 2.0f * cx * static_cast<float>(i + 1) / static_cast<float>(panels);
        const bool up = (i < panels / 2);
        Beam(m, V3(up ? x : xn, bottom, z), V3(up ? xn : x, RoofY(up ? xn : x) - 60, z), 30, kSteel);
      }
    }
  }
  // Purlins and the deck.
  for (int i = -4; i <= 4; ++i) {
    const float x = static_cast<float>(i) * (cx / 4.5f);
    Beam(m, V3(x, RoofY(x) - 40, kHallMinZ), V3(x, RoofY(x) - 40, kHallMaxZ), 50, kSteel);
  }
}

// The roof deck, seen from below.
void Roof(MeshBuilder& m) {
  for (float side : {-1.0f, 1.0f}) {
    const V3 eave(side * kHallMaxX, kHallWallTop, 0), ridge(0, kRidge, 0);
    const V3 a = eave + V3(0, 0, kHallMinZ), b = ridge + V3(0, 0, kHallMinZ), c = ridge + V3(0, 0, kHallMaxZ),
             d = eave + V3(0, 0, kHallMaxZ);
    // Facing down into the hall.
    if (side < 0) m.Quad(kRoof, a, d, c, b);
    else m.Quad(kRoof, a, b, c, d);
  }
}

// Lamps under the trusses, each with the pool of light it throws on the floor, the
// middle row with a faint shaft of light through the dusty air.
void Lamps(MeshBuilder& m, MeshBuilder& light) {
  for (float z : {400.0f, 1800.0f, 3200.0f}) {
    for (float x : {-2200.0f, 0.0f, 2200.0f}) {
      // Keep the rig's centre clear above the robot: the lamp there hangs higher.
      const float bottom = (std::fabs(x) < 1.0f && std::fabs(z - kReleaseHip.z) < 300.0f) ? 1950.0f : 1750.0f;
      HangingLamp(m, V3(x, bottom, z), RoofY(x) - 60.0f);
      LightPool(light, V3(x, 0, z), 750.0f);
      // Shafts are costly to fill (every pixel through them is lit again): only the
      // row over the rig and the arms has them.
      if (std::fabs(z - 1800.0f) < 1.0f) LightShaft(light, V3(x, bottom, z), 80.0f, 520.0f);
    }
  }
}

// The assembly rig: a low platform under the robot and a gantry around it with a
// hoist beam, clamps and cable trays.
void Rig(MeshBuilder& m) {
  const V3 a(kReleaseHip.x, 0, kReleaseHip.z);
  const Paint plate{"hall_metal", 300.0f};
  BoxBetween(m, plate, a + V3(-330, 0, -300), a + V3(330, kRigPlatformTop, 300), kNoBottom);
  m.Quad(kHazard, a + V3(-330, kRigPlatformTop + 0.5f, 300), a + V3(330, kRigPlatformTop + 0.5f, 300),
         a + V3(330, kRigPlatformTop + 0.5f, 240), a + V3(-330, kRigPlatformTop + 0.5f, 240));
  m.Quad(kHazard, a + V3(-330, kRigPlatformTop + 0.5f, -240), a + V3(330, kRigPlatformTop + 0.5f, -240),
         a + V3(330, kRigPlatformTop + 0.5f, -300), a + V3(-330, kRigPlatformTop + 0.5f, -300));
  const float gx = 460.0f, gz = 440.0f, top = 1320.0f;
  for (float sx : {-1.0f, 1.0f}) {
    for (float sz : {-1.0f, 1.0f}) {
      const V3 base = a + V3(sx * gx, 0, sz * gz);
      SweepProfile(m, kYellow, base, base + V3(0, top, 0), V3(0, 0, 1), IBeamProfile(110, 100, 12));
      BoxBetween(m, kSteel, base + V3(-80, 0, -80), base + V3(80, 14, 80), kNoBottom);
    }
    Beam(m, a + V3(sx * gx, top + 40, -gz - 60), a + V3(sx * gx, top + 40, gz + 60), 90, kYellow);
  }
  for (float sz : {-1.0f, 1.0f}) Beam(m, a + V3(-gx - 60, top + 40, sz * gz), a + V3(gx + 60, top + 40, sz * gz), 90, kYellow);
  // Hoist beam across the middle with a trolley and the clamp that holds the robot.
  Beam(m, a + V3(-gx, top + 100, 0), a + V3(gx, top + 100, 0), 80, kYellow);
  BevelBox(m, kSteel, Frame::At(a + V3(0, top + 30, 0)), V3(70, 40, 60), 8);
  for (float sx : {-1.0f, 1.0f}) CylinderBetween(m, kRubber, a + V3(sx * 30, top, 0), a + V3(sx * 60, 900, 0), 6, 6);
  BevelBox(m, kSteel, Frame::At(a + V3(0, 890, 0)), V3(110, 14, 40), 4);
  // Cable tray and control box on one post.
  BevelBox(m, kSteel, Frame::At(a + V3(-gx - 90, 1000, -gz)), V3(50, 130, 80), 8);
  Box(m, kSign, Frame::At(a + V3(-gx - 141, 1070, -gz + 30)), V3(2, 10, 10));
  Box(m, kGreenGlow, Frame::At(a + V3(-gx - 141, 1070, -gz - 10)), V3(2, 10, 10));
}

// Floor plates around the arms' pedestals, bolted, with a hazard ring.
void ArmSites(MeshBuilder& m) {
  for (const V3& base : {kArm1Base, kArm2Base}) {
    const V3 floor(base.x, 0, base.z);
    BoxBetween(m, kSteel, floor + V3(-320, 0, -320), floor + V3(320, 10, 320), kNoBottom);
    for (float sx : {-1.0f, 1.0f}) {
      for (float sz : {-1.0f, 1.0f}) {
        Cylinder(m, kMachine, Frame::At(floor + V3(sx * 260, 10, sz * 260)), 16, 16, 12, 8, false);
      }
    }
    m.Quad(kHazard, floor + V3(-400, 0.8f, 400), floor + V3(400, 0.8f, 400), floor + V3(400, 0.8f, 340),
           floor + V3(-400, 0.8f, 340));
    m.Quad(kHazard, floor + V3(-400, 0.8f, -340), floor + V3(400, 0.8f, -340), floor + V3(400, 0.8f, -400),
           floor + V3(-400, 0.8f, -400));
    // The arm's control cabinet, behind it.
    const float side = base.x > 0 ? 1.0f : -1.0f;
    Crate(m, Frame::At(floor + V3(side * 520, 420, 380)), V3(110, 420, 160), kSteel);
    Box(m, kMonitorGlow, Frame::At(floor + V3(side * 520, 640, 220)), V3(60, 40, 2));
  }
}

// The dance stage: a round plate with a ring of lights. The plate is sunk into the floor
// up to its last unit, since the dancer's placement stands it on the floor itself.
void Stage(MeshBuilder& m) {
  const V3 c(kDanceHip.x, 0, kDanceHip.z);
  Cylinder(m, kSteel, Frame::At(c + V3(0, -7, 0)), 420, 420, 8, 48, false, true);
  Cylinder(m, kHazard, Frame::At(c + V3(0, 1, 0)), 400, 400, 1, 48, false, false);
  for (int i = 0; i < 24; ++i) {
    const float a = 2.0f * kPi * static_cast<float>(i) / 24.0f;
    Box(m, kLamp, Frame::At(c + V3(395 * std::cos(a), 3, 395 * std::sin(a))), V3(10, 3, 10));
  }
}

// The monitor gallery against -x: a raised floor, a console, the two big monitors the
// readouts play on, and a bank of smaller glowing screens.
void MonitorGallery(MeshBuilder& m) {
  const float x0 = kHallMinX, x1 = kMonitorWallX + 700.0f;
  const float z0 = kMonitorCentreZ - 1300.0f, z1 = kMonitorCentreZ + 1300.0f;
  BoxBetween(m, kGrating, V3(x0, 0, z0), V3(x1, 180, z1), kNoBottom);
  Railing(m, V3(x1 - 20, 180, z0), V3(x1 - 20, 180, kMonitorCentreZ - 300), 420, kYellow);
  Railing(m, V3(x1 - 20, 180, kMonitorCentreZ + 300), V3(x1 - 20, 180, z1), 420, kYellow);
  Stairs(m, kGrating, Frame::Yawed(V3(x1 + 540, 0, kMonitorCentreZ), -0.5f * kPi), 560, 6, 30, 90);
  // The console: a sloped desk with small glowing panels.
  for (float z = z0 + 300; z < z1 - 300; z += 700) {
    BevelBox(m, kSteel, Frame::At(V3(x1 - 260, 180 + 170, z + 300)), V3(110, 170, 300), 10);
    Box(m, kMonitorGlow, Frame::At(V3(x1 - 148, 180 + 300, z + 300)), V3(2, 30, 220));
  }
  // Back panel behind the monitors.
  BoxBetween(m, kSteel, V3(x0, 180, z0), V3(kMonitorWallX - 30, 2000, z1), kFacePosX | kFacePosY);
  for (const V3& centre : {kMonitor1Centre, kMonitor2Centre}) {
    Frame f = Frame::Yawed(centre, 0.5f * kPi);  // facing +x
    f.origin = centre - V3(1, 0, 0);
    Monitor(m, f, kMonitorWidth, kMonitorHeight, kScreen);
  }
  // Smaller screens above and between.
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < 5; ++i) {
      const float z = kMonitorCentreZ - 900.0f + 450.0f * static_cast<float>(i);
      const float y = row == 0 ? 1620.0f : 720.0f;
      if (row == 1 && (i == 1 || i == 3)) continue;
      Monitor(m, Frame::Yawed(V3(kMonitorWallX + 30, y, z), 0.5f * kPi), 300, 180, kReadout);
    }
  }
}

// A catwalk along +x at 1300 with railings and stairs at the far end.
void Catwalk(MeshBuilder& m) {
  const float y = 1300.0f, x0 = kHallMaxX - 620.0f, x1 = kHallMaxX;
  const float z0 = -700.0f, z1 = 3600.0f;
  BoxBetween(m, kGrating, V3(x0, y - 40, z0), V3(x1, y, z1));
  for (float z = z0 + 200; z < z1; z += 1400) {
    Beam(m, V3(x0 + 40, y - 60, z), V3(x1, y - 60, z), 60, kSteel);
    Beam(m, V3(x0 + 60, y - 60, z), V3(x1, y - 560, z), 40, kSteel);
  }
  Railing(m, V3(x0 + 10, y, z0), V3(x0 + 10, y, z1 - 700), 420, kYellow);
  Railing(m, V3(x0 + 10, y, z0), V3(x1, y, z0), 420, kYellow);
  Stairs(m, kGrating, Frame::Yawed(V3(x0 + 300, 0, z1 - 700 + 100 - 1400), 0.0f), 560, 16, y / 16.0f, 85);
}

// Pipe runs along the +z wall and across under the roof.
void Pipes(MeshBuilder& m) {
  const float z = kHallMaxZ - 140.0f;
  PipeRun(m, {V3(kHallMinX, 2000, z), V3(kHallMaxX - 300, 2000, z), V3(kHallMaxX - 300, 1500, z), V3(kHallMaxX - 300, 1500, z - 900)},
          48, kRed);
  PipeRun(m, {V3(kHallMinX, 1820, z + 30), V3(kHallMaxX, 1820, z + 30)}, 36, kBlue);
  PipeRun(m, {V3(kHallMaxX - 200, 2300, kHallMinZ), V3(kHallMaxX - 200, 2300, kHallMaxZ)}, 40, kGreen);
  PipeRun(m, {V3(kHallMinX + 200, 2250, kHallMinZ), V3(kHallMinX + 200, 2250, kHallMaxZ)}, 40, kWhite);
  for (float x = kHallMinX + 400; x < kHallMaxX; x += 1200) {
    BoxBetween(m, kSteel, V3(x - 10, 1760, z - 60), V3(x + 10, 2060, z + 80));
  }
}

// Stock along the +z wall: containers, drums and pallets.
void Stock(MeshBuilder& m) {
  const Paint boxes[] = {kBlue, kGreen, kRed, kSteel};
  int i = 0;
  for (float x = -3000.0f; x < 2800.0f; x += 620.0f, ++i) {
    if (x > -900 && x < 900) continue;
    const float h = 180.0f + 120.0f * Hash01(i, 0, 5);
    Crate(m, Frame::Yawed(V3(x, h, kHallMaxZ - 420), 0.1f * (Hash01(i, 1, 5) - 0.5f)), V3(260, h, 200),
          boxes[i % 4]);
    if (Hash01(i, 2, 5) > 0.4f) {
      const float h2 = 120.0f + 80.0f * Hash01(i, 3, 5);
      Crate(m, Frame::At(V3(x + 20, 2 * h + h2, kHallMaxZ - 430)), V3(200, h2, 160), boxes[(i + 1) % 4]);
    }
  }
  const V3 drums[] = {V3(2600, 0, 200), V3(2760, 0, 260), V3(2680, 0, 400), V3(-2300, 0, -600), V3(-2140, 0, -650)};
  int k = 0;
  for (const V3& d : drums) Barrel(m, d, (k++ % 2) ? kBlue : kRed);
}

// Around the exit: a striped frame, a sign above and a warning beacon.
void ExitFrame(MeshBuilder& m) {
  const float x0 = kDoorCentreX - 0.5f * kDoorWidth, x1 = kDoorCentreX + 0.5f * kDoorWidth, z = kHallMinZ;
  BoxBetween(m, kHazard, V3(x0 - 90, 0, z), V3(x0, kDoorHeight + 90, z + 40));
  BoxBetween(m, kHazard, V3(x1, 0, z), V3(x1 + 90, kDoorHeight + 90, z + 40));
  BoxBetween(m, kHazard, V3(x0, kDoorHeight, z), V3(x1, kDoorHeight + 90, z + 40));
  BoxBetween(m, kRubber, V3(kDoorCentreX - 220, kDoorHeight + 170, z), V3(kDoorCentreX + 220, kDoorHeight + 290, z + 30));
  BoxBetween(m, kGreenGlow, V3(kDoorCentreX - 200, kDoorHeight + 185, z + 30), V3(kDoorCentreX + 200, kDoorHeight + 275, z + 33));
  Cylinder(m, kSign, Frame::At(V3(x1 + 200, kDoorHeight + 150, z + 60)), 36, 30, 70, 14);
}

// The banner board the credits appear on.
void CreditsBanner(MeshBuilder& m) {
  const V3 c = kCreditsCentre;
  const float hw = 0.5f * kCreditsWidth + 40.0f, hh = 0.5f * kCreditsHeight + 40.0f;
  BoxBetween(m, kScreen, V3(c.x - hw, c.y - hh, c.z), V3(c.x + hw, c.y + hh, c.z + 30));
  BoxBetween(m, kSteel, V3(c.x - hw - 20, c.y - hh - 20, c.z + 30), V3(c.x + hw + 20, c.y + hh + 20, c.z + 50));
  m.Quad(kSign, V3(c.x + hw, c.y - hh - 14, c.z - 1), V3(c.x - hw, c.y - hh - 14, c.z - 1),
         V3(c.x - hw, c.y - hh - 4, c.z - 1), V3(c.x + hw, c.y - hh - 4, c.z - 1));
  for (float sx : {-1.0f, 1.0f}) {
    CylinderBetween(m, kRubber, V3(c.x + sx * (hw - 60), c.y + hh, c.z + 25), V3(c.x + sx * (hw - 60), kHallTrussBottom, c.z + 25), 5, 6);
  }
}

}  // namespace

bool BuildFactoryHall(Context& context) {
  // Three meshes in drawing order: the furnishings first, then the steel frame, the
  // shell (floor, walls, roof) last, so the large surfaces are mostly hidden by the
  // time they are drawn and the depth test spares their shading. The light pools and
  // shafts are translucent and come after every opaque surface anyway.
  MeshBuilder furnishings, frame, shell, light;
  Markings(furnishings);
  Lamps(furnishings, light);
  Rig(furnishings);
  ArmSites(furnishings);
  Stage(furnishings);
  MonitorGallery(furnishings);
  Catwalk(furnishings);
  Pipes(furnishings);
  Stock(furnishings);
  ExitFrame(furnishings);
  CreditsBanner(furnishings);
  Structure(frame);
  Floor(shell);
  Walls(shell);
  Roof(shell);
  ModelBuilder model;
  model.AddMesh("hall_furnishings", furnishings, 0, 1500.0f);
  model.AddMesh("hall_frame", frame, 0, 1500.0f);
  model.AddMesh("hall_shell", shell, 0, 1500.0f);
  model.AddMesh("hall_light", light, 0, 1500.0f);
  return context.WriteModel("factory_hal", model);
}

}  // namespace datagen
