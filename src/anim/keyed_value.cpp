#include "anim/keyed_value.h"

#include <utility>

namespace {

template <typename T>
std::unique_ptr<IKeysContainer> MakeTrack(int mode) {
  switch (mode) {
    case KeyedValue::kStep:
      return std::make_unique<StateInterpolator<T>>();
    case KeyedValue::kLinear:
      if constexpr (anim_detail::Blend<T>::kLinear) return std::make_unique<LinearInterpolator<T>>();
      return nullptr;
    case KeyedValue::kTcb:
      if constexpr (anim_detail::Blend<T>::kCurve) return std::make_unique<TCBInterpolator<T>>();
      return nullptr;
    default:
      return nullptr;
  }
}

}  // namespace

KeyedValue::KeyedValue(std::string name, int type, int mode)
    : name_(std::move(name)), type_(type), mode_(mode) {
  if (mode == kConstant) {
    switch (type) {
      case kBool: constant_ = false; break;
      case kInt: constant_ = 0; break;
      case kFloat: constant_ = 0.0f; break;
      case kVec3: constant_ = sm::Vec3(0.0f, 0.0f, 0.0f); break;
      case kString: constant_ = std::string(); break;
      default: break;
    }
    return;
  }
  switch (type) {
    case kBool: track_ = MakeTrack<bool>(mode); break;
    case kInt: track_ = MakeTrack<int>(mode); break;
    case kFloat: track_ = MakeTrack<float>(mode); break;
    case kVec3: track_ = MakeTrack<sm::Vec3>(mode); break;
    case kString: track_ = MakeTrack<std::string>(mode); break;
    default: break;
  }
}

int KeyedValue::IntAt(float time, int fallback) const {
  int i = 0;
  float f = 0.0f;
  bool b = false;
  if (TryAt(time, i)) return i;
  if (TryAt(time, f)) return anim_detail::TruncateToInt(f);
  if (TryAt(time, b)) return b ? 1 : 0;
  return fallback;
}

float KeyedValue::FloatAt(float time, float fallback) const {
  float f = 0.0f;
  int i = 0;
  bool b = false;
  if (TryAt(time, f)) return f;
  if (TryAt(time, i)) return static_cast<float>(i);
  if (TryAt(time, b)) return b ? 1.0f : 0.0f;
  return fallback;
}
