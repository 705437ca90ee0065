#include "anim/math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kPi = 3.1415927f;

void ExpectVecNear(const sm::Vec3& v, float x, float y, float z, float w, float tolerance = 1e-5f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
  EXPECT_NEAR(v.w, w, tolerance);
}

void ExpectIdentityNear(const sm::Mat4& m, float tolerance) {
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m.a[i], i % 5 == 0 ? 1.0f : 0.0f, tolerance) << "element " << i;
  }
}

sm::Vec3 Apply(const sm::Mat4& m, float x, float y, float z, float w = 1.0f) {
  return sm::Transformed(m, sm::Vec3(x, y, z, w));
}

// The rotation of a unit quaternion as a matrix, the way node animations build it.
sm::Mat4 MatrixOf(const sm::Quat& q) {
  sm::Vec3 axis(1.0f, 0.0f, 0.0f);
  float angle = 0.0f;
  sm::ToAxisAngle(q, axis, angle);
  return sm::RotationMatrix(angle, axis.x, axis.y, axis.z);
}

TEST(Matrix, IdentityHasOnesOnTheDiagonalOnly) {
  sm::Mat4 m;
  for (float& e : m.a) e = 7.0f;
  sm::Identity(m);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m.a[i], (i == 0 || i == 5 || i == 10 || i == 15) ? 1.0f : 0.0f);
}

TEST(Matrix, RotationFollowsTheGlConventionInRadians) {
  // A quarter turn about +y takes the viewing direction -z to -x.
  const sm::Mat4 yaw = sm::RotationMatrix(kPi / 2, 0.0f, 1.0f, 0.0f);
  ExpectVecNear(Apply(yaw, 0.0f, 0.0f, -1.0f), -1.0f, 0.0f, 0.0f, 1.0f);
  // Counter-clockwise about +z when z points at the viewer: x goes to y.
  const sm::Mat4 roll = sm::RotationMatrix(kPi / 2, 0.0f, 0.0f, 1.0f);
  ExpectVecNear(Apply(roll, 1.0f, 0.0f, 0.0f), 0.0f, 1.0f, 0.0f, 1.0f);
  // Translation column and the last row stay those of the identity.
  for (int i : {3, 7, 11, 12, 13, 14}) EXPECT_EQ(yaw.a[i], 0.0f);
  EXPECT_EQ(yaw.a[15], 1.0f);
}

TEST(Matrix, RotationUsesTheAxisWithoutNormalisingIt) {
  // With axis (0, 2, 0): element 5 = cos + 4 (1 - cos), not cos + (1 - cos) = 1.
  const sm::Mat4 m = sm::RotationMatrix(kPi / 2, 0.0f, 2.0f, 0.0f);
  EXPECT_NEAR(m.a[5], std::cos(kPi / 2) + 4.0f * (1.0f - std::cos(kPi / 2)), 1e-6f);
}

