#pragma once
// Key tracks: a sorted list of (time, value, hold) keys and an interpolation rule
// that turns it into a value at any time. Every animated thing on the timeline (field
// of view, node transforms, properties, signals, robot poses) is one of these.
//
//   StateInterpolator<T>  steps from key to key (bool, int, float, Vec3, string, pose)
//   LinearInterpolator<T> straight lines between keys (int, float, Vec3)
//   TCBInterpolator<T>    Catmull-Rom curve with hold keys (int, float, Vec3, Quat)
//
// Times are in the caller's unit and are never scaled. Outside the keys the first or
// last value is held; nothing is extrapolated. Evaluation allocates nothing (for the
// numeric types) and never changes the track.
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "anim/math.h"

namespace Robot {
struct Frame;
}

// What every track offers regardless of its value type.
class IKeysContainer {
 public:
  virtual ~IKeysContainer() = default;
  virtual int KeyCount() const = 0;
  // Takes the key at index out; later keys move down by one. An index outside
  // 0..count-1 changes nothing and gives false.
  virtual bool RemoveKey(int index) = 0;
};

template <typename T>
class IInterpolator : public IKeysContainer {
 public:
  // Writes the value at time into out; with no keys, out is left as it was.
  virtual void Evaluate(float time, T& out) const = 0;
  // Adds a key, keeping the list sorted; a key already at exactly this time gets the
  // new value and hold flag instead. A time that is not a finite number is ignored:
  // it has no place in a sorted timeline.
  virtual void SetKey(float time, const T& value, bool hold) = 0;
  // Copies key index out; an index outside 0..count-1 leaves the outputs untouched
  // and gives false.
  virtual bool GetKey(int index, float& time, T& value, bool& hold) const = 0;
};

namespace anim_detail {

// float -> int toward zero, saturating at the ends of the int range (NaN gives 0), so
// curves that overshoot far beyond int never hit an undefined conversion.
inline int TruncateToInt(float value) {
  if (!(value == value)) return 0;
  if (value >= 2147483648.0f) return INT_MAX;
  if (value <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(value);
}

// a - b for int keys, formed without overflow.
inline float Difference(int a, int b) {
  return static_cast<float>(static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b));
}

inline int ExactDifference(int a, int b) {
  const std::int64_t d = static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b);
  if (d > INT_MAX) return INT_MAX;
  if (d < INT_MIN) return INT_MIN;
  return static_cast<int>(d);
}

// One segment of the cubic: where it sits in the track and its Hermite weights.
struct CurveSegment {
  bool twoKeys;      // the track has exactly two keys
  bool centralAtP1;  // the key before P1 exists and does not hold: tangent from P0 to P2
  bool centralAtP2;  // the key after P2 exists and P2 does not hold: tangent from P1 to P3
  bool p1IsFirst;
  bool p2IsLast;
  float h1, h2, h3, h4;
};

// The curve for one float component. p0 and p3 are only read when the segment says
// they take part in a tangent.
inline float CurveComponent(const CurveSegment& s, float p0, float p1, float p2, float p3) {
  float t1;
  float t2;
  if (s.twoKeys) {
    t1 = p2 - p1;
    t2 = t1;
  } else {
    t1 = s.centralAtP1 ? 0.5f * (p2 - p0) : 1.5f * (p2 - p1);
    t2 = s.centralAtP2 ? 0.5f * (p3 - p1) : 1.5f * (p2 - p1);
    // End segments: bend the outer tangent so the curve starts/ends without a kink
    // towards the missing neighbour.
    if (s.p1IsFirst) t1 = t1 - 0.5f * t2;
    if (s.p2IsLast) t2 = t2 - 0.5f * t1;
  }
  return s.h1 * p1 + s.h2 * p2 + s.h3 * t1 + s.h4 * t2;
}

// The same curve on ints: each tangent is truncated to an int before use, and so is
// the result.
inline int CurveInt(const CurveSegment& s, int p0, int p1, int p2, int p3) {
  int t1;
  int t2;
  if (s.twoKeys) {
    t1 = ExactDifference(p2, p1);
    t2 = t1;
  } else {
    t1 = TruncateToInt(s.centralAtP1 ? 0.5f * Difference(p2, p0) : 1.5f * Difference(p2, p1));
    t2 = TruncateToInt(s.centralAtP2 ? 0.5f * Difference(p3, p1) : 1.5f * Difference(p2, p1));
    if (s.p1IsFirst) t1 = TruncateToInt(static_cast<float>(t1) - 0.5f * static_cast<float>(t2));
    if (s.p2IsLast) t2 = TruncateToInt(static_cast<float>(t2) - 0.5f * static_cast<float>(t1));
  }
  return TruncateToInt(s.h1 * static_cast<float>(p1) + s.h2 * static_cast<float>(p2) +
                       s.h3 * static_cast<float>(t1) + s.h4 * static_cast<float>(t2));
}

