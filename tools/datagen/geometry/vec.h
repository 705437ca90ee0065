#pragma once
// Small 3D and 2D vector arithmetic for content authoring: the modelling code reads
// like the geometry it builds. Converts to the program's sm::Vec3 where files need it.
#include <cmath>

#include "anim/math.h"

namespace datagen {

struct V3 {
  float x = 0, y = 0, z = 0;
  constexpr V3() = default;
  constexpr V3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  explicit V3(const sm::Vec3& v) : x(v.x), y(v.y), z(v.z) {}
  sm::Vec3 ToSm() const { return sm::Vec3(x, y, z); }
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator-(V3 a) { return {-a.x, -a.y, -a.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline V3 operator*(float s, V3 a) { return a * s; }
inline V3 operator/(V3 a, float s) { return {a.x / s, a.y / s, a.z / s}; }
inline V3& operator+=(V3& a, V3 b) { return a = a + b; }
inline V3& operator-=(V3& a, V3 b) { return a = a - b; }
inline float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(V3 a) { return std::sqrt(Dot(a, a)); }
// Unit vector; the zero vector stays zero.
inline V3 Normalize(V3 a) {
  const float length = Length(a);
  return length > 0 ? a / length : a;
}
inline V3 Lerp(V3 a, V3 b, float t) { return a + (b - a) * t; }

struct V2 {
  float x = 0, y = 0;
  constexpr V2() = default;
  constexpr V2(float x_, float y_) : x(x_), y(y_) {}
};

inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator*(V2 a, float s) { return {a.x * s, a.y * s}; }
inline float Cross(V2 a, V2 b) { return a.x * b.y - a.y * b.x; }

constexpr float kPi = 3.14159265358979f;

}  // namespace datagen
