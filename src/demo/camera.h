#pragma once
// What the controller asks of the camera it looks through each frame.
#include "anim/math.h"

class ICamera {
 public:
  // The world-to-eye matrix, written into out; returns out.
  virtual sm::Mat4& ViewMatrix(sm::Mat4& out) = 0;
  // The vertical field of view at time (seconds), in radians.
  virtual float FieldOfView(float time) = 0;

 protected:
  // Cameras are owned and destroyed through their own types.
  ~ICamera() = default;
};
