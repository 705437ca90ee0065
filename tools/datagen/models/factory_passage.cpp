// "factory_passage": everything behind the hall's doors. A long corridor with
// repeating ribs, light strips and floor lights (so the run reads as speed), a junction
// where it turns, a second corridor to the glass-wall room, the room itself with the
// frame of the glass, and the large hall beyond the glass where the robot runs laps.
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

const Paint kTread{"passage_floor", 700.0f};
const Paint kPanels{"passage_wall", 1300.0f};
const Paint kRib{"passage_rib", 500.0f};
const Paint kConcrete{"hall_floor", 1600.0f};
const Paint kTallWall{"hall_wall", 2700.0f};
constexpr float kRibSpacing = 700.0f;
constexpr float kWallThickness = 60.0f;

// A corridor in its own frame: floor from z = 0 to length, x across, y up.
MeshBuilder Corridor(float length) {
  MeshBuilder m;
  const float w = 0.5f * kPassageWidth, h = kPassageHeight;
  const int chunks = std::max(1, static_cast<int>(std::ceil(length / 1400.0f)));
  for (int i = 0; i < chunks; ++i) {
    const float z0 = length * static_cast<float>(i) / static_cast<float>(chunks);
    const float z1 = length * static_cast<float>(i + 1) / static_cast<float>(chunks);
    m.Quad(kTread, V3(-w, 0, z1), V3(w, 0, z1), V3(w, 0, z0), V3(-w, 0, z0));
    m.Quad(kPanels, V3(-w, 0, z1), V3(-w, 0, z0), V3(-w, h, z0), V3(-w, h, z1));
    m.Quad(kPanels, V3(w, 0, z0), V3(w, 0, z1), V3(w, h, z1), V3(w, h, z0));
    m.Quad(kSteel, V3(-w, h, z0), V3(w, h, z0), V3(w, h, z1), V3(-w, h, z1));
  }
  // Ribs: portal frames standing proud of the walls and the ceiling, each with a
  // vertical light on both posts and a floor light at their feet.
  for (float z = 0.5f * kRibSpacing; z < length; z += kRibSpacing) {
    const float d = 30.0f;
    BoxBetween(m, kRib, V3(-w, 0, z - d), V3(-w + 70, h, z + d), kNoBottom);
    BoxBetween(m, kRib, V3(w - 70, 0, z - d), V3(w, h, z + d), kNoBottom);
    BoxBetween(m, kRib, V3(-w, h - 90, z - d), V3(w, h, z + d), kFaceNegY | kFacePosZ | kFaceNegZ);
    Box(m, kStrip, Frame::At(-w + 71, 0.55f * h, z), V3(2, 0.3f * h, 10));
    Box(m, kStrip, Frame::At(w - 71, 0.55f * h, z), V3(2, 0.3f * h, 10));
    Box(m, kSign, Frame::At(-w + 90, 6, z + 0.5f * kRibSpacing), V3(14, 6, 30));
    Box(m, kSign, Frame::At(w - 90, 6, z + 0.5f * kRibSpacing), V3(14, 6, 30));
  }
  // A light strip along the ceiling between the ribs.
  for (float z = kRibSpacing; z + 0.5f * kRibSpacing < length; z += kRibSpacing) {
    StripLight(m, V3(0, kPassageHeight - 1, z - 0.5f * kRibSpacing + 80), V3(0, kPassageHeight - 1, z + 0.5f * kRibSpacing - 80),
               60, V3(0, -1, 0));
  }
  // Cable trays high on one wall, a pipe on the other.
  BoxBetween(m, kSteel, V3(-w + 70, h - 260, 0), V3(-w + 170, h - 220, length), kFaceNegY | kFacePosX | kFacePosY);
  Tube(m, kBlue, {V3(w - 120, h - 200, 0), V3(w - 120, h - 200, length)}, 34, 12, false);
  return m;
}

