#include "anim/properties.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "anim/editable_camera.h"

namespace {

std::unique_ptr<AnimProperty> FloatTrack(const std::string& name) {
  auto property = AnimProperty::Create(1, name, property_type::kFloat);
  property->Keys<float>()->AddKey(0.0f, false, 1.0f);
  property->Keys<float>()->AddKey(10.0f, false, 2.0f);
  return property;
}

std::vector<int> Ids(const PropertyMap& map) {
  std::vector<int> ids;
  for (const auto& entry : map) ids.push_back(entry.first);
  return ids;
}

TEST(AnimProperty, OnlyTheExactNameCameraChangerSteps) {
  EXPECT_EQ(FloatTrack("camera_changer")->Keys<float>()->ValueAt(9.9f), 1.0f);
  EXPECT_EQ(FloatTrack("camera_changer")->Keys<float>()->ValueAt(10.0f), 2.0f);
  for (const char* other : {"Camera_changer", "CAMERA_CHANGER", "camera_changer2", "camera_change", " camera_changer"}) {
    const float value = FloatTrack(other)->Keys<float>()->ValueAt(9.9f);
    EXPECT_GT(value, 1.9f) << other;
    EXPECT_LT(value, 2.0f) << other;
  }
}

TEST(AnimProperty, TypeCodeDecidesTheTrackType) {
  const auto plain = AnimProperty::Create(1, "a", property_type::kInt);
  const auto coded9 = AnimProperty::Create(2, "b", property_type::kIntTrack);
  ASSERT_NE(plain->Keys<int>(), nullptr);
  ASSERT_NE(coded9->Keys<int>(), nullptr);
  EXPECT_EQ(coded9->Keys<float>(), nullptr);
  EXPECT_EQ(coded9->Type(), 9);
  for (AnimProperty* p : {plain.get(), coded9.get()}) {
    p->Keys<int>()->AddKey(0.0f, false, 0);
    p->Keys<int>()->AddKey(1.0f, false, 10);
  }
  EXPECT_EQ(plain->Keys<int>()->ValueAt(0.5f), coded9->Keys<int>()->ValueAt(0.5f));
  EXPECT_EQ(coded9->Keys<int>()->ValueAt(0.5f), 5);
  EXPECT_NE(AnimProperty::Create(3, "c", property_type::kVec3)->Keys<sm::Vec3>(), nullptr);
  EXPECT_TRUE(AnimProperty::Create(4, "d", property_type::kFloat)->IsAnimated());
  for (int unsupported : {0, 1, 4, 6, 8, 10, -2}) {
    EXPECT_EQ(AnimProperty::Create(5, "e", unsupported), nullptr) << unsupported;
  }
}

TEST(KeyframesProvider, EditingOperationsForwardToTheTrack) {
  auto property = AnimProperty::Create(1, "position", property_type::kVec3);
  IKeyframesProvider<sm::Vec3>& keys = *property->Keys<sm::Vec3>();
  // No keys: the zero of the type, with w = 1.
  const sm::Vec3 empty = keys.ValueAt(3.0f);
  EXPECT_EQ(empty.x, 0.0f);
  EXPECT_EQ(empty.w, 1.0f);

  keys.AddKey(2.0f, true, sm::Vec3(2.0f, 0.0f, 0.0f));
  keys.AddKey(1.0f, false, sm::Vec3(1.0f, 0.0f, 0.0f));
  // Set key ignores its index: a new time adds a key, an existing time replaces.
  keys.SetKey(0, 5.0f, false, sm::Vec3(5.0f, 0.0f, 0.0f));
  ASSERT_EQ(keys.KeyCount(), 3);
  keys.SetKey(0, 2.0f, false, sm::Vec3(4.0f, 0.0f, 0.0f));
  ASSERT_EQ(keys.KeyCount(), 3);

  float time = 0.0f;
  bool hold = true;
  sm::Vec3 value;
  ASSERT_TRUE(keys.GetKey(1, time, hold, value));
  EXPECT_EQ(time, 2.0f);
  EXPECT_FALSE(hold);
  EXPECT_EQ(value.x, 4.0f);
  EXPECT_FALSE(keys.GetKey(3, time, hold, value));

  EXPECT_TRUE(keys.RemoveKey(0));
  EXPECT_EQ(keys.ValueAt(0.0f).x, 4.0f);  // the next read sees the edit
  EXPECT_FALSE(keys.RemoveKey(7));
}

TEST(ValueProperty, CarriesAValueOnlyForIntFloatAndVec3) {
  const ValueProperty i(1, "i", property_type::kInt);
  const ValueProperty f(2, "f", property_type::kFloat);
  const ValueProperty v(3, "v", property_type::kVec3);
  ASSERT_NE(i.IntValue(), nullptr);
  EXPECT_EQ(*i.IntValue(), 0);
  ASSERT_NE(f.FloatValue(), nullptr);
  EXPECT_EQ(f.IntValue(), nullptr);
  ASSERT_NE(v.Vec3Value(), nullptr);
  EXPECT_EQ(v.Vec3Value()->w, 1.0f);
  EXPECT_FALSE(v.IsAnimated());
  for (int none : {0, 1, 4, 9}) {
    const ValueProperty p(4, "n", none);
    EXPECT_FALSE(p.HasValue()) << none;
  }
}

TEST(PropertyMap, ReplacesByIdAndTracksTheNextFreeId) {
  PropertyMap map;
  EXPECT_EQ(map.NextFreeId(), 0);
  map.Insert(std::make_unique<ValueProperty>(7, "seven", property_type::kInt));
  map.Insert(std::make_unique<ValueProperty>(3, "three", property_type::kInt));
  EXPECT_EQ(map.NextFreeId(), 8);
  map.Insert(std::make_unique<ValueProperty>(3, "three again", property_type::kFloat));
  EXPECT_EQ(map.Size(), 2u);
  EXPECT_EQ(map.Find(3)->Name(), "three again");
  EXPECT_EQ(map.NextFreeId(), 8);
  map.Insert(std::make_unique<ValueProperty>(-4, "negative", property_type::kInt));
  EXPECT_EQ(map.NextFreeId(), 8);
  EXPECT_EQ(Ids(map), (std::vector<int>{-4, 3, 7}));
  EXPECT_EQ(map.Find(5), nullptr);
  EXPECT_EQ(map.Insert(nullptr), nullptr);

  map.Insert(std::make_unique<ValueProperty>(INT_MAX, "last", property_type::kInt));
  EXPECT_EQ(map.NextFreeId(), INT_MAX);  // no overflow past the largest id
}

TEST(PropertyMap, FindByNameTakesTheLowestIdAndComparesExactly) {
  PropertyMap map;
  map.Insert(std::make_unique<ValueProperty>(9, "fov", property_type::kFloat));
  map.Insert(std::make_unique<ValueProperty>(4, "fov", property_type::kInt));
  map.Insert(std::make_unique<ValueProperty>(1, "fov2", property_type::kInt));
  ASSERT_NE(map.FindByName("fov"), nullptr);
  EXPECT_EQ(map.FindByName("fov")->Id(), 4);
  EXPECT_EQ(map.FindByName("Fov"), nullptr);
  EXPECT_EQ(map.FindByName("fo"), nullptr);
  EXPECT_EQ(map.FindByName(std::string("fov\0", 4)), nullptr);
}

TEST(EditableCamera, ReadsEachPropertyForWhatItIs) {
  PropertyMap map;
  auto position = AnimProperty::Create(1, "position", property_type::kVec3);
  position->Keys<sm::Vec3>()->AddKey(0.0f, false, sm::Vec3(0.0f, 0.0f, 0.0f, 0.5f));
  position->Keys<sm::Vec3>()->AddKey(2.0f, false, sm::Vec3(10.0f, 20.0f, 30.0f, 0.5f));
  map.Insert(std::move(position));
  auto rotation = std::make_unique<ValueProperty>(2, "rotation", property_type::kVec3);
  *rotation->Vec3Value() = sm::Vec3(0.1f, 0.2f, 0.3f);
  map.Insert(std::move(rotation));
  auto focus = std::make_unique<ValueProperty>(3, "focus", property_type::kInt);
  *focus->IntValue() = 700;
  map.Insert(std::move(focus));
  map.Insert(std::make_unique<CameraProperty>(10, "cam", 0, 1, 2, 3, 99));
  map.Insert(std::make_unique<CameraProperty>(11, "wrong", 0, 3, 3, 2, 10));

  const EditableCamera camera(*static_cast<const CameraProperty*>(map.Find(10)), map);
  EXPECT_EQ(camera.Name(), "cam");
  EXPECT_EQ(camera.Id(), 10);
  EXPECT_FALSE(camera.IsStatic());
  const sm::Vec3 p = camera.Position(2.0f);
  EXPECT_EQ(p.x, 10.0f);
  EXPECT_EQ(p.z, 30.0f);
  EXPECT_EQ(p.w, 1.0f);  // whatever the key held
  EXPECT_FLOAT_EQ(camera.Rotation(5.0f).y, 0.2f);
  EXPECT_EQ(camera.FirstFloat(0.0f), 700.0f);
  // An id without a property reads as zero and leaves the map as it was.
  EXPECT_EQ(camera.SecondFloatProperty(), nullptr);
  EXPECT_EQ(camera.SecondFloat(1.0f), 0.0f);
  EXPECT_EQ(map.Size(), 5u);
  EXPECT_EQ(map.Find(99), nullptr);

  // Properties of the wrong type read as zero instead of being misread.
  const EditableCamera wrong(*static_cast<const CameraProperty*>(map.Find(11)), map);
  EXPECT_EQ(wrong.Position(0.0f).x, 0.0f);
  EXPECT_EQ(wrong.Rotation(1.0f).x, 0.0f);
  EXPECT_EQ(wrong.FirstFloat(0.0f), 0.0f);
  EXPECT_EQ(wrong.SecondFloat(0.0f), 0.0f);
}

}  // namespace
