#include "datagen/animation/orientation.h"

#include <algorithm>
#include <cmath>

namespace datagen {

Quat operator*(const Quat& a, const Quat& b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Quat Conjugate(const Quat& q) { return {q.w, -q.x, -q.y, -q.z}; }

Quat Normalize(const Quat& q) {
  const float n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  return n > 0 ? Quat{q.w / n, q.x / n, q.y / n, q.z / n} : Quat{};
}

Quat AxisAngle(V3 axis, float angle) {
  const V3 u = Normalize(axis);
  const float s = std::sin(0.5f * angle);
  return {std::cos(0.5f * angle), u.x * s, u.y * s, u.z * s};
}

Quat FromBasis(V3 x, V3 y, V3 z) {
  // Shepperd's method: pick the largest of the four candidates for numerical safety.
  const float m00 = x.x, m11 = y.y, m22 = z.z;
  const float trace = m00 + m11 + m22;
  Quat q;
  if (trace > 0) {
    const float s = 0.5f / std::sqrt(trace + 1.0f);
    q = {0.25f / s, (y.z - z.y) * s, (z.x - x.z) * s, (x.y - y.x) * s};
  } else if (m00 > m11 && m00 > m22) {
    const float s = 2.0f * std::sqrt(1.0f + m00 - m11 - m22);
    q = {(y.z - z.y) / s, 0.25f * s, (y.x + x.y) / s, (z.x + x.z) / s};
  } else if (m11 > m22) {
    const float s = 2.0f * std::sqrt(1.0f + m11 - m00 - m22);
    q = {(z.x - x.z) / s, (y.x + x.y) / s, 0.25f * s, (z.y + y.z) / s};
  } else {
    const float s = 2.0f * std::sqrt(1.0f + m22 - m00 - m11);
    q = {(x.y - y.x) / s, (z.x + x.z) / s, (z.y + y.z) / s, 0.25f * s};
  }
  return Normalize(q);
}

V3 Rotate(const Quat& q, V3 v) {
  const Quat p{0, v.x, v.y, v.z};
  const Quat r = q * p * Conjugate(q);
  return {r.x, r.y, r.z};
}

void ToAxisAngle(const Quat& q, V3& axis, float& angle) {
  Quat n = Normalize(q);
  if (n.w < 0) n = {-n.w, -n.x, -n.y, -n.z};
  const float s = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  angle = 2.0f * std::atan2(s, n.w);
  axis = s > 1e-9f ? V3(n.x / s, n.y / s, n.z / s) : V3(0, 1, 0);
}

Quat Heading(float directionX, float directionZ) {
  return AxisAngle(V3(0, 1, 0), std::atan2(directionX, directionZ));
}

}  // namespace datagen
