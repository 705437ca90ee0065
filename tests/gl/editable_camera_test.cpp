// The editable camera builds its view on the GL model-view stack; these tests check
// the matrix it reads back against the same transform composed with the sm math.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "anim/editable_camera.h"
#include "anim/math.h"
#include "anim/properties.h"
#include "platform/gl.h"
#include "support/gl_test.h"

namespace {

class EditableCameraGl : public testing_support::GlTest {
 protected:
  // A camera over two Vec3 properties: position (id 1) and rotation (id 2), each a
  // constant or a two-key track from its value at time 0 to twice that at time 1.
  void Build(const sm::Vec3& position, const sm::Vec3& rotation, bool animated) {
    const sm::Vec3* values[2] = {&position, &rotation};
    for (int i = 0; i < 2; ++i) {
      const sm::Vec3& v = *values[i];
      if (animated) {
        auto track = AnimProperty::Create(i + 1, "p", property_type::kVec3);
        track->Keys<sm::Vec3>()->AddKey(0.0f, false, v);
        track->Keys<sm::Vec3>()->AddKey(1.0f, false, sm::Vec3(2 * v.x, 2 * v.y, 2 * v.z));
        map_.Insert(std::move(track));
      } else {
        auto constant = std::make_unique<ValueProperty>(i + 1, "p", property_type::kVec3);
        *constant->Vec3Value() = v;
        map_.Insert(std::move(constant));
      }
    }
    const CameraProperty property(10, "camera", 0, 1, 2, 3, 4);
    camera_ = std::make_unique<EditableCamera>(property, map_);
  }

  // Rz(-z) · Rx(-y) · Ry(-x) · T(-position): the rotations about the viewing, the
  // horizontal and the vertical axis, the translation applied first.
  static sm::Mat4 Expected(const sm::Vec3& p, const sm::Vec3& r) {
    const sm::Mat4 translate = sm::Translation(-p.x, -p.y, -p.z);
    const sm::Mat4 aboutVertical = sm::RotationMatrix(-r.x, 0.0f, 1.0f, 0.0f);
    const sm::Mat4 aboutHorizontal = sm::RotationMatrix(-r.y, 1.0f, 0.0f, 0.0f);
    const sm::Mat4 aboutView = sm::RotationMatrix(-r.z, 0.0f, 0.0f, 1.0f);
    return sm::Product(sm::Product(sm::Product(translate, aboutVertical), aboutHorizontal), aboutView);
  }

  static void ExpectMatrixNear(const sm::Mat4& actual, const sm::Mat4& expected, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.a[i], expected.a[i], tolerance) << "element " << i;
  }

  PropertyMap map_;
  std::unique_ptr<EditableCamera> camera_;
};

TEST_F(EditableCameraGl, ViewMatrixRotatesAfterTranslatingAndLeavesTheGlStateAlone) {
  const sm::Vec3 position(-6.5f, 552.0f, 1843.0f);
  const sm::Vec3 rotation(0.4f, -0.25f, 0.1f);
  Build(position, rotation, false);

  // Some other state the camera must leave untouched.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1.0f, 2.0f, 3.0f);
  glMatrixMode(GL_PROJECTION);

  sm::Mat4 view;
  camera_->ViewMatrix(view, 0.0f);
  ExpectMatrixNear(view, Expected(position, rotation), 2e-3f);

  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
  sm::Mat4 modelView;
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView.a);
  ExpectMatrixNear(modelView, sm::Translation(1.0f, 2.0f, 3.0f), 0.0f);
  CheckGlError("view matrix");

  // The camera's own position lands at the eye, and it looks down -z of the eye.
  const sm::Vec3 eye = sm::Transformed(view, position);
  EXPECT_NEAR(eye.x, 0.0f, 1e-3f);
  EXPECT_NEAR(eye.y, 0.0f, 1e-3f);
  EXPECT_NEAR(eye.z, 0.0f, 1e-3f);
}

TEST_F(EditableCameraGl, ApplyViewMultipliesTheCurrentMatrix) {
  Build(sm::Vec3(0.0f, 0.0f, 10.0f), sm::Vec3(3.1415927f / 2, 0.0f, 0.0f), false);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glScalef(2.0f, 2.0f, 2.0f);
  camera_->ApplyView(0.0f);
  sm::Mat4 combined;
  glGetFloatv(GL_MODELVIEW_MATRIX, combined.a);
  sm::Mat4 scale;
  scale.a[0] = scale.a[5] = scale.a[10] = 2.0f;
  sm::Mat4 view;
  camera_->ViewMatrix(view, 0.0f);
  ExpectMatrixNear(combined, sm::Product(view, scale), 1e-5f);
}

TEST_F(EditableCameraGl, DirectionAndTracksFollowTheTime) {
  // The rotation about the vertical axis goes from an eighth to a quarter turn.
  Build(sm::Vec3(0.0f, 0.0f, 0.0f), sm::Vec3(3.1415927f / 4, 0.0f, 0.0f), true);
  // Direction is the view matrix applied to the point (0, 0, -1): turning the world
  // by -x about the vertical axis takes it towards +x.
  const sm::Vec3 atZero = camera_->Direction(0.0f);
  const sm::Vec3 atOne = camera_->Direction(1.0f);
  EXPECT_NEAR(atZero.x, std::sin(3.1415927f / 4), 1e-5f);
  EXPECT_NEAR(atOne.x, 1.0f, 1e-5f);
  EXPECT_NEAR(atOne.z, 0.0f, 1e-5f);
  EXPECT_EQ(atOne.w, 1.0f);

  sm::Mat4 early;
  sm::Mat4 late;
  camera_->ViewMatrix(early, 0.0f);
  camera_->ViewMatrix(late, 1.0f);
  ExpectMatrixNear(late, Expected(sm::Vec3(0, 0, 0), sm::Vec3(3.1415927f / 2, 0, 0)), 1e-5f);
  EXPECT_NE(early.a[0], late.a[0]);
}

}  // namespace
