#pragma once
// A camera described by properties of the property script: its position, rotation
// and two float values are other properties, referred to by id, so tuning those
// properties moves the camera. Each is read for what it is: a constant gives its
// value, a track its value at the time asked for.
#include <string>

#include "anim/math.h"
#include "anim/properties.h"

class EditableCamera {
 public:
  // Resolves the four ids in map. An id without a property (or a property of an
  // unsuitable type) reads as zero: position and rotation (0, 0, 0), floats 0. The
  // camera points into the map; it must be rebuilt when those properties are replaced.
  EditableCamera(const CameraProperty& property, const PropertyMap& map);
  virtual ~EditableCamera() = default;

  // Multiplies the current GL matrix by the world-to-eye transform at time: the
  // rotation's z (about the viewing axis), y (about the horizontal axis) and x
  // (about the vertical axis), each negated, then the negated position.
  virtual void ApplyView(float time) const;
  // The view matrix at time, built on the model-view stack and read back; the matrix
  // mode and the model-view matrix are left as they were.
  virtual sm::Mat4& ViewMatrix(sm::Mat4& out, float time) const;
  virtual sm::Vec3 Position(float time) const;
  // The view matrix applied to the point (0, 0, -1).
  virtual sm::Vec3 Direction(float time) const;
  virtual float FirstFloat(float time) const;
  virtual float SecondFloat(float time) const;
  // Rotation in radians: x about the vertical axis, y about the horizontal, z about
  // the viewing axis.
  sm::Vec3 Rotation(float time) const;

  // Marks a camera whose properties are constants (editors). Reading never depends
  // on it: each property is read according to its own kind.
  bool IsStatic() const { return static_; }
  void SetStatic(bool value) { static_ = value; }
  const std::string& Name() const { return name_; }
  int Id() const { return id_; }

  const EditableProperty* PositionProperty() const { return position_; }
  const EditableProperty* RotationProperty() const { return rotation_; }
  const EditableProperty* FirstFloatProperty() const { return firstFloat_; }
  const EditableProperty* SecondFloatProperty() const { return secondFloat_; }

 private:
  bool static_ = false;
  std::string name_;
  int id_;
  const EditableProperty* position_;
  const EditableProperty* rotation_;
  const EditableProperty* firstFloat_;
  const EditableProperty* secondFloat_;
};
