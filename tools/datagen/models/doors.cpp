// "doors": the two sliding leaves of the hall's exit, and their animation. Each leaf is
// stored where it stands closed; its node slides it aside between 115.5 and 117 s and
// then holds it open, so the robot runs through about when the passage opens (show::kPassageOpen).
#include <cmath>

#include "datagen/animation/node_keys.h"
#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/world/layout.h"

namespace datagen {
namespace {

constexpr float kOpenStart = 115.5f;
constexpr float kOpenEnd = 117.0f;
constexpr float kLeafThickness = 50.0f;

// One leaf: a riveted plate with a window strip, a handle bar and a hazard edge.
MeshBuilder Leaf(float x0, float x1, float z, bool left) {
  using namespace layout;
  MeshBuilder leaf;
  const Paint steel{"door_steel", 700.0f, UvMapping::kWorld};
  const Paint hazard{"hazard", 240.0f, UvMapping::kWorld};
  const Paint rubber{"rubber"};
  const Paint dark{"hall_metal", 400.0f};
  const float zc = z, h = kDoorHeight - 10.0f;
  // Plate, with the meeting edge painted in stripes.
  const float edge = left ? x1 - 60.0f : x0 + 60.0f;
  BoxBetween(leaf, steel, V3(left ? x0 : edge, 0, zc - 0.5f * kLeafThickness),
             V3(left ? edge : x1, h, zc + 0.5f * kLeafThickness));
  BoxBetween(leaf, hazard, V3(left ? edge : x0, 0, zc - 0.5f * kLeafThickness),
             V3(left ? x1 : edge, h, zc + 0.5f * kLeafThickness));
  // Rubber seal along the meeting edge and a frame band at the top.
  const float sealX = left ? x1 : x0;
  BoxBetween(leaf, rubber, V3(sealX - 8, 0, zc - 18), V3(sealX + 8, h, zc + 18));
  BoxBetween(leaf, dark, V3(x0, h - 90, zc - 0.5f * kLeafThickness - 6), V3(x1, h - 40, zc + 0.5f * kLeafThickness + 6));
  // Handle bars on both faces.
  const float hx = left ? x1 - 140.0f : x0 + 140.0f;
  for (float side : {-1.0f, 1.0f}) {
    const float face = zc + side * (0.5f * kLeafThickness + 30.0f);
    CylinderBetween(leaf, Paint{"machine_steel", 200.0f}, V3(hx, 420, face), V3(hx, 900, face), 12, 10);
  }
  return leaf;
}

}  // namespace

bool BuildDoors(Context& context) {
  using namespace layout;
  const float centre = kDoorCentreX, half = 0.5f * kDoorWidth;
  // The leaves meet in the middle and overlap the opening's sides by 40.
  const float z = kDoorWallZ - 40.0f;
  ModelBuilder model;
  model.AddMesh("door_left", Leaf(centre - half - 40.0f, centre, z, true), 1);
  model.AddMesh("door_right", Leaf(centre, centre + half + 40.0f, z, false), 2);
  if (!context.WriteModel("doors", model)) return false;

  animation_file::AnimationData animation;
  for (int leaf = 0; leaf < 2; ++leaf) {
    const float travel = (leaf == 0 ? -1.0f : 1.0f) * (half + 60.0f);
    // Closed, a smooth slide (eased in and out), then open; repeated keys at both
    // ends keep the spline from overshooting.
    std::vector<PositionKey> keys = {{0.0f, V3()}, {kOpenStart - 0.2f, V3()}, {kOpenStart, V3()}};
    const int steps = 15;
    for (int i = 1; i < steps; ++i) {
      const float s = static_cast<float>(i) / static_cast<float>(steps);
      const float eased = s * s * (3.0f - 2.0f * s);
      keys.push_back({kOpenStart + s * (kOpenEnd - kOpenStart), V3(travel * eased, 0, 0)});
    }
    keys.push_back({kOpenEnd, V3(travel, 0, 0)});
    keys.push_back({kOpenEnd + 0.2f, V3(travel, 0, 0)});
    keys.push_back({240.0f, V3(travel, 0, 0)});
    animation.nodes.push_back(MakeNode(leaf + 1, VectorKeys(keys), ConstantRotation(Quat())));
  }
  return context.WriteAnimation("doors", animation);
}

}  // namespace datagen
