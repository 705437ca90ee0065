#pragma once
// The frame constructions that place the robot's parts, the welding arms' segments and
// the light that follows the robot: each builds a matrix whose columns 0, 1, 2 are the
// frame's axes and whose column 3 is its origin. Normalising leaves a zero vector as
// it is, so a degenerate direction gives a flat (singular) frame, never NaN.
#include "anim/math.h"

// Small vector arithmetic on x, y, z (w = 1 in every result).
inline sm::Vec3 Plus(const sm::Vec3& a, const sm::Vec3& b) { return sm::Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline sm::Vec3 Minus(const sm::Vec3& a, const sm::Vec3& b) { return sm::Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline sm::Vec3 Scaled(const sm::Vec3& v, float s) { return sm::Vec3(v.x * s, v.y * s, v.z * s); }

// The point (0, 0, 0, 1) carried by the matrix: its translation column.
inline sm::Vec3 Origin(const sm::Mat4& m) { return sm::Vec3(m.a[12], m.a[13], m.a[14]); }

// A frame at eye whose -z axis points at target and whose x axis is horizontal:
// z = normalise(eye − target), x = normalise((0, 1, 0) × z), y = z × x.
sm::Mat4 LookAt(const sm::Vec3& target, const sm::Vec3& eye);

// A frame at `at` whose y axis points away from `toward` and whose z axis is the
// normalised up × y direction: z = normalise(at − toward), x = normalise(up × z);
// columns (x × z), z, x.
sm::Mat4 AimFrame(const sm::Vec3& at, const sm::Vec3& toward, const sm::Vec3& up);

// A frame at `at` whose y axis points at `toward`: y = normalise(toward − at),
// z = normalise(up × y); columns (z × y), y, z.
sm::Mat4 RiseFrame(const sm::Vec3& up, const sm::Vec3& at, const sm::Vec3& toward);

// The matrix with the given axis columns and origin.
sm::Mat4 FrameMatrix(const sm::Vec3& x, const sm::Vec3& y, const sm::Vec3& z, const sm::Vec3& origin);
