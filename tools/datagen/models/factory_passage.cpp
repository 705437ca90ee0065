// "factory_passage": everything behind the hall's doors. A long corridor with
// repeating ribs, light strips and floor lights (so the run reads as speed), a junction
// where it turns, a second corridor to the glass-wall room, the room itself with the
// frame of the glass, and the large hall beyond the glass where the robot runs laps.
#include <algorithm>
#include <cmath>

#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/texture/noise.h"
#include "datagen/world/layout.h"
#include "datagen/world/passage_route.h"
#include "datagen/world/props.h"

namespace datagen {
namespace {

using namespace layout;
using namespace paints;

const Paint kTread{"passage_floor", 700.0f};
const Paint kPanels{"passage_wall", 1300.0f};
const Paint kRib{"passage_rib", 500.0f};
const Paint kConcrete{"hall_floor", 1600.0f};
const Paint kTallWall{"hall_wall", 2700.0f};
constexpr float kRibSpacing = 700.0f;
constexpr float kWallThickness = 60.0f;

// A flat quad with the given texture coordinates per corner, turned to face along
// facing.
void Panel(MeshBuilder& m, const Paint& paint, V3 a, V3 b, V3 c, V3 d, const float (&u)[4], const float (&v)[4],
           V3 facing) {
  V3 p[4] = {a, b, c, d};
  float pu[4] = {u[0], u[1], u[2], u[3]}, pv[4] = {v[0], v[1], v[2], v[3]};
  V3 normal = Normalize(Cross(b - a, c - a));
  if (Dot(normal, facing) < 0) {
    std::swap(p[1], p[3]);
    std::swap(pu[1], pu[3]);
    std::swap(pv[1], pv[3]);
    normal = -normal;
  }
  Vertex vertex[4];
  for (int i = 0; i < 4; ++i) vertex[i] = {p[i], normal, pu[i] / paint.tile, pv[i] / paint.tile};
  m.Triangle(paint.material, vertex[0], vertex[1], vertex[2]);
  m.Triangle(paint.material, vertex[0], vertex[2], vertex[3]);
}

// The corridor swept along the route: floor, walls and ceiling in short straight
// pieces, with textures running along it; ribs standing proud every kRibSpacing, each
// with light bars on its posts and floor lights between; a light strip along the
// ceiling, a cable tray and a pipe along the walls.
void Corridor(MeshBuilder& m, MeshBuilder& shell, const Route& route) {
  const float w = 0.5f * kPassageWidth, h = kPassageHeight;
  const float length = route.Length();
  const int stations = std::max(2, static_cast<int>(std::ceil(length / (0.5f * kRibSpacing))));
  const float step = length / static_cast<float>(stations);
  const V3 up(0, 1, 0);
  std::vector<V3> tray, pipe;
  for (int k = 0; k <= stations; ++k) {
    const float s = step * static_cast<float>(k);
    const V3 c = route.At(s);
    const V3 t = route.DirectionAt(s);
    const V3 left = Normalize(Cross(up, t));
    tray.push_back(c + left * (w - 120.0f) + up * (h - 240.0f));
    pipe.push_back(c - left * (w - 110.0f) + up * (h - 210.0f));
    if (k == stations) break;
    const float s1 = step * static_cast<float>(k + 1);
    const V3 c1 = route.At(s1);
    const V3 left1 = Normalize(Cross(up, route.DirectionAt(s1)));
    const V3 l0 = c + left * w, r0 = c - left * w, l1 = c1 + left1 * w, r1 = c1 - left1 * w;
    Panel(shell, kTread, l0, r0, r1, l1, {0, 2 * w, 2 * w, 0}, {s, s, s1, s1}, up);
    Panel(shell, kSteel, l0 + up * h, r0 + up * h, r1 + up * h, l1 + up * h, {0, 2 * w, 2 * w, 0}, {s, s, s1, s1}, -up);
    Panel(shell, kPanels, l0, l1, l1 + up * h, l0 + up * h, {s, s1, s1, s}, {0, 0, h, h}, -left);
    Panel(shell, kPanels, r1, r0, r0 + up * h, r1 + up * h, {s1, s, s, s1}, {0, 0, h, h}, left);
    if (k % 2 == 0) {
      // A rib across the corridor at this station.
      const Frame f = Frame::Facing(c, t);
      const float d = 30.0f;
      Box(m, kRib, f.Moved(w - 35, 0.5f * h, 0), V3(35, 0.5f * h, d), kAllFaces & ~kFaceNegY);
      Box(m, kRib, f.Moved(-w + 35, 0.5f * h, 0), V3(35, 0.5f * h, d), kAllFaces & ~kFaceNegY);
      Box(m, kRib, f.Moved(0, h - 45, 0), V3(w - 70, 45, d), kFaceNegY | kFacePosZ | kFaceNegZ);
      Box(m, kStrip, f.Moved(w - 71, 0.55f * h, 0), V3(2, 0.3f * h, 10));
      Box(m, kStrip, f.Moved(-w + 71, 0.55f * h, 0), V3(2, 0.3f * h, 10));
      // Floor lights halfway to the next rib, and the ceiling strip over that span.
      const Frame g = Frame::Facing(c1, route.DirectionAt(s1));
      Box(m, kSign, g.Moved(w - 90, 6, 0), V3(14, 6, 30));
      Box(m, kSign, g.Moved(-w + 90, 6, 0), V3(14, 6, 30));
      const float s2 = std::min(length, s + 2.0f * step);
      const V3 a = c + t * 90.0f, b = route.At(s2) - route.DirectionAt(s2) * 90.0f;
      if (Length(b - a) > 100.0f) StripLight(m, a + up * (h - 1), b + up * (h - 1), 60, -up);
    }
  }
  Tube(m, kSteel, tray, 28, 6, false);
  Tube(m, kBlue, pipe, 34, 12, false);
}

// A room's walls as inward-facing quads from floor to height, skipping the openings
// given per wall as [a, b) along the wall and up to top.
struct Opening {
  float a, b, top;
};

void RoomWall(MeshBuilder& m, const Paint& paint, V3 from, V3 to, float height, const std::vector<Opening>& openings) {
  const V3 along = Normalize(to - from);
  const float length = Length(to - from);
  float cursor = 0;
  const auto piece = [&](float a, float b, float y0, float y1) {
    if (b - a <= 0 || y1 - y0 <= 0) return;
    const V3 p0 = from + along * a, p1 = from + along * b;
    m.Quad(paint, p0 + V3(0, y0, 0), p1 + V3(0, y0, 0), p1 + V3(0, y1, 0), p0 + V3(0, y1, 0));
  };
  for (const Opening& o : openings) {
    piece(cursor, o.a, 0, height);
    piece(o.a, o.b, o.top, height);
    cursor = o.b;
  }
  piece(cursor, length, 0, height);
}

// A rectangular room: floor, four walls and a ceiling, all facing inward. The walls are
// given in the order -z, +x, +z, -x; each runs clockwise seen from above (-z wall from
// x0 to x1, +x wall from z0 to z1, +z wall from x1 to x0, -x wall from z1 to z0), and
// its openings are measured from where it starts.
void Room(MeshBuilder& m, float x0, float x1, float z0, float z1, float height, const Paint& floor, const Paint& wall,
          const Paint& ceiling, const std::vector<Opening> openings[4]) {
  Grid(m, floor, Frame::At(0.5f * (x0 + x1), 0, 0.5f * (z0 + z1)), x1 - x0, z1 - z0,
       std::max(1, static_cast<int>((x1 - x0) / 1400.0f)), std::max(1, static_cast<int>((z1 - z0) / 1400.0f)));
  RoomWall(m, wall, V3(x0, 0, z0), V3(x1, 0, z0), height, openings[0]);
  RoomWall(m, wall, V3(x1, 0, z0), V3(x1, 0, z1), height, openings[1]);
  RoomWall(m, wall, V3(x1, 0, z1), V3(x0, 0, z1), height, openings[2]);
  RoomWall(m, wall, V3(x0, 0, z1), V3(x0, 0, z0), height, openings[3]);
  m.Quad(ceiling, V3(x0, height, z0), V3(x1, height, z0), V3(x1, height, z1), V3(x0, height, z1));
}

// The doors' side of the passage: the wall around the door opening and a short lobby.
void DoorLobby(MeshBuilder& m) {
  // Two units off the hall wall's outer face, which is drawn only with the hall.
  const float w = 0.5f * kPassageWidth, z = kDoorWallZ - kWallThickness - 2.0f;
  const float dx0 = kDoorCentreX - 0.5f * kDoorWidth, dx1 = kDoorCentreX + 0.5f * kDoorWidth;
  // The back of the hall's wall, seen from the passage: around the opening.
  m.Quad(kPanels, V3(kDoorCentreX + w, 0, z), V3(dx1, 0, z), V3(dx1, kPassageHeight, z), V3(kDoorCentreX + w, kPassageHeight, z));
  m.Quad(kPanels, V3(dx0, 0, z), V3(kDoorCentreX - w, 0, z), V3(kDoorCentreX - w, kPassageHeight, z), V3(dx0, kPassageHeight, z));
  // Door reveal: the opening's sides through the wall.
  BoxBetween(m, kHazard, V3(dx0 - 30, 0, z - 10), V3(dx0, kDoorHeight, kDoorWallZ), kFacePosX);
  BoxBetween(m, kHazard, V3(dx1, 0, z - 10), V3(dx1 + 30, kDoorHeight, kDoorWallZ), kFaceNegX);
}

// A frame of strip lights round a doorway in a wall of constant x, facing +x: up both
// sides and across the top, just clear of the opening (centred on z, halfWidth either
// side, height tall).
void DoorwayInLight(MeshBuilder& m, float x, float z, float halfWidth, float height) {
  const float out = halfWidth + 70.0f;
  for (float side : {-1.0f, 1.0f}) {
    StripLight(m, V3(x, 40, z + side * out), V3(x, height, z + side * out), 80, V3(1, 0, 0));
  }
  StripLight(m, V3(x, height + 70, z - out), V3(x, height + 70, z + out), 80, V3(1, 0, 0));
}

void WallRoom(MeshBuilder& m, MeshBuilder& shell, MeshBuilder& light) {
  const float x0 = kWallRoomMinX, x1 = kGlassPlaneX, z0 = kWallRoomMinZ, z1 = kWallRoomMaxZ;
  const float w = 0.5f * kPassageWidth;
  std::vector<Opening> openings[4];
  // The corridor comes in through -x on the room's centre line; the glass fills an
  // opening in +x.
  openings[3] = {{z1 - (kGlassCentreZ + w), z1 - (kGlassCentreZ - w), kPassageHeight}};
  const float g0 = kGlassCentreZ - 0.5f * kGlassWidth, g1 = kGlassCentreZ + 0.5f * kGlassWidth;
  openings[1] = {{g0 - z0, g1 - z0, kGlassHeight}};
  Room(shell, x0, x1, z0, z1, kWallRoomHeight, kTread, kPanels, kSteel, openings);
  // The glass's frame: heavy steel posts, a lintel and a sill track.
  const float f = 80.0f;
  const float back = x1 + kWallThickness + 40.0f;
  BoxBetween(m, kYellow, V3(x1 - 140, 0, g0 - f), V3(back, kGlassHeight + f, g0));
  BoxBetween(m, kYellow, V3(x1 - 140, 0, g1), V3(back, kGlassHeight + f, g1 + f));
  BoxBetween(m, kYellow, V3(x1 - 140, kGlassHeight, g0), V3(back, kGlassHeight + f, g1));
  BoxBetween(m, kSteel, V3(x1 - 60, 0, g0), V3(back, 6, g1), kNoBottom);
  // Spot lamps over the glass, light panels on the ceiling, a lane on the floor.
  for (float z = z0 + 600; z < z1; z += 1000) {
    StripLight(m, V3(x0 + 500, kWallRoomHeight - 1, z), V3(x1 - 500, kWallRoomHeight - 1, z), 80, V3(0, -1, 0));
  }
  const Paint lane{"paint_yellow", 400.0f};
  for (float side : {-1.0f, 1.0f}) {
    const float z = kGlassCentreZ + side * 620.0f;
    m.Quad(lane, V3(x0, 0.8f, z + 25), V3(x1 - 150, 0.8f, z + 25), V3(x1 - 150, 0.8f, z - 25), V3(x0, 0.8f, z - 25));
  }
  for (float side : {-1.0f, 1.0f}) {
    const float z = kGlassCentreZ + side * 1150.0f;
    Column(m, V3(x1 - 700, 0, z), kWallRoomHeight, kSteel);
    Column(m, V3(x0 + 700, 0, z), kWallRoomHeight, kSteel);
  }
  // The corridor's mouth framed in light, with a pool of light on the floor just inside:
  // seen from beyond the broken glass it reads as the way the robot came, not as a
  // black hole in the far wall.
  DoorwayInLight(m, x0 + 14.0f, kGlassCentreZ, w, kPassageHeight);
  LightPool(light, V3(x0 - 450, 0, kGlassCentreZ), 650.0f);
  // A sign over the glass: the room's purpose in light.
  BoxBetween(m, kRubber, V3(x1 - 30, kGlassHeight + 200, kGlassCentreZ - 500), V3(x1 - 10, kGlassHeight + 330, kGlassCentreZ + 500));
  // Seen from the room (looking +x), the sign's left is -z.
  const float y0 = kGlassHeight + 215, y1 = kGlassHeight + 335, za = kGlassCentreZ - 480, zb = kGlassCentreZ + 480;
  m.Picture("glow_sign_text", V3(x1 - 31, y0, za), V3(x1 - 31, y0, zb), V3(x1 - 31, y1, zb), V3(x1 - 31, y1, za));
}

// The way out of the hall beyond, which the run heads for at its end: a doorway in its
// -x wall framed in light, with green lamps over it, and behind it a short passage lit
// along its ceiling and at its far end, so the robot runs into light, not into a hole.
void ExitPassage(MeshBuilder& m, MeshBuilder& shell, MeshBuilder& light, float wallX) {
  const float e0 = kBeyondExitZ - 0.5f * kBeyondExitWidth, e1 = kBeyondExitZ + 0.5f * kBeyondExitWidth;
  const float x0 = kBeyondMinX - kBeyondExitDepth, h = kBeyondExitHeight;
  std::vector<Opening> openings[4];
  openings[1] = {{0.0f, kBeyondExitWidth, h}};  // the doorway, the passage's +x end
  Room(shell, x0, wallX, e0, e1, h, kTread, kPanels, kSteel, openings);
  // The doorway's frame of light on the hall's side, and the lamps over it.
  DoorwayInLight(m, wallX + 14.0f, kBeyondExitZ, 0.5f * kBeyondExitWidth, h);
  for (float side : {-1.0f, 1.0f}) {
    Box(m, kGreenGlow, Frame::At(V3(wallX + 6, h + 200, kBeyondExitZ + side * 160)), V3(4, 40, 100));
  }
  // Inside: a light strip down the ceiling, a lit panel at the far end, pools on the floor.
  StripLight(m, V3(x0 + 200, h - 1, kBeyondExitZ), V3(wallX - 200, h - 1, kBeyondExitZ), 80, V3(0, -1, 0));
  StripLight(m, V3(x0 + 14, 200, kBeyondExitZ), V3(x0 + 14, h - 200, kBeyondExitZ), 300, V3(1, 0, 0));
  for (float x = x0 + 500; x < wallX; x += 900) LightPool(light, V3(x, 0, kBeyondExitZ), 380.0f);
}

// The hall beyond the glass, where the robot runs its laps: lamps over the floor with
// their pools and shafts, columns inside the laps, lane markings round them, stock
// along the side walls and tall night windows in the far wall.
void BeyondHall(MeshBuilder& m, MeshBuilder& shell, MeshBuilder& light) {
  // The wall between this hall and the glass-wall room is kWallThickness thick.
  const float x0 = kBeyondMinX + kWallThickness, x1 = kBeyondMaxX, z0 = kBeyondMinZ, z1 = kBeyondMaxZ;
  const float h = kBeyondHeight;
  std::vector<Opening> openings[4];
  const float g0 = kGlassCentreZ - 0.5f * kGlassWidth, g1 = kGlassCentreZ + 0.5f * kGlassWidth;
  const float e0 = kBeyondExitZ - 0.5f * kBeyondExitWidth, e1 = kBeyondExitZ + 0.5f * kBeyondExitWidth;
  // The -x wall runs from z1 toward z0: the exit comes first, then the glass.
  openings[3] = {{z1 - e1, z1 - e0, kBeyondExitHeight}, {z1 - g1, z1 - g0, kGlassHeight}};
  Room(shell, x0, x1, z0, z1, h, kConcrete, kTallWall, kRoof, openings);
  ExitPassage(m, shell, light, x0);
  for (float x : {16600.0f, 18000.0f}) {
    for (float z : {-18400.0f, -16400.0f}) Column(m, V3(x, 0, z), h, kYellow);
  }
  for (float x = x0 + 1100; x < x1 - 500; x += 2200) {
    for (float z = z0 + 1100; z < z1 - 500; z += 2100) {
      HangingLamp(m, V3(x, 2050, z), h, 130);
      LightPool(light, V3(x, 0, z), 800.0f);
      if (std::fabs(z - (z0 + 1100 + 2100)) < 1.0f) LightShaft(light, V3(x, 2050, z), 95.0f, 560.0f);
    }
  }
  int i = 0;
  for (float x = x0 + 800; x < x1 - 400; x += 700, ++i) {
    for (float z : {z0 + 300.0f, z1 - 300.0f}) {
      const float hh = 200.0f + 160.0f * Hash01(i, z < -17000 ? 1 : 2, 9);
      Crate(m, Frame::At(V3(x, hh, z)), V3(280, hh, 220), i % 3 == 0 ? kRed : (i % 3 == 1 ? kBlue : kSteel));
    }
  }
  // Lane markings: a striped band round the laps' inner edge.
  const float lx0 = 15900, lx1 = 18700, lz0 = -18700, lz1 = -16100, band = 60, y = 0.8f;
  const auto strip = [&](float ax, float az, float bx, float bz) {
    m.Quad(kHazard, V3(ax, y, bz), V3(bx, y, bz), V3(bx, y, az), V3(ax, y, az));
  };
  strip(lx0, lz0, lx1, lz0 + band);
  strip(lx0, lz1 - band, lx1, lz1);
  strip(lx0, lz0 + band, lx0 + band, lz1 - band);
  strip(lx1 - band, lz0 + band, lx1, lz1 - band);
  // Tall windows in the far wall, night blue, in steel frames.
  for (float z = z0 + 900; z < z1 - 600; z += 1300) {
    const float y0 = 700, y1 = 2300, za = z, zb = z + 900;
    m.Quad(kWindow, V3(x1 - 2, y0, za), V3(x1 - 2, y0, zb), V3(x1 - 2, y1, zb), V3(x1 - 2, y1, za));
    for (float zz : {za, zb}) BoxBetween(m, kSteel, V3(x1 - 30, y0, zz - 20), V3(x1, y1, zz + 20));
    for (float yy : {y0, 0.5f * (y0 + y1), y1}) BoxBetween(m, kSteel, V3(x1 - 30, yy - 15, za), V3(x1, yy + 15, zb));
  }
}

}  // namespace

bool BuildFactoryPassage(Context& context) {
  // As in the hall: details first, the shell last, translucent light after both.
  MeshBuilder details, shell, light;
  DoorLobby(details);
  Corridor(details, shell, PassageCentreline());
  WallRoom(details, shell, light);
  BeyondHall(details, shell, light);
  ModelBuilder model;
  model.AddMesh("passage_details", details, 0, 1500.0f);
  model.AddMesh("passage_shell", shell, 0, 1500.0f);
  model.AddMesh("passage_light", light, 0, 1500.0f);
  return context.WriteModel("factory_passage", model);
}

}  // namespace datagen
