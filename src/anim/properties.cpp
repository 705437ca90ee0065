#include "anim/properties.h"

#include <climits>
#include <utility>

namespace {

template <typename T>
std::unique_ptr<IKeyframesProvider<T>> MakeProvider(const std::string& name) {
  std::unique_ptr<IInterpolator<T>> track;
  if (name == kCameraChangerName) {
    track = std::make_unique<StateInterpolator<T>>();
  } else {
    track = std::make_unique<TCBInterpolator<T>>();
  }
  return std::make_unique<KeyframesProvider<T>>(std::move(track));
}

}  // namespace

ValueProperty::ValueProperty(int id, std::string name, int type) : EditableProperty(id, std::move(name), type) {
  switch (type) {
    case property_type::kInt: value_ = 0; break;
    case property_type::kFloat: value_ = 0.0f; break;
    case property_type::kVec3: value_ = sm::Vec3(0.0f, 0.0f, 0.0f); break;
    default: break;
  }
}

std::unique_ptr<AnimProperty> AnimProperty::Create(int id, std::string name, int type) {
  Provider provider;
  switch (type) {
    case property_type::kInt:
    case property_type::kIntTrack: provider = MakeProvider<int>(name); break;
    case property_type::kFloat: provider = MakeProvider<float>(name); break;
    case property_type::kVec3: provider = MakeProvider<sm::Vec3>(name); break;
    default: return nullptr;
  }
  return std::unique_ptr<AnimProperty>(new AnimProperty(id, std::move(name), type, std::move(provider)));
}

EditableProperty* PropertyMap::Insert(std::unique_ptr<EditableProperty> property) {
  if (!property) return nullptr;
  const int id = property->Id();
  // INT_MAX has no successor; the next free id then stays at INT_MAX.
  if (id >= nextFreeId_) nextFreeId_ = id == INT_MAX ? INT_MAX : id + 1;
  std::unique_ptr<EditableProperty>& slot = properties_[id];
  slot = std::move(property);
  return slot.get();
}

EditableProperty* PropertyMap::Find(int id) const {
  const auto it = properties_.find(id);
  return it != properties_.end() ? it->second.get() : nullptr;
}

EditableProperty* PropertyMap::FindByName(const std::string& name) const {
  for (const auto& entry : properties_) {
    if (entry.second->Name() == name) return entry.second.get();
  }
  return nullptr;
}
