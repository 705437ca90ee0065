#pragma once
// The set pieces the hall and the passage are furnished with: structural steel, lamps,
// railings, pipes, crates, barrels, monitors. Each adds its triangles to a builder in
// world coordinates.
#include <vector>

#include "datagen/geometry/frame.h"
#include "datagen/geometry/mesh_builder.h"

namespace datagen {

// Common paints of the world.
namespace paints {
const Paint kFloor{"hall_floor", 1600.0f};
const Paint kWall{"hall_wall", 2700.0f};
const Paint kRoof{"hall_roof", 600.0f};
const Paint kSteel{"hall_metal", 500.0f};
const Paint kYellow{"paint_yellow", 500.0f};
const Paint kRed{"paint_red", 500.0f};
const Paint kBlue{"paint_blue", 500.0f};
const Paint kGreen{"paint_green", 500.0f};
const Paint kWhite{"paint_white", 500.0f};
const Paint kHazard{"hazard", 300.0f};
const Paint kGrating{"grating", 300.0f};
const Paint kMachine{"machine_steel", 300.0f};
const Paint kRubber{"rubber"};
const Paint kScreen{"monitor_glass"};
const Paint kLamp{"glow_lamp", 100.0f};
const Paint kMonitorGlow{"glow_monitor", 100.0f};
const Paint kSign{"glow_sign", 100.0f};
const Paint kGreenGlow{"glow_green", 100.0f};
const Paint kStrip{"glow_passage_light", 100.0f};
const Paint kWindow{"glow_window", 600.0f};
const Paint kReadout{"glow_screen"};
}  // namespace paints

// A vertical I-beam column from the floor to height, its web along z, with a base plate.
void Column(MeshBuilder& out, V3 base, float height, const Paint& paint);
// A straight beam of square section between two points.
void Beam(MeshBuilder& out, V3 a, V3 b, float size, const Paint& paint);
// An industrial lamp hanging from a cable: a conical shade over a glowing disc whose
// bottom is at `bottom`.
void HangingLamp(MeshBuilder& out, V3 bottom, float cableTop, float radius = 110.0f);
// A railing along a to b (on the floor line), posts every spacing, two rails.
void Railing(MeshBuilder& out, V3 a, V3 b, float height, const Paint& paint, float spacing = 450.0f);
// A run of pipe through the points with flanges at the joints, held by brackets down
// to bracketY where given.
void PipeRun(MeshBuilder& out, const std::vector<V3>& points, float radius, const Paint& paint);
// A wooden-looking crate is out of place in a factory: a steel transport box, ribbed.
void Crate(MeshBuilder& out, const Frame& frame, V3 half, const Paint& paint);
// An oil drum standing on the floor.
void Barrel(MeshBuilder& out, V3 base, const Paint& paint);
// A monitor on the frame's origin facing +z (its face width x height), with a bezel
// and a back case; the face shows its material's picture once (dark glass or a
// glowing readout).
void Monitor(MeshBuilder& out, const Frame& frame, float width, float height, const Paint& face);
// The pool of light a lamp throws on the floor: a translucent disc of that radius
// just above the floor at centre.
void LightPool(MeshBuilder& out, V3 centre, float radius);
// A faint cone of light from a lamp's mouth at top down to the floor.
void LightShaft(MeshBuilder& out, V3 top, float topRadius, float floorRadius);
// A strip light: a thin glowing bar along a to b in a dark housing.
void StripLight(MeshBuilder& out, V3 a, V3 b, float width, V3 facing);

}  // namespace datagen
