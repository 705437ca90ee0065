#include "demo/manual_camera.h"

#include <cmath>

#include "platform/input.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kDegrees = kPi / 180.0f;
// A quarter turn about the vertical axis, from forward to the right-hand side.
constexpr double kQuarterTurn = 1.5707963705062866;

void Add(sm::Vec3& position, const sm::Vec3& direction, float amount) {
  position.x += direction.x * amount;
  position.y += direction.y * amount;
  position.z += direction.z * amount;
}

}  // namespace

ManCam::ManCam(IInputState& input) : input_(input) {
  int width = 0;
  int height = 0;
  input_.ScreenSize(width, height);
  centreX_ = width / 2;
  centreY_ = height / 2;
  input_.CursorPosition(lastX_, lastY_);
}

sm::Mat4& ManCam::ViewMatrix(sm::Mat4& out) {
  const sm::Mat4 turn = sm::Product(sm::Product(sm::RotationMatrix(yaw * kDegrees, 0, 1, 0),
                                                sm::RotationMatrix(pitch * kDegrees, 1, 0, 0)),
                                    sm::RotationMatrix(roll * kDegrees, 0, 0, 1));
  out = sm::Product(sm::Translation(-position.x, -position.y, -position.z), turn);
  return out;
}

float ManCam::FieldOfView(float /*time*/) { return kFieldOfView; }

void ManCam::Update(float elapsedMs) {
  namespace vk = platform::vk;
  if (input_.IsLeftButtonDown()) {
    int x = 0;
    int y = 0;
    input_.CursorPosition(x, y);
    if (x != centreX_) yaw += static_cast<float>(x - lastX_) * kDegreesPerPixel;
    if (y != centreY_) pitch += static_cast<float>(y - lastY_) * kDegreesPerPixel;
    lastX_ = x;
    lastY_ = y;
  }

  const float speed = elapsedMs * (input_.IsKeyDown(vk::kLeftControl) ? kFastSpeed : kSpeed);
  const float p = pitch * kDegrees;
  const float w = yaw * kDegrees;
  const sm::Vec3 forward(std::cos(p) * std::sin(w), -std::sin(p), -std::cos(p) * std::cos(w));

  sm::Vec3 side(forward.x, 0.0f, forward.z);
  sm::Normalize(side);
  const float c = static_cast<float>(std::cos(kQuarterTurn));
  const float s = static_cast<float>(std::sin(kQuarterTurn));
  const sm::Vec3 right(side.x * c - side.z * s, 0.0f, side.x * s + side.z * c);

  if (input_.IsKeyDown('W')) Add(position, forward, speed);
  if (input_.IsKeyDown('S')) Add(position, forward, -speed);
  if (input_.IsKeyDown('A')) Add(position, right, -speed);
  if (input_.IsKeyDown('D')) Add(position, right, speed);
  if (input_.IsKeyDown('Q')) position.y += speed;
  if (input_.IsKeyDown('E')) position.y -= speed;
  position.w = 1.0f;
}
