// Evaluating tracks happens every frame for every animated thing, so it must not
// allocate. This test program takes the counting operator new of the support library
// and checks that the count does not move while tracks are evaluated.
#include <gtest/gtest.h>

#include <new>

#include "anim/editable_camera.h"
#include "anim/interpolators.h"
#include "anim/keyed_value.h"
#include "anim/properties.h"
#include "anim/random.h"
#include "support/allocation_counter.h"


namespace {

float RandomTime() { return static_cast<float>(Rand()) / 32767.0f * 60.0f - 5.0f; }

TEST(NoAllocation, TheCounterSeesAllocations) {
  const long before = AllocationCount();
  void* probe = ::operator new(16);  // a call, so the compiler cannot elide it
  ::operator delete(probe);
  EXPECT_EQ(AllocationCount(), before + 1);
}

TEST(NoAllocation, EvaluatingTracksPropertiesAndKeyedValuesAllocatesNothing) {
  TCBInterpolator<sm::Vec3> positions;
  TCBInterpolator<sm::Quat> rotations;
  TCBInterpolator<int> ints;
  LinearInterpolator<float> ramp;
  StateInterpolator<int> steps;
  KeyedValue signal("signal", KeyedValue::kInt, KeyedValue::kStep);
  KeyedValue opacity("opacity", KeyedValue::kFloat, KeyedValue::kTcb);
  for (int i = 0; i < 50; ++i) {
    const float t = static_cast<float>(i);
    const bool hold = i % 7 == 3;
    positions.SetKey(t, sm::Vec3(t, -t, 2 * t), hold);
    sm::Quat q;
    sm::FromAxisAngle(q, sm::Vec3(0.0f, 1.0f, 0.0f), 0.1f * t);
    rotations.SetKey(t, q, hold);
    ints.SetKey(t, i * 3 - 20, hold);
    ramp.SetKey(t, 0.5f * t, false);
    steps.SetKey(t, i % 2, false);
    signal.SetInt(t, i % 2);
    opacity.SetFloat(t, 1.0f / (1.0f + t));
  }

  PropertyMap map;
  auto path = AnimProperty::Create(1, "path", property_type::kVec3);
  auto changer = AnimProperty::Create(2, kCameraChangerName, property_type::kInt);
  for (int i = 0; i < 20; ++i) {
    const float t = 2.5f * static_cast<float>(i);
    path->Keys<sm::Vec3>()->AddKey(t, i % 5 == 2, sm::Vec3(t, 1.0f, -t));
    changer->Keys<int>()->AddKey(t, false, i);
  }
  map.Insert(std::move(path));
  map.Insert(std::move(changer));
  auto focus = std::make_unique<ValueProperty>(3, "focus", property_type::kFloat);
  *focus->FloatValue() = 5.0f;
  map.Insert(std::move(focus));
  const CameraProperty cameraProperty(4, "camera", 0, 1, 1, 3, 2);
  const EditableCamera camera(cameraProperty, map);
  const IKeyframesProvider<sm::Vec3>& pathKeys = *static_cast<AnimProperty*>(map.Find(1))->Keys<sm::Vec3>();

  sm::Vec3 p;
  sm::Quat q;
  int n = 0;
  float f = 0.0f;
  float sum = 0.0f;
  const long before = AllocationCount();
  for (int i = 0; i < 2000; ++i) {
    const float t = RandomTime();
    positions.Evaluate(t, p);
    rotations.Evaluate(t, q);
    ints.Evaluate(t, n);
    ramp.Evaluate(t, f);
    steps.Evaluate(t, n);
    sum += p.x + q.w + static_cast<float>(n) + f + signal.FloatAt(t) + opacity.FloatAt(t) +
           static_cast<float>(signal.IntAt(t));
    sum += pathKeys.ValueAt(t).y + camera.Position(t).x + camera.FirstFloat(t) + camera.SecondFloat(t);
  }
  EXPECT_EQ(AllocationCount(), before);
  EXPECT_TRUE(sum == sum);  // keeps the loop's work observable
}

}  // namespace
