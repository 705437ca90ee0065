#pragma once
// The free-flying camera of the authors: W/S forwards and back, A/D sideways, Q/E up
// and down, left Control ten times faster, dragging with the left button turns it.
// It polls the input state itself every frame in which it is the current camera.
#include "anim/math.h"
#include "demo/camera.h"
#include "demo/input_state.h"

class ManCam final : public ICamera {
 public:
  // Takes the screen centre and the cursor position from the input state.
  explicit ManCam(IInputState& input);

  // Rz(roll) · Rx(pitch) · Ry(yaw) · T(−position), angles in degrees.
  sm::Mat4& ViewMatrix(sm::Mat4& out) override;
  // Always 60 degrees.
  float FieldOfView(float time) override;

  // Turns by the drag and moves by the held keys over elapsedMs milliseconds.
  void Update(float elapsedMs);

  sm::Vec3 position{-6.636f, 552.116f, 1843.154f};
  // Degrees; nothing changes the roll.
  float roll = 0.0f;
  float yaw = 0.0f;
  float pitch = 0.0f;

  static constexpr float kFieldOfView = 1.0471976f;
  static constexpr float kSpeed = 0.2f;      // world units per millisecond
  static constexpr float kFastSpeed = 2.0f;  // with left Control held
  static constexpr float kDegreesPerPixel = 0.5f;

 private:
  IInputState& input_;
  int centreX_ = 0;
  int centreY_ = 0;
  int lastX_ = 0;
  int lastY_ = 0;
};
