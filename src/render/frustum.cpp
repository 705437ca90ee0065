#include "render/frustum.h"

#include <cmath>

void UpdateFrustum(Frustum& frustum, const sm::Mat4& view, float nearDistance, float farDistance,
                   float fieldOfViewDegrees, float aspect) {
  const sm::Mat4 inverse = sm::Inverted(view);
  const float* m = inverse.a;
  frustum.position = sm::Vec3(m[12], m[13], m[14]);
  frustum.z = sm::Vec3(-m[8], -m[9], -m[10]);
  frustum.x = sm::Vec3(m[0], m[1], m[2]);
  frustum.y = sm::Vec3(m[4], m[5], m[6]);
  sm::Normalize(frustum.y);
  frustum.nearDistance = nearDistance;
  frustum.farDistance = farDistance;
  frustum.fieldOfView = fieldOfViewDegrees * 3.1415927f / 180.0f;
  frustum.aspect = aspect;
  frustum.tang = std::tan(frustum.fieldOfView * 0.5f);
}

namespace {

// Each boundary test asks whether some corner p of the box has (p - position) · D on
// the inner side of a limit, for a direction D: a linear function of the corner. Its
// extremes over the eight corners are the sums of the per-axis extremes, so each test
// costs three products per end instead of eight corner projections.
struct Extent {
  float low;
  float high;
};

// Plain comparisons rather than std::fmin/fmax, whose NaN rules keep them from being
// single instructions.
inline float Low(float a, float b) { return a < b ? a : b; }
inline float High(float a, float b) { return a > b ? a : b; }

Extent Span(const Box& box, const sm::Vec3& origin, float dx, float dy, float dz) {
  const float x0 = (box.minX - origin.x) * dx, x1 = (box.maxX - origin.x) * dx;
  const float y0 = (box.minY - origin.y) * dy, y1 = (box.maxY - origin.y) * dy;
  const float z0 = (box.minZ - origin.z) * dz, z1 = (box.maxZ - origin.z) * dz;
  return {Low(x0, x1) + Low(y0, y1) + Low(z0, z1), High(x0, x1) + High(y0, y1) + High(z0, z1)};
}

}  // namespace

bool BoxInFrustum(const Frustum& f, const Box& box) {
  const sm::Vec3& p = f.position;
  // Depth along the viewing direction: some corner beyond near, some before far.
  const Extent depth = Span(box, p, f.z.x, f.z.y, f.z.z);
  if (!(depth.high > f.nearDistance) || !(depth.low < f.farDistance)) return false;

  // Top and bottom: some corner with y < z·tang, some with y > -z·tang.
  const float t = f.tang;
  const Extent top = Span(box, p, f.y.x - t * f.z.x, f.y.y - t * f.z.y, f.y.z - t * f.z.z);
  if (!(top.low < 0.0f)) return false;
  const Extent bottom = Span(box, p, f.y.x + t * f.z.x, f.y.y + t * f.z.y, f.y.z + t * f.z.z);
  if (!(bottom.high > 0.0f)) return false;

  // Right and left, with the field of view widened by the aspect.
  const float ta = f.tang * f.aspect;
  const Extent right = Span(box, p, f.x.x - ta * f.z.x, f.x.y - ta * f.z.y, f.x.z - ta * f.z.z);
  if (!(right.low < 0.0f)) return false;
  const Extent left = Span(box, p, f.x.x + ta * f.z.x, f.x.y + ta * f.z.y, f.x.z + ta * f.z.z);
  return left.high > 0.0f;
}
