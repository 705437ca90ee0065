#include "datagen/direction/open_space.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "datagen/world/layout.h"
#include "datagen/world/passage_route.h"

namespace datagen::space {
namespace {

using namespace layout;

// The plan is a raster seen from above: per cell the area and the height of its
// ceiling (or of the opening's top).
constexpr float kCell = 25.0f;
constexpr float kMinX = kHallMinX - 200.0f, kMaxX = kBeyondMaxX + 200.0f;
constexpr float kMinZ = kBeyondMinZ - 200.0f, kMaxZ = kHallMaxZ + 200.0f;
// The hall's walls and the passage's lobby wall behind the doors.
constexpr float kWallThickness = 60.0f;
constexpr float kLobbyZ = kDoorWallZ - kWallThickness - 2.0f;
// The monitor gallery's back panel closes the hall off short of its -x wall.
constexpr float kHallOpenMinX = kMonitorWallX - 30.0f;

enum class Kind : std::uint8_t { kWall, kHall, kDoorway, kPassage, kGlass };

struct Cell {
  Kind kind = Kind::kWall;
  float top = 0.0f;
};

class Plan {
 public:
  Plan() : columns_(Index(kMaxX, kMinX)), rows_(Index(kMaxZ, kMinZ)), cells_(columns_ * rows_) {
    Fill(kHallOpenMinX, kHallMaxX, kHallMinZ, kHallMaxZ, {Kind::kHall, kHallWallTop});
    const float dx0 = kDoorCentreX - 0.5f * kDoorWidth, dx1 = kDoorCentreX + 0.5f * kDoorWidth;
    Fill(dx0, dx1, kLobbyZ, kDoorWallZ, {Kind::kDoorway, kDoorHeight});
    StampCorridor();
    Fill(kWallRoomMinX, kGlassPlaneX, kWallRoomMinZ, kWallRoomMaxZ, {Kind::kPassage, kWallRoomHeight});
    Fill(kGlassPlaneX, kBeyondMinX + kWallThickness, kGlassCentreZ - 0.5f * kGlassWidth,
         kGlassCentreZ + 0.5f * kGlassWidth, {Kind::kGlass, kGlassHeight});
    Fill(kBeyondMinX + kWallThickness, kBeyondMaxX, kBeyondMinZ, kBeyondMaxZ, {Kind::kPassage, kBeyondHeight});
    Fill(kBeyondMinX - kBeyondExitDepth, kBeyondMinX + kWallThickness, kBeyondExitZ - 0.5f * kBeyondExitWidth,
         kBeyondExitZ + 0.5f * kBeyondExitWidth, {Kind::kPassage, kBeyondExitHeight});
    // The columns that stand free in the rooms behind the doors (as factory_passage.cpp
    // places them): a camera must not pass through one, nor look through it.
    for (float x : {kWallRoomMinX + 700.0f, kGlassPlaneX - 700.0f}) {
      for (float side : {-1.0f, 1.0f}) Fill(x - 100, x + 100, kGlassCentreZ + side * 1150 - 100, kGlassCentreZ + side * 1150 + 100, Cell());
    }
    for (float x : {16600.0f, 18000.0f}) {
      for (float z : {-18400.0f, -16400.0f}) Fill(x - 100, x + 100, z - 100, z + 100, Cell());
    }
  }

  // The cell under (x, z); a wall outside the plan.
  Cell At(float x, float z) const {
    if (x < kMinX || x >= kMaxX || z < kMinZ || z >= kMaxZ) return Cell();
    return cells_[static_cast<std::size_t>(Index(z, kMinZ)) * columns_ + Index(x, kMinX)];
  }

 private:
  static int Index(float value, float origin) { return static_cast<int>(std::floor((value - origin) / kCell)); }

  // Cells whose centres lie inside the rectangle.
  void Fill(float x0, float x1, float z0, float z1, Cell cell) {
    for (int row = std::max(0, Index(z0, kMinZ)); row <= std::min(rows_ - 1, Index(z1, kMinZ)); ++row) {
      for (int column = std::max(0, Index(x0, kMinX)); column <= std::min(columns_ - 1, Index(x1, kMinX)); ++column) {
        const float x = kMinX + (static_cast<float>(column) + 0.5f) * kCell;
        const float z = kMinZ + (static_cast<float>(row) + 0.5f) * kCell;
        if (x >= x0 && x <= x1 && z >= z0 && z <= z1) cells_[static_cast<std::size_t>(row) * columns_ + column] = cell;
      }
    }
  }

