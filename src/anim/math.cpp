#include "anim/math.h"

#include <cmath>

namespace sm {

Mat4& Identity(Mat4& target) {
  for (int i = 0; i < 16; ++i) target.a[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  return target;
}

Mat4& Rotation(Mat4& target, float angle, float x, float y, float z) {
  Identity(target);
  const float co = std::cos(angle);
  const float si = std::sin(angle);
  const float t = 1.0f - co;
  float* m = target.a;
  m[0] = co + x * x * t;
  m[1] = x * y * t + z * si;
  m[2] = x * z * t - y * si;
  m[4] = x * y * t - z * si;
  m[5] = co + y * y * t;
  m[6] = y * z * t + x * si;
  m[8] = x * z * t + y * si;
  m[9] = y * z * t - x * si;
  m[10] = co + z * z * t;
  return target;
}

Mat4& Multiply(Mat4& result, const Mat4& a, const Mat4& b) {
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.a[4 * j + k] * b.a[4 * k + i];
      result.a[4 * j + i] = sum;
    }
  }
  return result;
}

Mat4& Inverse(const Mat4& source, Mat4& result) {
  const float* m = source.a;
  float inv[16];
  inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
           m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
  inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
           m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
  inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] +
           m[5] * m[3] * m[14] + m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
  inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
           m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
  inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
           m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
  inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
           m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
  inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
           m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
  inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] +
           m[4] * m[3] * m[10] + m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
  inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
           m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
  inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
           m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
  inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
            m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
  inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] -
            m[4] * m[3] * m[9] - m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
  inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
            m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
  inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
            m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
  inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
            m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
  inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] +
            m[4] * m[2] * m[9] + m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
  // Expansion along the first column: elements 0, 4, 8, 12 with the cofactors 0..3.
  const float det = m[0] * inv[0] + m[4] * inv[1] + m[8] * inv[2] + m[12] * inv[3];
  const float scale = 1.0f / det;
  for (int i = 0; i < 16; ++i) result.a[i] = inv[i] * scale;
  return result;
}

Vec3& Transform(const Mat4& matrix, const Vec3& input, Vec3& result) {
  const float in[4] = {input.x, input.y, input.z, input.w};
  float out[4];
  for (int i = 0; i < 4; ++i) {
    out[i] = matrix.a[i] * in[0] + matrix.a[i + 4] * in[1] + matrix.a[i + 8] * in[2] +
             matrix.a[i + 12] * in[3];
  }
  result.x = out[0];
  result.y = out[1];
  result.z = out[2];
  result.w = out[3];
  return result;
}

Mat4& Perspective(Mat4& target, float fovDegrees, float aspect, float zNear, float zFar) {
  Identity(target);
  const float f = 1.0f / std::tan(fovDegrees / 180.0f * 3.1415927f * 0.5f);
  target.a[0] = f / aspect;
  target.a[5] = f;
  target.a[10] = (zNear + zFar) / (zNear - zFar);
  target.a[11] = -1.0f;
  target.a[14] = 2.0f * zNear * zFar / (zNear - zFar);
  target.a[15] = 0.0f;
  return target;
}

Mat4 Product(const Mat4& applyFirst, const Mat4& applySecond) {
  Mat4 result;
  return Multiply(result, applyFirst, applySecond);
}

Mat4 Translation(float x, float y, float z) {
  Mat4 m;
  m.a[12] = x;
  m.a[13] = y;
  m.a[14] = z;
  return m;
}

Mat4 RotationMatrix(float angle, float x, float y, float z) {
  Mat4 m;
  return Rotation(m, angle, x, y, z);
}

Mat4 Inverted(const Mat4& source) {
  Mat4 m;
  return Inverse(source, m);
}

Vec3 Transformed(const Mat4& matrix, const Vec3& input) {
  Vec3 v;
  return Transform(matrix, input, v);
}

float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

void Normalize(Vec3& v) {
  const float length = Length(v);
  if (length == 0.0f) return;
  v.x /= length;
  v.y /= length;
  v.z /= length;
}

Vec3& Normalized(const Vec3& input, Vec3& result) {
  const float length = Length(input);
  if (length == 0.0f) {
    result = Vec3(0.0f, 0.0f, 0.0f);
  } else {
    result = Vec3(input.x / length, input.y / length, input.z / length);
  }
  return result;
}

Vec3 Normalized(const Vec3& input) {
  Vec3 v;
  return Normalized(input, v);
}

Quat& FromAxisAngle(Quat& target, const Vec3& axis, float angle) {
  const float s = std::sin(angle / 2.0f);
  target.w = std::cos(angle / 2.0f);
  target.v = Vec3(axis.x * s, axis.y * s, axis.z * s);
  Normalize(target);
  return target;
}

void ToAxisAngle(const Quat& q, Vec3& axis, float& angle) {
  // A track's value normalised in float can land a rounding step outside [-1, 1];
  // acos would turn that into NaN and spoil every matrix built from it.
  const float w = q.w > 1.0f ? 1.0f : (q.w < -1.0f ? -1.0f : q.w);
  angle = 2.0f * std::acos(w);
  if (angle == 0.0f) return;
  const float scale = 1.0f / std::sin(angle / 2.0f);
  axis = Vec3(q.v.x * scale, q.v.y * scale, q.v.z * scale);
}

void Normalize(Quat& q) {
  const float n = std::sqrt(q.w * q.w + (q.v.x * q.v.x + q.v.y * q.v.y + q.v.z * q.v.z));
  if (n == 0.0f) return;
  const float scale = 1.0f / n;
  q.w *= scale;
  q.v.x *= scale;
  q.v.y *= scale;
  q.v.z *= scale;
  q.v.w = 1.0f;
}

Quat& Multiply(Quat& result, const Quat& a, const Quat& b) {
  // Computed into a local first, so result may alias a or b.
  const Vec3& av = a.v;
  const Vec3& bv = b.v;
  Quat r;
  r.w = a.w * b.w - (av.x * bv.x + av.y * bv.y + av.z * bv.z);
  r.v.x = a.w * bv.x + b.w * av.x + (av.z * bv.y - av.y * bv.z);
  r.v.y = a.w * bv.y + b.w * av.y + (av.x * bv.z - av.z * bv.x);
  r.v.z = a.w * bv.z + b.w * av.z + (av.y * bv.x - av.x * bv.y);
  r.v.w = 1.0f;
  result = r;
  return result;
}

}  // namespace sm
