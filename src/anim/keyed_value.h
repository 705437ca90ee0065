#pragma once
// A named value that is either a constant or a key track of one value type: node
// values of model files, the signal tracks of the timeline. What it holds follows from
// its (type, mode) pair:
//
//   mode      bool           int / float / Vec3        string
//   constant  false          0 / 0.0 / (0, 0, 0, 1)    ""
//   step      StateInterpolator<T> for every type
//   linear    -              LinearInterpolator<T>     -
//   TCB       -              TCBInterpolator<T>        -
//
// The cells marked "-", and unknown types or modes, hold nothing (HasData() false);
// reading such a value gives the caller's fallback and setting it does nothing.
#include <memory>
#include <string>
#include <type_traits>
#include <variant>

#include "anim/interpolators.h"
#include "anim/math.h"

class KeyedValue {
 public:
  enum ValueType : int { kBool = 0, kInt = 1, kFloat = 2, kVec3 = 3, kString = 4 };
  enum Mode : int { kConstant = 0, kStep = 1, kLinear = 2, kTcb = 3 };

  // The value type code of T (kBool ... kString), or -1 for a type a KeyedValue
  // cannot hold.
  template <typename T>
  static constexpr int TypeOf() {
    if (std::is_same<T, bool>::value) return kBool;
    if (std::is_same<T, int>::value) return kInt;
    if (std::is_same<T, float>::value) return kFloat;
    if (std::is_same<T, sm::Vec3>::value) return kVec3;
    if (std::is_same<T, std::string>::value) return kString;
    return -1;
  }

  KeyedValue() = default;  // no name, holds nothing
  KeyedValue(std::string name, int type, int mode);
  KeyedValue(KeyedValue&&) noexcept = default;
  KeyedValue& operator=(KeyedValue&&) noexcept = default;
  KeyedValue(const KeyedValue&) = delete;
  KeyedValue& operator=(const KeyedValue&) = delete;
  ~KeyedValue() = default;

  const std::string& Name() const { return name_; }
  int Type() const { return type_; }
  int Mode() const { return mode_; }
  // False for the (type, mode) pairs that build nothing.
  bool HasData() const { return track_ != nullptr || constant_.index() != 0; }

  // The constant of type T; null when this value is keyed or holds another type.
  template <typename T>
  T* Constant() {
    return std::get_if<T>(&constant_);
  }
  template <typename T>
  const T* Constant() const {
    return std::get_if<T>(&constant_);
  }

  // The track of type T; null when this value is constant, holds another type or
  // holds nothing.
  template <typename T>
  IInterpolator<T>* Track() {
    return TypeOf<T>() == type_ ? static_cast<IInterpolator<T>*>(track_.get()) : nullptr;
  }
  template <typename T>
  const IInterpolator<T>* Track() const {
    return TypeOf<T>() == type_ ? static_cast<const IInterpolator<T>*>(track_.get()) : nullptr;
  }
  // The track whatever its type (key count, key removal); null when not keyed.
  IKeysContainer* Keys() { return track_.get(); }
  const IKeysContainer* Keys() const { return track_.get(); }

  // Stores value at time: a key (hold clear) on a track, or the constant itself, the
  // time then being ignored. False when this value holds no T.
  template <typename T>
  bool Set(float time, const T& value) {
    if (T* constant = Constant<T>()) {
      *constant = value;
      return true;
    }
    if (IInterpolator<T>* track = Track<T>()) {
      track->SetKey(time, value, false);
      return true;
    }
    return false;
  }

  // The value at time: the constant, or the track evaluated at time. A track without
  // keys, or a value that holds no T, gives fallback.
  template <typename T>
  T At(float time, const T& fallback) const {
    T out = fallback;
    TryAt(time, out);
    return out;
  }

  // Writes the value at time into out and gives true; false (out untouched) when
  // there is no T to read or the track has no keys.
  template <typename T>
  bool TryAt(float time, T& out) const {
    if (const T* constant = Constant<T>()) {
      out = *constant;
      return true;
    }
    const IInterpolator<T>* track = Track<T>();
    if (track == nullptr || track->KeyCount() == 0) return false;
    track->Evaluate(time, out);
    return true;
  }

  bool SetInt(float time, int value) { return Set<int>(time, value); }
  bool SetFloat(float time, float value) { return Set<float>(time, value); }
  // Numeric reads: an int value read as float (and the other way round, truncated
  // toward zero) or a bool read as 0/1 is converted; a Vec3 or string gives fallback.
  int IntAt(float time, int fallback = 0) const;
  float FloatAt(float time, float fallback = 0.0f) const;

 private:
  std::string name_;
  int type_ = -1;
  int mode_ = -1;
  std::variant<std::monostate, bool, int, float, sm::Vec3, std::string> constant_;
  std::unique_ptr<IKeysContainer> track_;
};
