#include "datagen/world/props.h"

#include <algorithm>
#include <cmath>

#include "datagen/geometry/shapes.h"

namespace datagen {

void Column(MeshBuilder& out, V3 base, float height, const Paint& paint) {
  SweepProfile(out, paint, base, base + V3(0, height, 0), V3(0, 0, 1), IBeamProfile(180, 160, 16));
  BoxBetween(out, paints::kSteel, base + V3(-120, 0, -120), base + V3(120, 12, 120), kNoBottom);
}

void Beam(MeshBuilder& out, V3 a, V3 b, float size, const Paint& paint) {
  const float h = 0.5f * size;
  const V3 up = std::fabs(Normalize(b - a).y) > 0.9f ? V3(0, 0, 1) : V3(0, 1, 0);
  SweepProfile(out, paint, a, b, up, {{-h, -h}, {h, -h}, {h, h}, {-h, h}});
}

void HangingLamp(MeshBuilder& out, V3 bottom, float cableTop, float radius) {
  // Cable, cap, shade (open below), and the glowing lamp inside the shade's mouth.
  CylinderBetween(out, paints::kRubber, bottom + V3(0, 120, 0), V3(bottom.x, cableTop, bottom.z), 4, 6, false);
  Cylinder(out, paints::kSteel, Frame::At(bottom + V3(0, 95, 0)), 26, 26, 30, 12);
  Cylinder(out, paints::kGreen, Frame::At(bottom + V3(0, 10, 0)), radius, 30, 90, 20, false, true);
  Cylinder(out, paints::kLamp, Frame::At(bottom + V3(0, 14, 0)), radius * 0.8f, radius * 0.5f, 20, 20, true, false);
}

void Railing(MeshBuilder& out, V3 a, V3 b, float height, const Paint& paint, float spacing) {
  const float length = Length(b - a);
  const int posts = std::max(1, static_cast<int>(std::ceil(length / spacing)));
  for (int i = 0; i <= posts; ++i) {
    const V3 p = Lerp(a, b, static_cast<float>(i) / static_cast<float>(posts));
    CylinderBetween(out, paint, p, p + V3(0, height, 0), 8, 8);
  }
  for (float h : {height, 0.5f * height}) CylinderBetween(out, paint, a + V3(0, h, 0), b + V3(0, h, 0), 9, 8);
  // Toe board.
  const V3 side = Normalize(Cross(V3(0, 1, 0), b - a)) * 4.0f;
  out.Quad(paint, a - side, b - side, b - side + V3(0, 90, 0), a - side + V3(0, 90, 0));
  out.Quad(paint, b + side, a + side, a + side + V3(0, 90, 0), b + side + V3(0, 90, 0));
}

void PipeRun(MeshBuilder& out, const std::vector<V3>& points, float radius, const Paint& paint) {
  Tube(out, paint, points, radius, 14);
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const V3 a = points[i], b = points[i + 1];
    const float length = Length(b - a);
    const V3 d = Normalize(b - a);
    // Flanges every 1200 along each straight run.
    for (float s = 600.0f; s < length - 100.0f; s += 1200.0f) {
      const V3 c = a + d * s;
      CylinderBetween(out, paints::kSteel, c - d * 14.0f, c + d * 14.0f, radius * 1.35f, 14);
    }
  }
}

void Crate(MeshBuilder& out, const Frame& frame, V3 half, const Paint& paint) {
  BevelBox(out, paint, frame, half, std::min({half.x, half.y, half.z}) * 0.08f);
  // Corner posts and a band make the box read as a steel container.
  for (float sx : {-1.0f, 1.0f}) {
    for (float sz : {-1.0f, 1.0f}) {
      Box(out, paints::kSteel, frame.Moved(sx * (half.x - 14), 0, sz * (half.z - 14)), V3(18, half.y + 2, 18));
    }
  }
  Box(out, paints::kSteel, frame.Moved(0, 0, 0), V3(half.x + 3, 16, half.z + 3), kFacePosX | kFaceNegX | kFacePosZ | kFaceNegZ);
}

void Barrel(MeshBuilder& out, V3 base, const Paint& paint) {
  Cylinder(out, paint, Frame::At(base), 70, 70, 220, 20, false, true);
  for (float h : {60.0f, 160.0f}) Cylinder(out, paint, Frame::At(base + V3(0, h, 0)), 74, 74, 10, 20, false, false);
  Cylinder(out, paints::kSteel, Frame::At(base + V3(30, 220, 10)), 10, 10, 6, 8, false, true);
}

void Monitor(MeshBuilder& out, const Frame& frame, float width, float height, const Paint& face) {
  const float bezel = 26.0f, depth = 70.0f;
  Box(out, paints::kRubber, frame.Moved(0, 0, -0.5f * depth), V3(0.5f * width + bezel, 0.5f * height + bezel, 0.5f * depth));
  Box(out, paints::kSteel, frame.Moved(0, 0, -depth - 40), V3(0.3f * width, 0.3f * height, 40), kAllFaces & ~kFacePosZ);
  out.Picture(face.material, frame.Point(-0.5f * width, -0.5f * height, 1), frame.Point(0.5f * width, -0.5f * height, 1),
              frame.Point(0.5f * width, 0.5f * height, 1), frame.Point(-0.5f * width, 0.5f * height, 1));
  // A power light under the screen.
  Box(out, paints::kGreenGlow, frame.Moved(0.5f * width - 20, -0.5f * height - 13, 1), V3(6, 4, 2));
}

void LightPool(MeshBuilder& out, V3 centre, float radius) {
  const V3 c = centre + V3(0, 1.5f, 0);
  out.Picture("light_pool", c + V3(-radius, 0, radius), c + V3(radius, 0, radius), c + V3(radius, 0, -radius),
              c + V3(-radius, 0, -radius));
}

void LightShaft(MeshBuilder& out, V3 top, float topRadius, float floorRadius) {
  // One repeat of the picture from the floor (v = 0) to the lamp (v = 1).
  const Paint shaft{"light_shaft", top.y, UvMapping::kWorld};
  Cylinder(out, shaft, Frame::At(V3(top.x, 0, top.z)), floorRadius, topRadius, top.y - 10.0f, 24, false, false);
}

void StripLight(MeshBuilder& out, V3 a, V3 b, float width, V3 facing) {
  const V3 along = Normalize(b - a);
  const V3 side = Normalize(Cross(facing, along)) * (0.5f * width);
  const V3 f = Normalize(facing);
  // Housing behind, then the glowing face just in front of it.
  SweepProfile(out, paints::kSteel, a - along * 20.0f, b + along * 20.0f, f,
               {{-0.5f * width - 14, -12}, {0.5f * width + 14, -12}, {0.5f * width + 14, 0}, {-0.5f * width - 14, 0}});
  out.Quad(paints::kStrip, a - side + f * 2.0f, b - side + f * 2.0f, b + side + f * 2.0f, a + side + f * 2.0f);
}

}  // namespace datagen