TEST(Matrix, MultiplyAppliesTheFirstOperandFirst) {
  const sm::Mat4 t = sm::Translation(10.0f, 0.0f, 0.0f);
  const sm::Mat4 r = sm::RotationMatrix(kPi / 2, 0.0f, 0.0f, 1.0f);
  sm::Mat4 rotateThenTranslate;
  sm::Multiply(rotateThenTranslate, r, t);
  ExpectVecNear(Apply(rotateThenTranslate, 1.0f, 0.0f, 0.0f), 10.0f, 1.0f, 0.0f, 1.0f);

  sm::Mat4 translateThenRotate;
  sm::Multiply(translateThenRotate, t, r);
  ExpectVecNear(Apply(translateThenRotate, 1.0f, 0.0f, 0.0f), 0.0f, 11.0f, 0.0f, 1.0f);

  // The product is the column-major b · a, element by element.
  sm::Mat4 a;
  sm::Mat4 b;
  for (int i = 0; i < 16; ++i) {
    a.a[i] = static_cast<float>(i + 1);
    b.a[i] = static_cast<float>((i * 7) % 5 - 2);
  }
  sm::Mat4 result;
  sm::Multiply(result, a, b);
  for (int c = 0; c < 4; ++c) {
    for (int r2 = 0; r2 < 4; ++r2) {
      float expected = 0.0f;
      for (int k = 0; k < 4; ++k) expected += b.a[4 * k + r2] * a.a[4 * c + k];
      EXPECT_EQ(result.a[4 * c + r2], expected) << "row " << r2 << " column " << c;
    }
  }
  // Transforming by the product equals transforming by a and then by b.
  const sm::Vec3 p(0.5f, -1.5f, 2.0f);
  const sm::Vec3 viaProduct = sm::Transformed(sm::Product(r, t), p);
  const sm::Vec3 stepwise = sm::Transformed(t, sm::Transformed(r, p));
  ExpectVecNear(viaProduct, stepwise.x, stepwise.y, stepwise.z, stepwise.w);
}

TEST(Matrix, InverseRoundTripsRigidViewAndProjectionMatrices) {
  const sm::Mat4 rigid = sm::Product(sm::RotationMatrix(0.7f, 0.0f, 0.6f, 0.8f),
                                     sm::Translation(3.0f, -4.0f, 12.5f));
  sm::Mat4 view;
  sm::Multiply(view, sm::Translation(6.6f, -552.1f, -1843.2f), sm::RotationMatrix(-0.3f, 1.0f, 0.0f, 0.0f));
  sm::Mat4 projection;
  sm::Perspective(projection, 60.0f, 16.0f / 9.0f, 10.0f, 8000.0f);
  sm::Mat4 general;
  const float values[16] = {2, 1, 0, 0.5f, -1, 3, 1, 0, 0, 2, 4, 1, 1, 0, -2, 3};
  for (int i = 0; i < 16; ++i) general.a[i] = values[i];

  struct Case {
    const char* name;
    sm::Mat4 m;
    float tolerance;
  };
  for (const Case& c : {Case{"rigid", rigid, 1e-5f}, Case{"view", view, 1e-3f},
                        Case{"projection", projection, 1e-4f}, Case{"general", general, 1e-5f}}) {
    SCOPED_TRACE(c.name);
    const sm::Mat4 inverse = sm::Inverted(c.m);
    ExpectIdentityNear(sm::Product(c.m, inverse), c.tolerance);
    ExpectIdentityNear(sm::Product(inverse, c.m), c.tolerance);
  }

  // Known closed forms: a translation inverts to the opposite translation, a
  // rotation to its transpose.
  const sm::Mat4 inverseTranslation = sm::Inverted(sm::Translation(1.0f, 2.0f, 3.0f));
  ExpectVecNear(Apply(inverseTranslation, 0.0f, 0.0f, 0.0f), -1.0f, -2.0f, -3.0f, 1.0f);
  const sm::Mat4 rotation = sm::RotationMatrix(1.1f, 0.0f, 0.0f, 1.0f);
  const sm::Mat4 inverseRotation = sm::Inverted(rotation);
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) EXPECT_NEAR(inverseRotation.a[4 * c + r], rotation.a[4 * r + c], 1e-6f);
  }
}

