#pragma once
// Editable properties: the named constants, keyed tracks and camera descriptions in
// which the timeline's tunable values live. The property script creates them; the
// controller keeps them in a PropertyMap and looks the ones it drives up by name.
// Animated properties hand out their value through a keyframe provider, which also
// offers the editing operations (read, add, change and remove keys).
#include <map>
#include <memory>
#include <string>
#include <variant>

#include "anim/interpolators.h"
#include "anim/math.h"

// Type codes of properties (as written in the property script).
namespace property_type {
constexpr int kInt = 2;
constexpr int kFloat = 3;
constexpr int kVec3 = 5;
// An int track; a constant with this code carries no value.
constexpr int kIntTrack = 9;
}  // namespace property_type

// The name whose track steps from key to key instead of following a curve, so camera
// switches happen exactly at their keys.
constexpr const char* kCameraChangerName = "camera_changer";

template <typename T>
class IKeyframesProvider {
 public:
  virtual ~IKeyframesProvider() = default;
  virtual int KeyCount() const = 0;
  // False, outputs untouched, for an index outside 0..count-1.
  virtual bool GetKey(int index, float& time, bool& hold, T& value) const = 0;
  // Sets a key at time like AddKey: the index is not used, so a time that matches no
  // key adds a key rather than moving the one at index.
  virtual void SetKey(int index, float time, bool hold, const T& value) = 0;
  // The track's value at time; a track without keys gives T's zero (Vec3 with w = 1).
  virtual T ValueAt(float time) const = 0;
  virtual void AddKey(float time, bool hold, const T& value) = 0;
  virtual bool RemoveKey(int index) = 0;
};

// Forwards every operation to the track it owns.
template <typename T>
class KeyframesProvider final : public IKeyframesProvider<T> {
 public:
  explicit KeyframesProvider(std::unique_ptr<IInterpolator<T>> track) : track_(std::move(track)) {}

  int KeyCount() const override { return track_->KeyCount(); }
  bool GetKey(int index, float& time, bool& hold, T& value) const override {
    return track_->GetKey(index, time, value, hold);
  }
  void SetKey(int /*index*/, float time, bool hold, const T& value) override {
    track_->SetKey(time, value, hold);
  }
  T ValueAt(float time) const override {
    T result{};
    track_->Evaluate(time, result);
    return result;
  }
  void AddKey(float time, bool hold, const T& value) override { track_->SetKey(time, value, hold); }
  bool RemoveKey(int index) override { return track_->RemoveKey(index); }

  const IInterpolator<T>& Track() const { return *track_; }

 private:
  std::unique_ptr<IInterpolator<T>> track_;
};

class EditableProperty {
 public:
  EditableProperty(int id, std::string name, int type) : id_(id), name_(std::move(name)), type_(type) {}
  virtual ~EditableProperty() = default;
  EditableProperty(const EditableProperty&) = delete;
  EditableProperty& operator=(const EditableProperty&) = delete;

  virtual bool IsAnimated() const = 0;

  int Id() const { return id_; }
  const std::string& Name() const { return name_; }
  int Type() const { return type_; }

 private:
  int id_;
  std::string name_;
  int type_;
};

// A constant: an int (code 2), a float (code 3) or a Vec3 (code 5, w = 1); any other
// code carries no value.
class ValueProperty final : public EditableProperty {
 public:
  // Starts at zero of its type.
  ValueProperty(int id, std::string name, int type);
  bool IsAnimated() const override { return false; }

  bool HasValue() const { return value_.index() != 0; }
  // The value of that type; null when the property holds another type or none.
  int* IntValue() { return std::get_if<int>(&value_); }
  const int* IntValue() const { return std::get_if<int>(&value_); }
  float* FloatValue() { return std::get_if<float>(&value_); }
  const float* FloatValue() const { return std::get_if<float>(&value_); }
  sm::Vec3* Vec3Value() { return std::get_if<sm::Vec3>(&value_); }
  const sm::Vec3* Vec3Value() const { return std::get_if<sm::Vec3>(&value_); }

 private:
  std::variant<std::monostate, int, float, sm::Vec3> value_;
};

// A keyed track: int for codes 2 and 9, float for 3, Vec3 for 5. The track is a TCB
// curve, or steps for the property named exactly "camera_changer".
class AnimProperty final : public EditableProperty {
 public:
  // Null for a type code without a track type.
  static std::unique_ptr<AnimProperty> Create(int id, std::string name, int type);
  bool IsAnimated() const override { return true; }

  // The provider for T; null when the property's track has another value type.
  template <typename T>
  IKeyframesProvider<T>* Keys() {
    auto* p = std::get_if<std::unique_ptr<IKeyframesProvider<T>>>(&provider_);
    return p != nullptr ? p->get() : nullptr;
  }
  template <typename T>
  const IKeyframesProvider<T>* Keys() const {
    auto* p = std::get_if<std::unique_ptr<IKeyframesProvider<T>>>(&provider_);
    return p != nullptr ? p->get() : nullptr;
  }

 private:
  using Provider = std::variant<std::unique_ptr<IKeyframesProvider<int>>, std::unique_ptr<IKeyframesProvider<float>>,
                                std::unique_ptr<IKeyframesProvider<sm::Vec3>>>;
  AnimProperty(int id, std::string name, int type, Provider provider)
      : EditableProperty(id, std::move(name), type), provider_(std::move(provider)) {}

  Provider provider_;
};

// A camera described by four other properties: position (Vec3), rotation (Vec3,
// radians) and two floats, referred to by id.
class CameraProperty final : public EditableProperty {
 public:
  CameraProperty(int id, std::string name, int type, int positionId, int rotationId, int firstFloatId,
                 int secondFloatId)
      : EditableProperty(id, std::move(name), type),
        positionId_(positionId),
        rotationId_(rotationId),
        firstFloatId_(firstFloatId),
        secondFloatId_(secondFloatId) {}
  bool IsAnimated() const override { return false; }

  int PositionId() const { return positionId_; }
  int RotationId() const { return rotationId_; }
  int FirstFloatId() const { return firstFloatId_; }
  int SecondFloatId() const { return secondFloatId_; }

 private:
  int positionId_;
  int rotationId_;
  int firstFloatId_;
  int secondFloatId_;
};

// Properties by id, iterated in ascending id order, and the next id nobody uses yet.
class PropertyMap {
 public:
  using Storage = std::map<int, std::unique_ptr<EditableProperty>>;

  // Stores the property under its id, destroying any property stored there before,
  // and raises the next free id past it. Returns the stored property (null input:
  // nothing happens).
  EditableProperty* Insert(std::unique_ptr<EditableProperty> property);
  EditableProperty* Find(int id) const;
  // The property with the lowest id whose name is exactly name; null when none.
  EditableProperty* FindByName(const std::string& name) const;

  int NextFreeId() const { return nextFreeId_; }
  std::size_t Size() const { return properties_.size(); }
  bool Empty() const { return properties_.empty(); }
  Storage::const_iterator begin() const { return properties_.begin(); }
  Storage::const_iterator end() const { return properties_.end(); }

 private:
  Storage properties_;
  int nextFreeId_ = 0;
};
