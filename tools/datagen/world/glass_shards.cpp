#include "datagen/world/glass_shards.h"

#include <cmath>

#include "datagen/texture/noise.h"
#include "datagen/world/layout.h"

namespace datagen {

std::vector<V2> ClipToHalfPlane(const std::vector<V2>& polygon, V2 p, V2 n) {
  std::vector<V2> out;
  const auto side = [&](V2 q) { return (q.x - p.x) * n.x + (q.y - p.y) * n.y; };
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const V2 a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    const float sa = side(a), sb = side(b);
    if (sa <= 0) out.push_back(a);
    if ((sa < 0 && sb > 0) || (sa > 0 && sb < 0)) {
      const float t = sa / (sa - sb);
      out.push_back(a + (b - a) * t);
    }
  }
  return out;
}

V2 PolygonCentroid(const std::vector<V2>& outline) {
  float area = 0, cx = 0, cy = 0;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const V2 a = outline[i], b = outline[(i + 1) % outline.size()];
    const float cross = Cross(a, b);
    area += cross;
    cx += (a.x + b.x) * cross;
    cy += (a.y + b.y) * cross;
  }
  if (std::fabs(area) < 1e-6f) return outline.empty() ? V2() : outline[0];
  return V2(cx / (3.0f * area), cy / (3.0f * area));
}

std::vector<std::vector<V2>> GlassShardOutlines() {
  using namespace layout;
  const float z0 = kGlassCentreZ - 0.5f * kGlassWidth, z1 = kGlassCentreZ + 0.5f * kGlassWidth;
  const float y0 = 0.0f, y1 = kGlassHeight;
  // Where the robot's shoulder meets the glass.
  const V2 impact(kGlassCentreZ + 60.0f, 560.0f);
  std::vector<V2> seeds;
  const int count = 96;
  for (int i = 0; seeds.size() < static_cast<std::size_t>(count); ++i) {
    const V2 candidate(z0 + Hash01(i, 0, 4242) * kGlassWidth, y0 + Hash01(i, 1, 4242) * kGlassHeight);
    // Keep a candidate with a probability that falls off with its distance from the
    // impact: small shards around it, large ones toward the frame.
    const float d = std::hypot(candidate.x - impact.x, candidate.y - impact.y) / 700.0f;
    if (Hash01(i, 2, 4242) < 1.0f / (1.0f + 3.0f * d * d)) seeds.push_back(candidate);
  }
  const std::vector<V2> pane = {{z0, y0}, {z1, y0}, {z1, y1}, {z0, y1}};
  std::vector<std::vector<V2>> shards;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    std::vector<V2> cell = pane;
    for (std::size_t j = 0; j < seeds.size() && cell.size() >= 3; ++j) {
      if (i == j) continue;
      const V2 mid = (seeds[i] + seeds[j]) * 0.5f;
      cell = ClipToHalfPlane(cell, mid, seeds[j] - seeds[i]);
    }
    if (cell.size() >= 3) shards.push_back(cell);
  }
  return shards;
}

}  // namespace datagen
