#pragma once
// A camera of the camera file: it rides on a node of the "cameras" animation, which
// writes its view matrix every frame, and carries its own field-of-view track.
#include <memory>

#include "anim/interpolators.h"
#include "anim/math.h"
#include "assets/camera_file.h"
#include "base/interfaces.h"
#include "demo/camera.h"

class AnimCamera final : public ITransformable, public ICamera {
 public:
  explicit AnimCamera(const camera_file::CameraRecord& record);

  bool IsCamera() override { return true; }
  int Id() const { return id_; }
  int GetId() override { return id_; }
  // The view matrix: the node animation writes it.
  float* GetTransform() override { return view_.a; }
  // A second matrix the node animation does not write for cameras.
  float* GetBaseTransform() override { return base_.a; }

  sm::Mat4& ViewMatrix(sm::Mat4& out) override;
  // The track's value at time, or the constant.
  float FieldOfView(float time) override;
  // The second value block of the file (stored, not used by the demo).
  float SecondValue(float time) const;

  // Seconds: the camera is the scheduled one up to this time.
  float endTime = 0.0f;

  // The field of view of a block that is flagged as animated but has no keys: the
  // default of 60 degrees, in radians, rather than a value no projection can take.
  static constexpr float kDefaultFieldOfView = 1.0471976f;

 private:
  int id_;
  sm::Mat4 view_;
  sm::Mat4 base_;
  float fieldOfView_ = kDefaultFieldOfView;
  float second_ = 10.0f;
  std::unique_ptr<TCBInterpolator<float>> fieldOfViewTrack_;  // null: the constant
  std::unique_ptr<TCBInterpolator<float>> secondTrack_;
};