// Places a corridor built along +z at origin, heading in direction (x, z).
void PlaceCorridor(MeshBuilder& out, V3 origin, float angle, float length) {
  MeshBuilder corridor = Corridor(length);
  corridor.Transform(Frame::Yawed(origin, angle).Matrix());
  out.Append(corridor);
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

void Junction(MeshBuilder& m) {
  const float s = 0.5f * kJunctionSize, w = 0.5f * kPassageWidth;
  const float x0 = kJunction.x - s, x1 = kJunction.x + s, z0 = kJunction.z - s, z1 = kJunction.z + s;
  std::vector<Opening> openings[4];
  // The second corridor leaves through the +x wall, the first comes in through +z.
  openings[1] = {{kJunction.z - w - z0, kJunction.z + w - z0, kPassageHeight}};
  openings[2] = {{x1 - (kJunction.x + w), x1 - (kJunction.x - w), kPassageHeight}};
  Room(m, x0, x1, z0, z1, 1700, kTread, kPanels, kSteel, openings);
  // Hazard chevrons on the floor where the route turns, a big lamp, a pump.
  m.Quad(kHazard, V3(x0 + 300, 0.8f, z1 - 300), V3(x1 - 300, 0.8f, z1 - 300), V3(x1 - 300, 0.8f, z1 - 420), V3(x0 + 300, 0.8f, z1 - 420));
  HangingLamp(m, V3(kJunction.x, 1400, kJunction.z), 1700, 160);
  Cylinder(m, kGreen, Frame::At(V3(x0 + 400, 0, z0 + 400)), 220, 220, 900, 24);
  PipeRun(m, {V3(x0 + 400, 900, z0 + 400), V3(x0 + 400, 1450, z0 + 400), V3(x1, 1450, z0 + 400)}, 50, kGreen);
  Crate(m, Frame::At(V3(x1 - 500, 300, z0 + 450)), V3(300, 300, 250), kBlue);
}

void WallRoom(MeshBuilder& m) {
  const float x0 = kWallRoomMinX, x1 = kGlassPlaneX, z0 = kWallRoomMinZ, z1 = kWallRoomMaxZ;
  const float w = 0.5f * kPassageWidth;
  std::vector<Opening> openings[4];
  // The corridor comes in through -x on the room's centre line; the glass fills an
  // opening in +x.
  openings[3] = {{z1 - (kGlassCentreZ + w), z1 - (kGlassCentreZ - w), kPassageHeight}};
  const float g0 = kGlassCentreZ - 0.5f * kGlassWidth, g1 = kGlassCentreZ + 0.5f * kGlassWidth;
  openings[1] = {{g0 - z0, g1 - z0, kGlassHeight}};
  Room(m, x0, x1, z0, z1, kWallRoomHeight, kTread, kPanels, kSteel, openings);
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
  // A sign over the glass: the room's purpose in light.
  BoxBetween(m, kRubber, V3(x1 - 30, kGlassHeight + 200, kGlassCentreZ - 500), V3(x1 - 10, kGlassHeight + 330, kGlassCentreZ + 500));
  BoxBetween(m, kSign, V3(x1 - 33, kGlassHeight + 215, kGlassCentreZ - 480), V3(x1 - 30, kGlassHeight + 315, kGlassCentreZ + 480));
}

void BeyondHall(MeshBuilder& m) {
  // The wall between this hall and the glass-wall room is kWallThickness thick.
  const float x0 = kBeyondMinX + kWallThickness, x1 = kBeyondMaxX, z0 = kBeyondMinZ, z1 = kBeyondMaxZ;
  const float h = kBeyondHeight;
  std::vector<Opening> openings[4];
  const float g0 = kGlassCentreZ - 0.5f * kGlassWidth, g1 = kGlassCentreZ + 0.5f * kGlassWidth;
  openings[3] = {{z1 - g1, z1 - g0, kGlassHeight}};
  Room(m, x0, x1, z0, z1, h, kConcrete, kTallWall, kRoof, openings);
  // Columns inside the laps, lamps in rows, stock along the walls.
  for (float x : {16800.0f, 19000.0f}) {
    for (float z : {-18500.0f, -16300.0f}) Column(m, V3(x, 0, z), h, kYellow);
  }
  for (float x = x0 + 900; x < x1; x += 1800) {
    for (float z = z0 + 1000; z < z1; z += 1800) HangingLamp(m, V3(x, 2000, z), h, 130);
  }
  int i = 0;
  for (float x = x0 + 800; x < x1 - 400; x += 700, ++i) {
    for (float z : {z0 + 300.0f, z1 - 300.0f}) {
      const float hh = 200.0f + 160.0f * Hash01(i, z < -17000 ? 1 : 2, 9);
      Crate(m, Frame::At(V3(x, hh, z)), V3(280, hh, 220), i % 3 == 0 ? kRed : (i % 3 == 1 ? kBlue : kSteel));
    }
  }
  // Lane lights along the glass's axis, pointing the way out.
  for (float x = x0 + 400; x < x1; x += 500) Box(m, kLamp, Frame::At(V3(x, 2, kGlassCentreZ)), V3(40, 2, 10));
}

}  // namespace

bool BuildFactoryPassage(Context& context) {
  MeshBuilder m;
  DoorLobby(m);
  const float leg1Start = kDoorWallZ - kWallThickness;
  const float leg1End = kJunction.z + 0.5f * kJunctionSize;
  PlaceCorridor(m, V3(kDoorCentreX, 0, leg1Start), kPi, leg1Start - leg1End);
  const float leg2Start = kJunction.x + 0.5f * kJunctionSize;
  PlaceCorridor(m, V3(leg2Start, 0, kJunction.z), 0.5f * kPi, kWallRoomMinX - leg2Start);
  Junction(m);
  WallRoom(m);
  BeyondHall(m);
  ModelBuilder model;
  model.AddMesh("factory_passage", m, 0, 1500.0f);
  return context.WriteModel("factory_passage", model);
}

}  // namespace datagen
