#include "demo/animated_camera.h"

namespace {

// A block's track (every key with hold clear), or null for a constant block.
std::unique_ptr<TCBInterpolator<float>> TrackOf(const camera_file::ValueBlock& block) {
  if (!block.animated) return nullptr;
  auto track = std::make_unique<TCBInterpolator<float>>();
  for (const camera_file::FloatKey& key : block.keys) track->SetKey(key.time, key.value, false);
  return track;
}

float ValueOf(const TCBInterpolator<float>* track, float constant, float time) {
  if (track == nullptr) return constant;
  float value = constant;
  track->Evaluate(time, value);  // no keys: the constant stays
  return value;
}

}  // namespace

AnimCamera::AnimCamera(const camera_file::CameraRecord& record)
    : id_(record.id),
      fieldOfViewTrack_(TrackOf(record.fieldOfView)),
      secondTrack_(TrackOf(record.second)) {
  if (!record.fieldOfView.animated) fieldOfView_ = record.fieldOfView.constant;
  if (!record.second.animated) second_ = record.second.constant;
}

sm::Mat4& AnimCamera::ViewMatrix(sm::Mat4& out) {
  out = view_;
  return out;
}

float AnimCamera::FieldOfView(float time) { return ValueOf(fieldOfViewTrack_.get(), fieldOfView_, time); }

float AnimCamera::SecondValue(float time) const { return ValueOf(secondTrack_.get(), second_, time); }