// How each value type is blended. Only the types listed have lines and curves.
template <typename T>
struct Blend {
  static constexpr bool kLinear = false;
  static constexpr bool kCurve = false;
};

template <>
struct Blend<float> {
  static constexpr bool kLinear = true;
  static constexpr bool kCurve = true;
  static float Line(float a, float b, float u) { return a * (1.0f - u) + u * b; }
  static float Curve(const CurveSegment& s, float p0, float p1, float p2, float p3) {
    return CurveComponent(s, p0, p1, p2, p3);
  }
};

template <>
struct Blend<int> {
  static constexpr bool kLinear = true;
  static constexpr bool kCurve = true;
  static int Line(int a, int b, float u) {
    return TruncateToInt(static_cast<float>(a) * (1.0f - u) + u * static_cast<float>(b));
  }
  static int Curve(const CurveSegment& s, int p0, int p1, int p2, int p3) {
    return CurveInt(s, p0, p1, p2, p3);
  }
};

template <>
struct Blend<sm::Vec3> {
  static constexpr bool kLinear = true;
  static constexpr bool kCurve = true;
  static sm::Vec3 Line(const sm::Vec3& a, const sm::Vec3& b, float u) {
    return sm::Vec3(Blend<float>::Line(a.x, b.x, u), Blend<float>::Line(a.y, b.y, u),
                    Blend<float>::Line(a.z, b.z, u));
  }
  static sm::Vec3 Curve(const CurveSegment& s, const sm::Vec3& p0, const sm::Vec3& p1,
                        const sm::Vec3& p2, const sm::Vec3& p3) {
    return sm::Vec3(CurveComponent(s, p0.x, p1.x, p2.x, p3.x),
                    CurveComponent(s, p0.y, p1.y, p2.y, p3.y),
                    CurveComponent(s, p0.z, p1.z, p2.z, p3.z));
  }
};

// Rotations blend component by component like four floats; the result is neither
// normalised nor sign-corrected (the user of a rotation track normalises it).
template <>
struct Blend<sm::Quat> {
  static constexpr bool kLinear = false;
  static constexpr bool kCurve = true;
  static sm::Quat Curve(const CurveSegment& s, const sm::Quat& p0, const sm::Quat& p1,
                        const sm::Quat& p2, const sm::Quat& p3) {
    return sm::Quat(CurveComponent(s, p0.w, p1.w, p2.w, p3.w),
                    CurveComponent(s, p0.v.x, p1.v.x, p2.v.x, p3.v.x),
                    CurveComponent(s, p0.v.y, p1.v.y, p2.v.y, p3.v.y),
                    CurveComponent(s, p0.v.z, p1.v.z, p2.v.z, p3.v.z));
  }
};

}  // namespace anim_detail

// The key list and the editing operations, shared by every interpolation kind of one
// value type. Keys are stored contiguously, ascending by time, no two at one time.
template <typename T>
class Interpolator : public IInterpolator<T> {
 public:
  struct Key {
    float time;
    bool hold;
    T value;
  };

  int KeyCount() const override { return static_cast<int>(keys_.size()); }

  bool RemoveKey(int index) override {
    if (!ValidIndex(index)) return false;
    keys_.erase(keys_.begin() + index);
    return true;
  }

  void SetKey(float time, const T& value, bool hold) override {
    if (!std::isfinite(time)) return;
    // Loaders add keys in time order: appending needs no walk.
    if (keys_.empty() || keys_.back().time < time) {
      keys_.push_back(Key{time, hold, value});
      return;
    }
    std::size_t i = 0;
    while (i < keys_.size() && keys_[i].time < time) ++i;
    if (i < keys_.size() && keys_[i].time == time) {
      keys_[i].value = value;
      keys_[i].hold = hold;
      return;
    }
    keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(i), Key{time, hold, value});
  }

  bool GetKey(int index, float& time, T& value, bool& hold) const override {
    if (!ValidIndex(index)) return false;
    const Key& key = keys_[static_cast<std::size_t>(index)];
    time = key.time;
    value = key.value;
    hold = key.hold;
    return true;
  }

  const std::vector<Key>& Keys() const { return keys_; }
  // Room for n keys up front (loaders that know their key count).
  void Reserve(std::size_t n) { keys_.reserve(n); }

 protected:
  // The cases every kind shares. Returns true when out is settled: no keys (out
  // untouched), at or before the first key, at or after the last. Otherwise there are
  // at least two keys and the first key's time < time < the last key's time. A NaN
  // time counts as "before the first key", so it never reaches a search.
  bool EvaluateOutsideKeys(float time, T& out) const {
    if (keys_.empty()) return true;
    if (!(time > keys_.front().time)) {
      out = keys_.front().value;
      return true;
    }
    if (time >= keys_.back().time) {
      out = keys_.back().value;
      return true;
    }
    return false;
  }

  // For a time strictly inside the keys: the index of the first key at or after it,
  // in 1..count-1. The last key is later than time, so the scan always stops.
  std::size_t FirstKeyNotBefore(float time) const {
    std::size_t i = 1;
    while (keys_[i].time < time) ++i;
    return i;
  }

  std::vector<Key> keys_;

 private:
  bool ValidIndex(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < keys_.size();
  }
};

