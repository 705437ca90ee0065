#include "demo/camera_schedule.h"

#include <algorithm>

#include "anim/node_animation.h"

namespace {

template <typename T>
float LastKey(const TCBInterpolator<T>* track) {
  if (track == nullptr || track->KeyCount() == 0) return 0.0f;
  float time = 0.0f;
  T value{};
  bool hold = false;
  track->GetKey(track->KeyCount() - 1, time, value, hold);
  return time;
}

}  // namespace

float LastKeyTime(const Animation& node) {
  return std::max({0.0f, LastKey(node.positionTrack.get()), LastKey(node.rotationTrack.get()),
                   LastKey(node.scaleTrack.get())});
}

bool CameraSchedule::Load(const std::string& path, Animation& cameras, std::string& error) {
  std::vector<camera_file::CameraRecord> records;
  if (!camera_file::ReadFile(path, records, error)) return false;
  if (!Build(records, cameras, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool CameraSchedule::Build(const std::vector<camera_file::CameraRecord>& records, Animation& cameras,
                           std::string& error) {
  cameras_.clear();
  index_ = 0;
  if (records.empty()) {
    error = "no cameras";
    return false;
  }
  for (const camera_file::CameraRecord& record : records) {
    Animation* node = cameras.FindNode(record.id);
    if (node == nullptr || record.id == 0) {
      error = "camera " + std::to_string(record.id) + " has no node in the camera animation";
      cameras_.clear();
      return false;
    }
    auto camera = std::make_unique<AnimCamera>(record);
    camera->endTime = LastKeyTime(*node);
    cameras.AttachCamera(camera.get());
    cameras_.push_back(std::move(camera));
  }
  std::stable_sort(cameras_.begin(), cameras_.end(),
                   [](const auto& a, const auto& b) { return a->endTime < b->endTime; });
  return true;
}

AnimCamera* CameraSchedule::Current(float time) {
  if (cameras_.empty()) return nullptr;
  while (index_ < cameras_.size() && time > cameras_[index_]->endTime) ++index_;
  return index_ + 1 < cameras_.size() ? cameras_[index_].get() : cameras_.back().get();
}