TEST(Matrix, PerspectiveMatchesTheGluProjection) {
  sm::Mat4 m;
  sm::Perspective(m, 90.0f, 1.0f, 10.0f, 8000.0f);
  EXPECT_NEAR(m.a[0], 1.0f, 1e-6f);
  EXPECT_NEAR(m.a[5], 1.0f, 1e-6f);
  EXPECT_FLOAT_EQ(m.a[10], (10.0f + 8000.0f) / (10.0f - 8000.0f));
  EXPECT_FLOAT_EQ(m.a[14], 2.0f * 10.0f * 8000.0f / (10.0f - 8000.0f));
  EXPECT_EQ(m.a[11], -1.0f);
  EXPECT_EQ(m.a[15], 0.0f);
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13}) EXPECT_EQ(m.a[i], 0.0f) << "element " << i;

  // The aspect divides only the horizontal scale; the near plane maps to depth -1.
  sm::Perspective(m, 60.0f, 2.0f, 1.0f, 100.0f);
  EXPECT_NEAR(m.a[0] * 2.0f, m.a[5], 1e-6f);
  const sm::Vec3 nearPoint = Apply(m, 0.0f, 0.0f, -1.0f);
  EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-5f);
  const sm::Vec3 farPoint = Apply(m, 0.0f, 0.0f, -100.0f);
  EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-5f);
}

TEST(Matrix, TransformUsesTheInputWAndDoesNotDivide) {
  const sm::Mat4 m = sm::Translation(5.0f, 6.0f, 7.0f);
  ExpectVecNear(Apply(m, 1.0f, 1.0f, 1.0f, 0.0f), 1.0f, 1.0f, 1.0f, 0.0f);  // direction
  ExpectVecNear(Apply(m, 1.0f, 1.0f, 1.0f, 2.0f), 11.0f, 13.0f, 15.0f, 2.0f);
  sm::Mat4 scaled;
  scaled.a[15] = 4.0f;
  ExpectVecNear(Apply(scaled, 1.0f, 2.0f, 3.0f), 1.0f, 2.0f, 3.0f, 4.0f);
}

TEST(Vector, NormalisingKeepsZeroVectorsAndTheHomogeneousCoordinate) {
  sm::Vec3 zero(0.0f, 0.0f, 0.0f, 0.25f);
  sm::Normalize(zero);
  ExpectVecNear(zero, 0.0f, 0.0f, 0.0f, 0.25f, 0.0f);
  ExpectVecNear(sm::Normalized(zero), 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);

  sm::Vec3 v(3.0f, 0.0f, -4.0f, 0.25f);
  sm::Normalize(v);
  ExpectVecNear(v, 0.6f, 0.0f, -0.8f, 0.25f);  // w is not touched in place
  sm::Vec3 copy(9.0f, 9.0f, 9.0f, 9.0f);
  sm::Normalized(sm::Vec3(3.0f, 0.0f, -4.0f, 0.25f), copy);
  ExpectVecNear(copy, 0.6f, 0.0f, -0.8f, 1.0f);  // the copy always gets w = 1
}

TEST(Quaternion, AxisAngleConversionsAndTheirDegenerateCases) {
  sm::Quat q(5.0f, 5.0f, 5.0f, 5.0f);
  sm::FromAxisAngle(q, sm::Vec3(0.0f, 0.0f, 0.0f), 0.0f);
  EXPECT_EQ(q.w, 1.0f);
  EXPECT_EQ(q.v.x, 0.0f);
  EXPECT_EQ(q.v.y, 0.0f);
  EXPECT_EQ(q.v.z, 0.0f);
  EXPECT_EQ(q.v.w, 1.0f);

  // The identity has angle 0 and leaves the axis output as it was.
  sm::Vec3 axis(0.1f, 0.2f, 0.3f, 0.4f);
  float angle = 99.0f;
  sm::ToAxisAngle(sm::Quat(), axis, angle);
  EXPECT_EQ(angle, 0.0f);
  ExpectVecNear(axis, 0.1f, 0.2f, 0.3f, 0.4f, 0.0f);

  // A round trip returns the axis and the angle.
  sm::FromAxisAngle(q, sm::Vec3(0.0f, 0.6f, 0.8f), 1.25f);
  sm::ToAxisAngle(q, axis, angle);
  EXPECT_NEAR(angle, 1.25f, 1e-5f);
  ExpectVecNear(axis, 0.0f, 0.6f, 0.8f, 1.0f);

  // An axis that is not unit length is used as passed and the result normalised.
  sm::FromAxisAngle(q, sm::Vec3(0.0f, 0.0f, 2.0f), kPi / 2);
  EXPECT_NEAR(q.w * q.w + q.v.z * q.v.z, 1.0f, 1e-6f);
  EXPECT_NEAR(q.w, std::cos(kPi / 4) / std::sqrt(std::cos(kPi / 4) * std::cos(kPi / 4) + 4.0f * std::sin(kPi / 4) * std::sin(kPi / 4)), 1e-6f);

  // A scalar part a rounding step above 1 still means "no rotation", never NaN.
  sm::ToAxisAngle(sm::Quat(std::nextafter(1.0f, 2.0f), 0.0f, 0.0f, 0.0f), axis, angle);
  EXPECT_EQ(angle, 0.0f);
}

