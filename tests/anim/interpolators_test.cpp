#include "anim/interpolators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "anim/robot_frame.h"

namespace {

// The Hermite curve written out independently of the interpolator, for a float
// segment with given tangents.
float Hermite(float p1, float p2, float t1, float t2, float u) {
  const float u2 = u * u;
  const float u3 = u2 * u;
  return (2 * u3 - 3 * u2 + 1) * p1 + (3 * u2 - 2 * u3) * p2 + (u3 - 2 * u2 + u) * t1 + (u3 - u2) * t2;
}

template <typename T>
T Eval(const IInterpolator<T>& track, float time, T initial = T()) {
  T out = initial;
  track.Evaluate(time, out);
  return out;
}

template <typename T>
std::vector<float> Times(const Interpolator<T>& track) {
  std::vector<float> times;
  for (const auto& key : track.Keys()) times.push_back(key.time);
  return times;
}

// The three kinds over float, behind their common interface.
std::vector<std::unique_ptr<Interpolator<float>>> AllFloatKinds() {
  std::vector<std::unique_ptr<Interpolator<float>>> kinds;
  kinds.push_back(std::make_unique<StateInterpolator<float>>());
  kinds.push_back(std::make_unique<LinearInterpolator<float>>());
  kinds.push_back(std::make_unique<TCBInterpolator<float>>());
  return kinds;
}

TEST(KeyList, StaysSortedAndReplacesKeysAtTheSameTime) {
  StateInterpolator<int> track;
  track.SetKey(5.0f, 50, false);
  track.SetKey(1.0f, 10, false);
  track.SetKey(3.0f, 30, false);
  EXPECT_EQ(Times(track), (std::vector<float>{1.0f, 3.0f, 5.0f}));

  float time = 0.0f;
  int value = 0;
  bool hold = false;
  track.SetKey(3.0f, 33, true);
  ASSERT_EQ(track.KeyCount(), 3);
  ASSERT_TRUE(track.GetKey(1, time, value, hold));
  EXPECT_EQ(time, 3.0f);
  EXPECT_EQ(value, 33);
  EXPECT_TRUE(hold);
  track.SetKey(3.0f, 34, false);  // the flag is replaced too
  ASSERT_TRUE(track.GetKey(1, time, value, hold));
  EXPECT_FALSE(hold);

  // Before the first, between, after the last.
  track.SetKey(0.5f, 5, false);
  track.SetKey(4.0f, 40, false);
  track.SetKey(9.0f, 90, false);
  EXPECT_EQ(Times(track), (std::vector<float>{0.5f, 1.0f, 3.0f, 4.0f, 5.0f, 9.0f}));
}

TEST(KeyList, RemovingShiftsLaterKeysDownAndBadIndicesAreRefused) {
  LinearInterpolator<float> track;
  track.SetKey(0.0f, 0.0f, false);
  track.SetKey(1.0f, 10.0f, false);
  track.SetKey(2.0f, 20.0f, false);
  ASSERT_TRUE(track.RemoveKey(0));
  EXPECT_EQ(Times(track), (std::vector<float>{1.0f, 2.0f}));

  float time = -1.0f;
  float value = -1.0f;
  bool hold = true;
  EXPECT_FALSE(track.GetKey(2, time, value, hold));
  EXPECT_FALSE(track.GetKey(-1, time, value, hold));
  EXPECT_EQ(time, -1.0f);  // outputs untouched
  EXPECT_EQ(value, -1.0f);
  EXPECT_TRUE(hold);
  EXPECT_FALSE(track.RemoveKey(2));
  EXPECT_FALSE(track.RemoveKey(-1));
  EXPECT_EQ(track.KeyCount(), 2);
}

TEST(KeyList, TimesThatAreNotFiniteAreIgnored) {
  TCBInterpolator<float> track;
  track.SetKey(std::numeric_limits<float>::quiet_NaN(), 1.0f, false);
  track.SetKey(std::numeric_limits<float>::infinity(), 1.0f, false);
  track.SetKey(-std::numeric_limits<float>::infinity(), 1.0f, false);
  EXPECT_EQ(track.KeyCount(), 0);
}

TEST(RangeRule, EveryKindHoldsTheEndValuesAndHitsKeysExactly) {
  for (auto& track : AllFloatKinds()) {
    // No keys: the output keeps whatever it held.
    EXPECT_EQ(Eval<float>(*track, 3.0f, 42.0f), 42.0f);

    track->SetKey(2.0f, 7.0f, false);
    for (float t : {-100.0f, 2.0f, 2.5f, 1e9f}) EXPECT_EQ(Eval<float>(*track, t), 7.0f);

    track->SetKey(4.0f, -3.0f, false);
    track->SetKey(5.0f, 11.0f, false);
    EXPECT_EQ(Eval<float>(*track, 1.0f), 7.0f);
    EXPECT_EQ(Eval<float>(*track, 2.0f), 7.0f);
    EXPECT_EQ(Eval<float>(*track, 4.0f), -3.0f);
    EXPECT_EQ(Eval<float>(*track, 5.0f), 11.0f);
    EXPECT_EQ(Eval<float>(*track, 6.0f), 11.0f);
    // A time that is not a number reads the first key rather than searching.
    EXPECT_EQ(Eval<float>(*track, std::numeric_limits<float>::quiet_NaN()), 7.0f);
  }
}

TEST(StepTrack, TakesTheLastKeyAtOrBeforeTheTimeAndIgnoresHold) {
  StateInterpolator<int> track;
  track.SetKey(0.0f, 0, false);
  track.SetKey(10.0f, 1, false);
  EXPECT_EQ(Eval(track, -5.0f), 0);
  EXPECT_EQ(Eval(track, 9.99f), 0);
  EXPECT_EQ(Eval(track, 10.0f), 1);
  EXPECT_EQ(Eval(track, 11.0f), 1);

  StateInterpolator<std::string> names;
  names.SetKey(1.0f, "a", true);
  names.SetKey(2.0f, "b", false);
  names.SetKey(3.0f, "c", false);
  EXPECT_EQ(Eval(names, 2.5f), "b");
  EXPECT_EQ(Eval(names, 1.5f), "a");

  Robot::Frame first;
  Robot::Frame second;
  StateInterpolator<Robot::Frame*> poses;
  poses.SetKey(0.0f, &first, false);
  poses.SetKey(1.0f, &second, false);
  EXPECT_EQ(Eval<Robot::Frame*>(poses, 0.5f, nullptr), &first);
  EXPECT_EQ(Eval<Robot::Frame*>(poses, 1.0f, nullptr), &second);
}

TEST(LinearTrack, BlendsNeighboursAndTruncatesIntsTowardZero) {
  LinearInterpolator<float> floats;
  floats.SetKey(0.0f, 0.0f, true);  // ignored by straight lines
  floats.SetKey(2.0f, 10.0f, false);
  floats.SetKey(3.0f, 0.0f, false);
  EXPECT_FLOAT_EQ(Eval(floats, 0.5f), 2.5f);
  EXPECT_FLOAT_EQ(Eval(floats, 2.25f), 7.5f);

  LinearInterpolator<int> ints;
  ints.SetKey(0.0f, 0, false);
  ints.SetKey(1.0f, 3, false);
  EXPECT_EQ(Eval(ints, 0.5f), 1);   // 1.5
  EXPECT_EQ(Eval(ints, 0.99f), 2);  // 2.97
  LinearInterpolator<int> negative;
  negative.SetKey(0.0f, 0, false);
  negative.SetKey(1.0f, -3, false);
  EXPECT_EQ(Eval(negative, 0.5f), -1);  // -1.5 truncates up, not down
}

TEST(LinearTrack, Vec3ResultsHaveWOneBetweenKeysButKeysComeBackAsStored) {
  LinearInterpolator<sm::Vec3> track;
  track.SetKey(0.0f, sm::Vec3(0.0f, 0.0f, 0.0f, 0.5f), false);
  track.SetKey(1.0f, sm::Vec3(2.0f, 4.0f, -8.0f, 0.5f), false);
  const sm::Vec3 between = Eval(track, 0.25f);
  EXPECT_FLOAT_EQ(between.x, 0.5f);
  EXPECT_FLOAT_EQ(between.y, 1.0f);
  EXPECT_FLOAT_EQ(between.z, -2.0f);
  EXPECT_EQ(between.w, 1.0f);
  EXPECT_EQ(Eval(track, 1.0f).w, 0.5f);
  EXPECT_EQ(Eval(track, -1.0f).w, 0.5f);
}

TEST(CurveTrack, TwoKeysUseTheChordAsBothTangents) {
  TCBInterpolator<float> track;
  track.SetKey(0.0f, 0.0f, false);
  track.SetKey(1.0f, 10.0f, false);
  EXPECT_FLOAT_EQ(Eval(track, 0.5f), 5.0f);
  EXPECT_FLOAT_EQ(Eval(track, 0.25f), Hermite(0.0f, 10.0f, 10.0f, 10.0f, 0.25f));
  // Tangents use key values, not key spacing: stretching time changes nothing.
  TCBInterpolator<float> stretched;
  stretched.SetKey(10.0f, 0.0f, false);
  stretched.SetKey(30.0f, 10.0f, false);
  EXPECT_FLOAT_EQ(Eval(stretched, 15.0f), Eval(track, 0.25f));
}

TEST(CurveTrack, EndSegmentsCorrectTheOuterTangent) {
  TCBInterpolator<float> track;
  track.SetKey(0.0f, 0.0f, false);
  track.SetKey(1.0f, 10.0f, false);
  track.SetKey(2.0f, 0.0f, false);
  // First segment: T2 = 0.5 (0 - 0) = 0, T1 = 1.5 · 10 - 0.5 · 0 = 15.
  for (float u : {0.25f, 0.5f, 0.75f}) EXPECT_FLOAT_EQ(Eval(track, u), Hermite(0, 10, 15, 0, u));
  // Last segment: T1 = 0.5 (0 - 0) = 0, T2 = 1.5 (0 - 10) - 0.5 · 0 = -15.
  for (float u : {0.25f, 0.5f, 0.75f}) EXPECT_FLOAT_EQ(Eval(track, 1.0f + u), Hermite(10, 0, 0, -15, u));

  // Inner segments of a longer track use central differences on both sides.
  track.SetKey(3.0f, 4.0f, false);
  // Segment 1..2: T1 = 0.5 (0 - 0) = 0, T2 = 0.5 (4 - 10) = -3.
  EXPECT_FLOAT_EQ(Eval(track, 1.5f), Hermite(10, 0, 0, -3, 0.5f));
  // Segment 2..3 (last): T1 = 0.5 (4 - 10) = -3, T2 = 1.5 (4 - 0) - 0.5 · (-3) = 7.5.
  EXPECT_FLOAT_EQ(Eval(track, 2.5f), Hermite(0, 4, -3, 7.5f, 0.5f));
}

TEST(CurveTrack, HoldKeysStepAndCutTheTangentsBesideTheStep) {
  TCBInterpolator<float> track;
  track.SetKey(0.0f, 0.0f, false);
  track.SetKey(1.0f, 10.0f, true);
  track.SetKey(2.0f, 0.0f, false);
  track.SetKey(3.0f, 5.0f, false);
  EXPECT_EQ(Eval(track, 1.5f), 10.0f);
  EXPECT_EQ(Eval(track, 1.999f), 10.0f);
  EXPECT_EQ(Eval(track, 2.0f), 0.0f);
  // Into the hold key: T2 = 1.5 (10 - 0) = 15 instead of 0.5 (0 - 0);
  // then T1 = 1.5 · 10 - 0.5 · 15 = 7.5.
  EXPECT_FLOAT_EQ(Eval(track, 0.5f), Hermite(0, 10, 7.5f, 15, 0.5f));
  // Out of the step: T1 = 1.5 (5 - 0) = 7.5 instead of 0.5 (5 - 10);
  // T2 = 1.5 (5 - 0) - 0.5 · 7.5 = 3.75.
  EXPECT_FLOAT_EQ(Eval(track, 2.5f), Hermite(0, 5, 7.5f, 3.75f, 0.5f));

  // Step and linear tracks pay no attention to the flag.
  StateInterpolator<float> step;
  LinearInterpolator<float> line;
  for (Interpolator<float>* other : {static_cast<Interpolator<float>*>(&step), static_cast<Interpolator<float>*>(&line)}) {
    other->SetKey(0.0f, 0.0f, true);
    other->SetKey(1.0f, 10.0f, false);
  }
  EXPECT_EQ(Eval(step, 0.5f), 0.0f);
  EXPECT_FLOAT_EQ(Eval(line, 0.5f), 5.0f);
}

TEST(CurveTrack, IntTangentsAndResultsAreTruncated) {
  TCBInterpolator<int> track;
  track.SetKey(0.0f, 0, false);
  track.SetKey(1.0f, 2, false);
  track.SetKey(2.0f, -7, false);
  // Tangents: T2 = trunc(-3.5) = -3, T1 = trunc(3 - 0.5 · -3) = 4, giving 1.875 -> 1.
  // The same curve in floats gives 2.03.
  EXPECT_EQ(Eval(track, 0.5f), 1);

  TCBInterpolator<int> down;
  down.SetKey(0.0f, 0, false);
  down.SetKey(1.0f, -3, false);
  EXPECT_EQ(Eval(down, 0.5f), -1);  // -1.5 toward zero

  // A curve that overshoots past the int range saturates instead of wrapping (and
  // never converts out of range, which would be undefined).
  TCBInterpolator<int> extreme;
  extreme.SetKey(0.0f, 0, false);
  extreme.SetKey(1.0f, 0, false);
  extreme.SetKey(2.0f, 2147483647, false);
  extreme.SetKey(3.0f, 2147483647, false);
  EXPECT_EQ(Eval(extreme, 2.33f), 2147483647);
}

TEST(CurveTrack, QuaternionsBlendPerComponentWithoutNormalising) {
  TCBInterpolator<sm::Quat> track;
  sm::Quat a;
  sm::Quat b;
  sm::FromAxisAngle(b, sm::Vec3(0.0f, 0.0f, 1.0f), 3.0f);
  track.SetKey(0.0f, a, false);
  track.SetKey(1.0f, b, false);
  const sm::Quat mid = Eval(track, 0.5f);
  EXPECT_FLOAT_EQ(mid.w, Hermite(a.w, b.w, b.w - a.w, b.w - a.w, 0.5f));
  EXPECT_FLOAT_EQ(mid.v.z, Hermite(0.0f, b.v.z, b.v.z, b.v.z, 0.5f));
  EXPECT_EQ(mid.v.w, 1.0f);
  const float length = std::sqrt(mid.w * mid.w + mid.v.x * mid.v.x + mid.v.y * mid.v.y + mid.v.z * mid.v.z);
  EXPECT_GT(std::fabs(length - 1.0f), 0.1f);

  TCBInterpolator<sm::Vec3> positions;
  positions.SetKey(0.0f, sm::Vec3(0.0f, 0.0f, 0.0f), false);
  positions.SetKey(1.0f, sm::Vec3(10.0f, 0.0f, -10.0f), false);
  positions.SetKey(2.0f, sm::Vec3(0.0f, 5.0f, 0.0f), false);
  const sm::Vec3 p = Eval(positions, 0.5f);
  EXPECT_FLOAT_EQ(p.x, Hermite(0, 10, 15, 0, 0.5f));
  EXPECT_FLOAT_EQ(p.z, Hermite(0, -10, -15, 0, 0.5f));
  EXPECT_FLOAT_EQ(p.y, Hermite(0, 0, 0 - 0.5f * 2.5f, 2.5f, 0.5f));
  EXPECT_EQ(p.w, 1.0f);
}

}  // namespace
