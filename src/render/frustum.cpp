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

// The projection of the eight corners (relative to the camera) on one axis. A corner
// picks min or max per axis; the dot product splits into one term per axis, so the
// eight values are sums of two candidates per axis.
void Project(const Box& box, const sm::Vec3& origin, const sm::Vec3& axis, float (&out)[8]) {
  const float x[2] = {(box.minX - origin.x) * axis.x, (box.maxX - origin.x) * axis.x};
  const float y[2] = {(box.minY - origin.y) * axis.y, (box.maxY - origin.y) * axis.y};
  const float z[2] = {(box.minZ - origin.z) * axis.z, (box.maxZ - origin.z) * axis.z};
  for (int i = 0; i < 8; ++i) out[i] = x[i & 1] + y[(i >> 1) & 1] + z[(i >> 2) & 1];
}

}  // namespace

bool BoxInFrustum(const Frustum& f, const Box& box) {
  float zp[8];
  Project(box, f.position, f.z, zp);
  bool beforeFar = false;
  bool beyondNear = false;
  for (float v : zp) {
    beyondNear = beyondNear || v > f.nearDistance;
    beforeFar = beforeFar || v < f.farDistance;
  }
  if (!beyondNear || !beforeFar) return false;

  float yp[8];
  Project(box, f.position, f.y, yp);
  bool belowTop = false;
  bool aboveBottom = false;
  for (int i = 0; i < 8; ++i) {
    const float limit = zp[i] * f.tang;
    belowTop = belowTop || yp[i] < limit;
    aboveBottom = aboveBottom || yp[i] > -limit;
  }
  if (!belowTop || !aboveBottom) return false;

  float xp[8];
  Project(box, f.position, f.x, xp);
  bool leftOfRight = false;
  bool rightOfLeft = false;
  for (int i = 0; i < 8; ++i) {
    const float limit = zp[i] * f.tang * f.aspect;
    leftOfRight = leftOfRight || xp[i] < limit;
    rightOfLeft = rightOfLeft || xp[i] > -limit;
  }
  return leftOfRight && rightOfLeft;
}
