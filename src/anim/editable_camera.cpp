#include "anim/editable_camera.h"

#include "platform/gl.h"

namespace {

// Radians to the degrees glRotatef takes.
float Degrees(float radians) { return radians * 180.0f / 3.1415927f; }

sm::Vec3 ReadVec3(const EditableProperty* property, float time) {
  sm::Vec3 result(0.0f, 0.0f, 0.0f);
  if (const auto* value = dynamic_cast<const ValueProperty*>(property)) {
    if (const sm::Vec3* v = value->Vec3Value()) result = *v;
  } else if (const auto* anim = dynamic_cast<const AnimProperty*>(property)) {
    if (const auto* keys = anim->Keys<sm::Vec3>()) result = keys->ValueAt(time);
  }
  result.w = 1.0f;
  return result;
}

// Float properties; an int property reads as its value in float.
float ReadFloat(const EditableProperty* property, float time) {
  if (const auto* value = dynamic_cast<const ValueProperty*>(property)) {
    if (const float* f = value->FloatValue()) return *f;
    if (const int* i = value->IntValue()) return static_cast<float>(*i);
  } else if (const auto* anim = dynamic_cast<const AnimProperty*>(property)) {
    if (const auto* keys = anim->Keys<float>()) return keys->ValueAt(time);
    if (const auto* keys = anim->Keys<int>()) return static_cast<float>(keys->ValueAt(time));
  }
  return 0.0f;
}

}  // namespace

EditableCamera::EditableCamera(const CameraProperty& property, const PropertyMap& map)
    : name_(property.Name()),
      id_(property.Id()),
      position_(map.Find(property.PositionId())),
      rotation_(map.Find(property.RotationId())),
      firstFloat_(map.Find(property.FirstFloatId())),
      secondFloat_(map.Find(property.SecondFloatId())) {}

void EditableCamera::ApplyView(float time) const {
  const sm::Vec3 position = Position(time);
  const sm::Vec3 rotation = Rotation(time);
  glRotatef(Degrees(-rotation.z), 0.0f, 0.0f, 1.0f);
  glRotatef(Degrees(-rotation.y), 1.0f, 0.0f, 0.0f);
  glRotatef(Degrees(-rotation.x), 0.0f, 1.0f, 0.0f);
  glTranslatef(-position.x, -position.y, -position.z);
}

sm::Mat4& EditableCamera::ViewMatrix(sm::Mat4& out, float time) const {
  GLint mode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  ApplyView(time);
  glGetFloatv(GL_MODELVIEW_MATRIX, out.a);
  glPopMatrix();
  glMatrixMode(static_cast<GLenum>(mode));
  return out;
}

sm::Vec3 EditableCamera::Position(float time) const { return ReadVec3(position_, time); }

sm::Vec3 EditableCamera::Rotation(float time) const { return ReadVec3(rotation_, time); }

sm::Vec3 EditableCamera::Direction(float time) const {
  sm::Mat4 view;
  ViewMatrix(view, time);
  sm::Vec3 direction;
  return sm::Transform(view, sm::Vec3(0.0f, 0.0f, -1.0f), direction);
}

float EditableCamera::FirstFloat(float time) const { return ReadFloat(firstFloat_, time); }

float EditableCamera::SecondFloat(float time) const { return ReadFloat(secondFloat_, time); }