// Steps: the value of the last key at or before the time. Hold flags mean nothing here.
template <typename T>
class StateInterpolator : public Interpolator<T> {
 public:
  void Evaluate(float time, T& out) const override {
    if (this->EvaluateOutsideKeys(time, out)) return;
    std::size_t i = this->FirstKeyNotBefore(time);
    if (this->keys_[i].time == time) {
      out = this->keys_[i].value;
    } else {
      out = this->keys_[i - 1].value;
    }
  }
};

// Straight lines between neighbouring keys. Hold flags mean nothing here. For int the
// blend is formed in float and truncated toward zero.
template <typename T>
class LinearInterpolator : public Interpolator<T> {
  static_assert(anim_detail::Blend<T>::kLinear, "linear tracks exist for int, float and sm::Vec3");

 public:
  void Evaluate(float time, T& out) const override {
    if (this->EvaluateOutsideKeys(time, out)) return;
    const std::size_t i = this->FirstKeyNotBefore(time);
    const auto& k1 = this->keys_[i];
    if (k1.time == time) {
      out = k1.value;
      return;
    }
    const auto& k0 = this->keys_[i - 1];
    const float u = (time - k0.time) / (k1.time - k0.time);
    out = anim_detail::Blend<T>::Line(k0.value, k1.value, u);
  }
};

// Cubic Hermite curve with Catmull-Rom tangents (a Kochanek-Bartels spline with
// tension, continuity and bias all zero). Tangents use key values only, not key
// spacing. A key with its hold flag set keeps its value until the next key, and the
// tangents beside that step ignore the key across it.
template <typename T>
class TCBInterpolator : public Interpolator<T> {
  static_assert(anim_detail::Blend<T>::kCurve, "TCB tracks exist for int, float, sm::Vec3 and sm::Quat");

 public:
  void Evaluate(float time, T& out) const override {
    if (this->EvaluateOutsideKeys(time, out)) return;
    const auto& keys = this->keys_;
    const std::size_t n = keys.size();
    const std::size_t i2 = this->FirstKeyNotBefore(time);
    const auto& p2 = keys[i2];
    if (p2.time == time) {
      out = p2.value;
      return;
    }
    const std::size_t i1 = i2 - 1;
    const auto& p1 = keys[i1];
    if (p1.hold) {
      out = p1.value;
      return;
    }
    const float u = (time - p1.time) / (p2.time - p1.time);
    const float u2 = u * u;
    const float u3 = u2 * u;
    anim_detail::CurveSegment s;
    s.twoKeys = n == 2;
    s.centralAtP1 = i1 > 0 && !keys[i1 - 1].hold;
    s.centralAtP2 = i2 + 1 < n && !p2.hold;
    s.p1IsFirst = i1 == 0;
    s.p2IsLast = i2 == n - 1;
    s.h1 = 2.0f * u3 - 3.0f * u2 + 1.0f;
    s.h2 = 3.0f * u2 - 2.0f * u3;
    s.h3 = u3 - 2.0f * u2 + u;
    s.h4 = u3 - u2;
    const T& p0 = i1 > 0 ? keys[i1 - 1].value : p1.value;
    const T& p3 = i2 + 1 < n ? keys[i2 + 1].value : p2.value;
    out = anim_detail::Blend<T>::Curve(s, p0, p1.value, p2.value, p3);
  }
};

// The instances the program uses are compiled once, in interpolators.cpp.
extern template class StateInterpolator<bool>;
extern template class StateInterpolator<int>;
extern template class StateInterpolator<float>;
extern template class StateInterpolator<sm::Vec3>;
extern template class StateInterpolator<std::string>;
extern template class StateInterpolator<Robot::Frame*>;
extern template class LinearInterpolator<int>;
extern template class LinearInterpolator<float>;
extern template class LinearInterpolator<sm::Vec3>;
extern template class TCBInterpolator<int>;
extern template class TCBInterpolator<float>;
extern template class TCBInterpolator<sm::Vec3>;
extern template class TCBInterpolator<sm::Quat>;
