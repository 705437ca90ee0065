#include "scenes/frames.h"

sm::Mat4 FrameMatrix(const sm::Vec3& x, const sm::Vec3& y, const sm::Vec3& z, const sm::Vec3& origin) {
  sm::Mat4 m;
  const sm::Vec3* columns[4] = {&x, &y, &z, &origin};
  for (int c = 0; c < 4; ++c) {
    m.a[4 * c + 0] = columns[c]->x;
    m.a[4 * c + 1] = columns[c]->y;
    m.a[4 * c + 2] = columns[c]->z;
    m.a[4 * c + 3] = c == 3 ? 1.0f : 0.0f;
  }
  return m;
}

sm::Mat4 LookAt(const sm::Vec3& target, const sm::Vec3& eye) {
  const sm::Vec3 z = sm::Normalized(Minus(eye, target));
  const sm::Vec3 x = sm::Normalized(sm::Cross(sm::Vec3(0, 1, 0), z));
  const sm::Vec3 y = sm::Cross(z, x);
  return FrameMatrix(x, y, z, eye);
}

sm::Mat4 AimFrame(const sm::Vec3& at, const sm::Vec3& toward, const sm::Vec3& up) {
  const sm::Vec3 z = sm::Normalized(Minus(at, toward));
  const sm::Vec3 x = sm::Normalized(sm::Cross(up, z));
  return FrameMatrix(sm::Cross(x, z), z, x, at);
}

sm::Mat4 RiseFrame(const sm::Vec3& up, const sm::Vec3& at, const sm::Vec3& toward) {
  const sm::Vec3 y = sm::Normalized(Minus(toward, at));
  const sm::Vec3 z = sm::Normalized(sm::Cross(up, y));
  return FrameMatrix(sm::Cross(z, y), y, z, at);
}