  // The corridor: every cell within half its width of the centre line, behind the
  // lobby wall.
  void StampCorridor() {
    const Route& line = PassageCentreline();
    const float half = 0.5f * kPassageWidth;
    const int reach = static_cast<int>(std::ceil(half / kCell)) + 1;
    for (float s = 0; s <= line.Length(); s += 10.0f) {
      const V3 c = line.At(s);
      const int cx = Index(c.x, kMinX), cz = Index(c.z, kMinZ);
      for (int row = std::max(0, cz - reach); row <= std::min(rows_ - 1, cz + reach); ++row) {
        for (int column = std::max(0, cx - reach); column <= std::min(columns_ - 1, cx + reach); ++column) {
          const float x = kMinX + (static_cast<float>(column) + 0.5f) * kCell;
          const float z = kMinZ + (static_cast<float>(row) + 0.5f) * kCell;
          if (z > kLobbyZ || std::hypot(x - c.x, z - c.z) > half) continue;
          cells_[static_cast<std::size_t>(row) * columns_ + column] = {Kind::kPassage, kPassageHeight};
        }
      }
    }
  }

  int columns_, rows_;
  std::vector<Cell> cells_;
};

const Plan& ThePlan() {
  static const Plan plan;
  return plan;
}

Area AreaOf(const Cell& cell, float y) {
  if (y < 0.0f || y > cell.top) return Area::kNone;
  switch (cell.kind) {
    case Kind::kHall: return Area::kHall;
    case Kind::kDoorway: return Area::kDoorway;
    case Kind::kPassage: return Area::kPassage;
    default: return Area::kNone;
  }
}

}  // namespace

Area AreaAt(V3 point, float margin) {
  const Plan& plan = ThePlan();
  const Area area = AreaOf(plan.At(point.x, point.z), point.y);
  if (margin <= 0.0f || area == Area::kNone) return area;
  // Every point margin away along the axes must lie in the same area.
  const V3 offsets[] = {V3(margin, 0, 0), V3(-margin, 0, 0), V3(0, 0, margin),
                        V3(0, 0, -margin), V3(0, margin, 0), V3(0, -margin, 0)};
  for (const V3& d : offsets) {
    const V3 p = point + d;
    if (AreaOf(plan.At(p.x, p.z), p.y) != area) return Area::kNone;
  }
  return area;
}

bool SeeThrough(V3 point, bool doorsOpen) {
  const Cell cell = ThePlan().At(point.x, point.z);
  if (point.y < 0.0f || point.y > cell.top) return false;
  switch (cell.kind) {
    case Kind::kWall: return false;
    case Kind::kDoorway: return doorsOpen;
    default: return true;
  }
}


bool ClearLine(V3 a, V3 b, bool doorsOpen) {
  const float length = Length(b - a);
  const int steps = std::max(1, static_cast<int>(std::ceil(length / 20.0f)));
  for (int i = 0; i <= steps; ++i) {
    if (!SeeThrough(Lerp(a, b, static_cast<float>(i) / static_cast<float>(steps)), doorsOpen)) return false;
  }
  return true;
}

bool Clear(V3 point, float margin, bool doorsOpen) {
  const V3 offsets[] = {V3(margin, 0, 0), V3(-margin, 0, 0), V3(0, 0, margin),
                        V3(0, 0, -margin), V3(0, margin, 0), V3(0, -margin, 0)};
  for (const V3& d : offsets) {
    if (!ClearLine(point, point + d, doorsOpen)) return false;
  }
  return true;
}

unsigned AreasAlong(V3 eye, V3 direction, float length, bool doorsOpen) {
  const V3 d = Normalize(direction);
  unsigned reached = 0;
  for (float s = 0; s <= length; s += 20.0f) {
    const V3 p = eye + d * s;
    if (!SeeThrough(p, doorsOpen)) break;
    reached |= Bit(AreaOf(ThePlan().At(p.x, p.z), p.y));
  }
  return reached;
}

}  // namespace datagen::space