TEST(Quaternion, NormalisingScalesAllFourPartsAndKeepsZero) {
  sm::Quat zero(0.0f, 0.0f, 0.0f, 0.0f);
  zero.v.w = 0.5f;
  sm::Normalize(zero);
  EXPECT_EQ(zero.w, 0.0f);
  EXPECT_EQ(zero.v.w, 0.5f);  // untouched altogether

  sm::Quat q(2.0f, 0.0f, 0.0f, 2.0f);
  q.v.w = 0.5f;
  sm::Normalize(q);
  EXPECT_NEAR(q.w, std::sqrt(0.5f), 1e-6f);
  EXPECT_NEAR(q.v.z, std::sqrt(0.5f), 1e-6f);
  EXPECT_EQ(q.v.w, 1.0f);
}

TEST(Quaternion, MultiplyAppliesTheFirstRotationFirst) {
  sm::Quat aboutX;
  sm::Quat aboutY;
  sm::FromAxisAngle(aboutX, sm::Vec3(1.0f, 0.0f, 0.0f), kPi / 2);
  sm::FromAxisAngle(aboutY, sm::Vec3(0.0f, 1.0f, 0.0f), kPi / 2);

  // +z about x goes to -y; -y about y stays -y. The other order: +z about y goes
  // to +x, which about x stays +x.
  sm::Quat xThenY;
  sm::Multiply(xThenY, aboutX, aboutY);
  sm::Normalize(xThenY);
  ExpectVecNear(Apply(MatrixOf(xThenY), 0.0f, 0.0f, 1.0f), 0.0f, -1.0f, 0.0f, 1.0f);
  sm::Quat yThenX;
  sm::Multiply(yThenX, aboutY, aboutX);
  sm::Normalize(yThenX);
  ExpectVecNear(Apply(MatrixOf(yThenX), 0.0f, 0.0f, 1.0f), 1.0f, 0.0f, 0.0f, 1.0f);

  // Accumulating relative keys q0, q1, q2 agrees with applying their matrices in turn.
  sm::Quat keys[3];
  sm::FromAxisAngle(keys[0], sm::Vec3(0.0f, 0.0f, 1.0f), 0.4f);
  sm::FromAxisAngle(keys[1], sm::Vec3(0.6f, 0.8f, 0.0f), -1.1f);
  sm::FromAxisAngle(keys[2], sm::Vec3(1.0f, 0.0f, 0.0f), 2.0f);
  sm::Quat accumulated = keys[0];
  for (int i = 1; i < 3; ++i) {
    sm::Multiply(accumulated, accumulated, keys[i]);  // aliasing the result is allowed
    sm::Normalize(accumulated);
  }
  const sm::Mat4 stepwise = sm::Product(sm::Product(MatrixOf(keys[0]), MatrixOf(keys[1])), MatrixOf(keys[2]));
  const sm::Mat4 combined = MatrixOf(accumulated);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(combined.a[i], stepwise.a[i], 1e-5f) << "element " << i;
  EXPECT_EQ(accumulated.v.w, 1.0f);
}

}  // namespace
