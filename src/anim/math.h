#pragma once
// Vectors, quaternions and column-major 4x4 matrices in 32-bit floats, laid out so
// that matrices go to and come from OpenGL (glLoadMatrixf, glGetFloatv) unchanged.
// Angles are radians everywhere except in Perspective, which takes degrees like GLU.

namespace sm {

// A homogeneous 3-vector; w is 1 in every vector the system builds.
struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;

  Vec3() = default;
  Vec3(float x_, float y_, float z_, float w_ = 1.0f) : x(x_), y(y_), z(z_), w(w_) {}
};

// Scalar part w, then the vector part (whose own w stays 1).
struct Quat {
  float w = 1.0f;
  Vec3 v{0.0f, 0.0f, 0.0f};

  Quat() = default;
  Quat(float w_, float x, float y, float z) : w(w_), v(x, y, z) {}
};

// Element (row r, column c) is a[4c + r]; the translation is at 12, 13, 14.
struct Mat4 {
  float a[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Matrix operations write into a caller-provided matrix and return it.
Mat4& Identity(Mat4& target);
// The glRotatef matrix, angle in radians; the axis is used as passed (not normalised).
Mat4& Rotation(Mat4& target, float angle, float x, float y, float z);
// result = b · a: a is applied first. result must be distinct from a and b.
Mat4& Multiply(Mat4& result, const Mat4& a, const Mat4& b);
// General cofactor inverse; callers pass invertible matrices.
Mat4& Inverse(const Mat4& source, Mat4& result);
// result = matrix · (x, y, z, w) of the input; no division by w.
Vec3& Transform(const Mat4& matrix, const Vec3& input, Vec3& result);
// GLU-style perspective projection, vertical field of view in degrees.
Mat4& Perspective(Mat4& target, float fovDegrees, float aspect, float zNear, float zFar);

// Convenience forms of the operations above, returning by value.
Mat4 Product(const Mat4& applyFirst, const Mat4& applySecond);  // applySecond · applyFirst
Mat4 Translation(float x, float y, float z);
Mat4 RotationMatrix(float angle, float x, float y, float z);
Mat4 Inverted(const Mat4& source);
Vec3 Transformed(const Mat4& matrix, const Vec3& input);

// Scales x, y, z to unit length; a zero vector is left unchanged (w untouched).
void Normalize(Vec3& v);
// Unit-length copy with w = 1; the zero vector gives (0, 0, 0, 1).
Vec3& Normalized(const Vec3& input, Vec3& result);
Vec3 Normalized(const Vec3& input);

float Dot(const Vec3& a, const Vec3& b);      // x, y, z only
Vec3 Cross(const Vec3& a, const Vec3& b);     // w = 1
float Length(const Vec3& v);                  // x, y, z only

// The unit quaternion for a rotation of angle about axis (axis used as passed).
Quat& FromAxisAngle(Quat& target, const Vec3& axis, float angle);
// angle = 2·acos(w) (w clamped to [-1, 1]); for a zero angle the axis output is
// left untouched.
void ToAxisAngle(const Quat& q, Vec3& axis, float& angle);
// Scales to unit length; the all-zero quaternion is left unchanged.
void Normalize(Quat& q);
// Hamilton product b ⊗ a: the rotation a is applied first, then b.
Quat& Multiply(Quat& result, const Quat& a, const Quat& b);

}  // namespace sm
