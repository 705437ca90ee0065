#include "app/frame_timer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A counter that returns prepared readings one after the other.
struct ScriptedCounter {
  std::vector<std::int64_t> readings;
  size_t next = 0;
  std::int64_t operator()() { return readings.at(next++); }
};

TEST(FrameTimer, FirstTickMeasuresFromConstruction) {
  auto counter = std::make_shared<ScriptedCounter>(ScriptedCounter{{1000, 1000 + 16'667'000}});
  FrameTimer timer([counter] { return (*counter)(); }, 1'000'000'000);
  EXPECT_FLOAT_EQ(timer.Tick(), 16.667f);
}

TEST(FrameTimer, StepsAddUpExactlyToTheTotal) {
  // Irregular frame times over a long run, nanosecond counter.
  std::vector<std::int64_t> readings{5};
  std::int64_t now = 5;
  for (int i = 0; i < 20000; ++i) {
    now += 16'000'000 + (i * 7919) % 3'000'001;
    readings.push_back(now);
  }
  auto counter = std::make_shared<ScriptedCounter>(ScriptedCounter{readings});
  FrameTimer timer([counter] { return (*counter)(); }, 1'000'000'000);
  float sum = 0.0f;
  for (size_t i = 1; i < readings.size(); ++i) {
    const float step = timer.Tick();
    EXPECT_GE(step, 0.0f);
    sum += step;
    ASSERT_EQ(sum, timer.TotalMs()) << "after " << i << " ticks";
  }
  EXPECT_NEAR(timer.TotalMs(), (now - 5) / 1e6, 0.5);
}

TEST(FrameTimer, OnlyTheLowWordOfTheFrequencyCounts) {
  // A frequency of 2^32 + 1000 is read as 1000 ticks per second.
  auto counter = std::make_shared<ScriptedCounter>(ScriptedCounter{{0, 500}});
  FrameTimer timer([counter] { return (*counter)(); }, (std::uint64_t{1} << 32) + 1000);
  EXPECT_FLOAT_EQ(timer.Tick(), 500.0f);
}

TEST(FrameTimer, NoTimePassedGivesAZeroStep) {
  auto counter = std::make_shared<ScriptedCounter>(ScriptedCounter{{42, 42, 42}});
  FrameTimer timer([counter] { return (*counter)(); }, 1000);
  EXPECT_EQ(timer.Tick(), 0.0f);
  EXPECT_EQ(timer.Tick(), 0.0f);
}

}  // namespace
