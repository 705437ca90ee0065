#include "anim/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Random, DrawsTheSameSequenceFromEveryReset) {
  ResetRand();
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int value : expected) EXPECT_EQ(Rand(), value);

  int min = 32767;
  int max = 0;
  for (int i = 0; i < 100000; ++i) {
    const int value = Rand();
    min = value < min ? value : min;
    max = value > max ? value : max;
  }
  EXPECT_EQ(min, 0);  // the whole range is reached, nothing beyond it
  EXPECT_EQ(max, 32767);

  ResetRand();
  for (int value : expected) EXPECT_EQ(Rand(), value);
}

TEST(Random, ARestoredStateDrawsTheSameValuesAgain) {
  ResetRand();
  for (int i = 0; i < 17; ++i) Rand();
  const std::uint32_t saved = RandState();
  std::vector<int> first;
  for (int i = 0; i < 8; ++i) first.push_back(Rand());
  for (int i = 0; i < 100; ++i) Rand();
  SetRandState(saved);
  std::vector<int> again;
  for (int i = 0; i < 8; ++i) again.push_back(Rand());
  EXPECT_EQ(first, again);
  ResetRand();
  EXPECT_EQ(RandState(), 1u);
}

}  // namespace
