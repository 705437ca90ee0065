#include "datagen/robot/key_poses.h"

#include <algorithm>

namespace datagen::robot {
namespace {

// How long a hit takes to snap into its pose.
constexpr float kHitSnap = 0.09f;

}  // namespace

float Eased(Ease ease, float u, float span) {
  u = Clamp01(u);
  switch (ease) {
    case Ease::kLinear: return u;
    case Ease::kIn: return u * u;
    case Ease::kOut: return 1.0f - (1.0f - u) * (1.0f - u);
    case Ease::kHit: {
      const float snap = std::min(1.0f, kHitSnap / std::max(span, 1e-6f));
      return Smooth((u - (1.0f - snap)) / snap);
    }
    case Ease::kSmooth:
    default: return Smooth(u);
  }
}

void KeyPoses::Add(float time, const BodyPose& pose, Ease ease) { keys_.push_back({time, pose, ease}); }

void KeyPoses::Hold(float time, Ease ease) { keys_.push_back({time, keys_.back().pose, ease}); }

BodyPose KeyPoses::At(float time) const {
  if (time <= keys_.front().time) return keys_.front().pose;
  for (std::size_t i = 1; i < keys_.size(); ++i) {
    if (time < keys_[i].time) {
      const Key& a = keys_[i - 1];
      const Key& b = keys_[i];
      const float span = b.time - a.time;
      return Mix(a.pose, b.pose, Eased(a.ease, (time - a.time) / span, span));
    }
  }
  return keys_.back().pose;
}

}  // namespace datagen::robot
