#include "anim/keyed_value.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// Which interpolator a (type, mode) pair builds, as a short tag.
template <typename T>
std::string KindOf(const IKeysContainer* keys) {
  if (dynamic_cast<const StateInterpolator<T>*>(keys)) return "step";
  if constexpr (anim_detail::Blend<T>::kLinear) {
    if (dynamic_cast<const LinearInterpolator<T>*>(keys)) return "linear";
  }
  if constexpr (anim_detail::Blend<T>::kCurve) {
    if (dynamic_cast<const TCBInterpolator<T>*>(keys)) return "tcb";
  }
  return keys == nullptr ? "none" : "other";
}

std::string KindOf(const KeyedValue& value) {
  switch (value.Type()) {
    case KeyedValue::kBool: return KindOf<bool>(value.Keys());
    case KeyedValue::kInt: return KindOf<int>(value.Keys());
    case KeyedValue::kFloat: return KindOf<float>(value.Keys());
    case KeyedValue::kVec3: return KindOf<sm::Vec3>(value.Keys());
    case KeyedValue::kString: return KindOf<std::string>(value.Keys());
    default: return value.Keys() == nullptr ? "none" : "other";
  }
}

TEST(KeyedValue, ModeAndTypeDecideWhatIsBuilt) {
  // Rows: modes 0..3 and one unknown mode; columns: bool, int, float, Vec3, string,
  // and one unknown type.
  const char* expected[5][6] = {
      {"const", "const", "const", "const", "const", "none"},
      {"step", "step", "step", "step", "step", "none"},
      {"none", "linear", "linear", "linear", "none", "none"},
      {"none", "tcb", "tcb", "tcb", "none", "none"},
      {"none", "none", "none", "none", "none", "none"},
  };
  for (int mode = 0; mode < 5; ++mode) {
    for (int type = 0; type < 6; ++type) {
      const KeyedValue value("v", type, mode);
      const std::string kind = mode == 0 && value.HasData() ? "const" : KindOf(value);
      EXPECT_EQ(kind, expected[mode][type]) << "mode " << mode << " type " << type;
      EXPECT_EQ(value.HasData(), std::string(expected[mode][type]) != "none");
      EXPECT_EQ(value.Name(), "v");
      EXPECT_EQ(value.Type(), type);
      EXPECT_EQ(value.Mode(), mode);
    }
  }
}

TEST(KeyedValue, ConstantsStartAtZeroAndIgnoreTheTime) {
  KeyedValue flag("b", KeyedValue::kBool, KeyedValue::kConstant);
  ASSERT_NE(flag.Constant<bool>(), nullptr);
  EXPECT_FALSE(*flag.Constant<bool>());
  KeyedValue position("p", KeyedValue::kVec3, KeyedValue::kConstant);
  ASSERT_NE(position.Constant<sm::Vec3>(), nullptr);
  EXPECT_EQ(position.Constant<sm::Vec3>()->w, 1.0f);
  KeyedValue text("s", KeyedValue::kString, KeyedValue::kConstant);
  ASSERT_NE(text.Constant<std::string>(), nullptr);
  EXPECT_TRUE(text.Constant<std::string>()->empty());
  EXPECT_EQ(text.Track<std::string>(), nullptr);

  KeyedValue number("n", KeyedValue::kInt, KeyedValue::kConstant);
  EXPECT_EQ(number.IntAt(5.0f, -1), 0);
  EXPECT_TRUE(number.SetInt(100.0f, 7));
  EXPECT_TRUE(number.SetInt(-3.0f, 8));  // overwrites, whatever the time
  EXPECT_EQ(number.IntAt(0.0f), 8);
  EXPECT_EQ(number.IntAt(1e6f), 8);
}

TEST(KeyedValue, TracksTakeKeysWithoutHoldAndEvaluate) {
  KeyedValue signal("signal", KeyedValue::kInt, KeyedValue::kStep);
  EXPECT_EQ(signal.IntAt(1.0f, -5), -5);  // no keys yet: the fallback
  EXPECT_TRUE(signal.SetInt(2.0f, 1));
  EXPECT_TRUE(signal.SetInt(0.0f, 0));
  EXPECT_EQ(signal.IntAt(1.9f), 0);
  EXPECT_EQ(signal.IntAt(2.0f), 1);

  KeyedValue opacity("opacity", KeyedValue::kFloat, KeyedValue::kTcb);
  opacity.SetFloat(0.0f, 0.0f);
  opacity.SetFloat(1.0f, 10.0f);
  EXPECT_FLOAT_EQ(opacity.FloatAt(0.5f), 5.0f);
  float time = 0.0f;
  float value = 0.0f;
  bool hold = true;
  ASSERT_NE(opacity.Track<float>(), nullptr);
  ASSERT_TRUE(opacity.Track<float>()->GetKey(1, time, value, hold));
  EXPECT_FALSE(hold);
  EXPECT_EQ(opacity.Track<int>(), nullptr);  // typed access checks the type
}

TEST(KeyedValue, NumericReadsConvertAndMismatchedWritesAreRefused) {
  KeyedValue ramp("ramp", KeyedValue::kFloat, KeyedValue::kLinear);
  EXPECT_FALSE(ramp.SetInt(0.0f, 3));  // an int is not stored into a float track
  EXPECT_EQ(ramp.Keys()->KeyCount(), 0);
  ramp.SetFloat(0.0f, 0.0f);
  ramp.SetFloat(1.0f, -3.0f);
  EXPECT_EQ(ramp.IntAt(0.5f), -1);  // -1.5 truncated toward zero

  KeyedValue count("count", KeyedValue::kInt, KeyedValue::kConstant);
  count.SetInt(0.0f, 4);
  EXPECT_EQ(count.FloatAt(0.0f), 4.0f);

  KeyedValue on("on", KeyedValue::kBool, KeyedValue::kStep);
  on.Set<bool>(1.0f, true);
  EXPECT_EQ(on.IntAt(2.0f), 1);

  const KeyedValue where("where", KeyedValue::kVec3, KeyedValue::kConstant);
  EXPECT_EQ(where.IntAt(0.0f, 9), 9);
  EXPECT_EQ(where.FloatAt(0.0f, 2.5f), 2.5f);
  const KeyedValue nothing("nothing", KeyedValue::kString, KeyedValue::kTcb);
  EXPECT_EQ(nothing.IntAt(0.0f, 9), 9);
}

TEST(KeyedValue, MovesCarryTheTrack) {
  KeyedValue original("signal", KeyedValue::kInt, KeyedValue::kStep);
  original.SetInt(0.0f, 3);
  KeyedValue moved(std::move(original));
  EXPECT_EQ(moved.Name(), "signal");
  EXPECT_EQ(moved.IntAt(5.0f), 3);
  KeyedValue assigned;
  EXPECT_FALSE(assigned.HasData());
  assigned = std::move(moved);
  EXPECT_EQ(assigned.IntAt(5.0f), 3);
}

}  // namespace
