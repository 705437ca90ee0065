#pragma once
// Rotations for authoring animations: unit quaternions with the usual Hamilton
// product (a * b turns by b first, then by a), built from axes and angles or from the
// three axes of a frame.
#include "datagen/geometry/vec.h"

namespace datagen {

struct Quat {
  float w = 1, x = 0, y = 0, z = 0;
};

Quat operator*(const Quat& a, const Quat& b);
Quat Conjugate(const Quat& q);
Quat Normalize(const Quat& q);
// Turning by angle (radians, right-handed) about axis (need not be unit).
Quat AxisAngle(V3 axis, float angle);
// The rotation that takes the world axes to x, y and z (an orthonormal, right-handed
// frame: the columns of its matrix).
Quat FromBasis(V3 x, V3 y, V3 z);
V3 Rotate(const Quat& q, V3 v);
// Axis (unit) and angle in [0, pi] of the rotation; the identity gives (0, 1, 0), 0.
void ToAxisAngle(const Quat& q, V3& axis, float& angle);
// Turning about the vertical so that +z faces the horizontal direction (x, z).
Quat Heading(float directionX, float directionZ);

}  // namespace datagen
