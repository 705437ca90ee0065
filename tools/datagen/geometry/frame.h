#pragma once
// A placement for building parts in their own coordinates: an origin and three axes
// (orthonormal in practice). Shapes take a frame, so a lamp or a column is modelled
// once around its own origin and placed anywhere, turned any way.
#include "datagen/geometry/vec.h"

namespace datagen {

struct Frame {
  V3 origin;
  V3 x{1, 0, 0};
  V3 y{0, 1, 0};
  V3 z{0, 0, 1};

  // A point and a direction given in the frame's coordinates, in world coordinates.
  V3 Point(V3 local) const { return origin + x * local.x + y * local.y + z * local.z; }
  V3 Point(float lx, float ly, float lz) const { return Point(V3(lx, ly, lz)); }
  V3 Direction(V3 local) const { return x * local.x + y * local.y + z * local.z; }

  // The frame moved by a local offset, axes unchanged.
  Frame Moved(V3 local) const {
    Frame f = *this;
    f.origin = Point(local);
    return f;
  }
  Frame Moved(float lx, float ly, float lz) const { return Moved(V3(lx, ly, lz)); }

  // The matrix taking frame coordinates to world coordinates (column-major).
  sm::Mat4 Matrix() const {
    sm::Mat4 m;
    const V3 columns[4] = {x, y, z, origin};
    for (int i = 0; i < 4; ++i) {
      m.a[4 * i + 0] = columns[i].x;
      m.a[4 * i + 1] = columns[i].y;
      m.a[4 * i + 2] = columns[i].z;
      m.a[4 * i + 3] = i == 3 ? 1.0f : 0.0f;
    }
    return m;
  }

  // The world frame moved to origin.
  static Frame At(V3 origin) {
    Frame f;
    f.origin = origin;
    return f;
  }
  static Frame At(float ox, float oy, float oz) { return At(V3(ox, oy, oz)); }

  // Turned about the world's vertical by angle (radians, counter-clockwise seen from
  // above): local +z goes to (sin a, 0, cos a).
  static Frame Yawed(V3 origin, float angle) {
    Frame f;
    f.origin = origin;
    const float c = std::cos(angle), s = std::sin(angle);
    f.x = V3(c, 0, -s);
    f.z = V3(s, 0, c);
    return f;
  }

  // Local +z along forward, local +y as close to up as forward allows.
  static Frame Facing(V3 origin, V3 forward, V3 up = V3(0, 1, 0)) {
    Frame f;
    f.origin = origin;
    f.z = Normalize(forward);
    f.x = Normalize(Cross(up, f.z));
    if (Length(f.x) == 0) f.x = V3(1, 0, 0);
    f.y = Cross(f.z, f.x);
    return f;
  }

  // Local +y along axis (for shapes built along y: cylinders, posts), +z as close to
  // hint as axis allows.
  static Frame AlongY(V3 origin, V3 axis, V3 hint = V3(0, 0, 1)) {
    Frame f;
    f.origin = origin;
    f.y = Normalize(axis);
    if (std::fabs(Dot(f.y, Normalize(hint))) > 0.99f) hint = std::fabs(f.y.x) < 0.9f ? V3(1, 0, 0) : V3(0, 0, 1);
    f.x = Normalize(Cross(f.y, hint));
    f.z = Cross(f.x, f.y);
    return f;
  }
};

}  // namespace datagen
