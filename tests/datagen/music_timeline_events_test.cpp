#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "anim/keyed_value.h"
#include "anim/property_script.h"
#include "anim/show_times.h"
#include "datagen/timeline_events.h"

namespace {

using namespace datagen::timeline;

// The flash times must be exactly the frames at which the controller sees the signal
// change: the value just before each time differs from the value at it, and nothing
// changes between two listed times.
TEST(TimelineEventsTest, FlashTimesAreTheSignalChanges) {
  const std::vector<double>& flashes = FlashTimes();
  ASSERT_EQ(flashes.size(), 144u);
  EXPECT_EQ(flashes.front(), static_cast<double>(show::AsFloat(show::kSignalTimes[0])));
  EXPECT_EQ(flashes.back(), static_cast<double>(show::AsFloat(show::kSignalTimes[show::kSignalSwitchCount - 1])));

  const std::unique_ptr<SignalPair> signal = MakeSignalPair();
  int last = signal->lastValue;
  for (double time : flashes) {
    const float at = static_cast<float>(time);
    const float before = std::nextafter(at, 0.0f);
    EXPECT_EQ(signal->track.IntAt(before), last) << "at " << time;
    const int value = signal->track.IntAt(at);
    EXPECT_NE(value, last) << "at " << time;
    last = value;
  }
  EXPECT_EQ(signal->track.IntAt(1000.0f), last);
}

TEST(TimelineEventsTest, GreetingTimesAreTheChangesAfterTheSceneStarts) {
  const std::vector<double>& greetings = GreetingTimes();
  ASSERT_EQ(greetings.size(), 55u);
  EXPECT_NEAR(greetings.front(), 139.1884, 1e-4);
  EXPECT_NEAR(greetings.back(), 160.9482, 1e-4);
  EXPECT_TRUE(std::is_sorted(greetings.begin(), greetings.end()));
  // As the scene computes it: the signal read at (t - start) in float seconds.
  for (double time : greetings) {
    const float relative = static_cast<float>(time) - show::kGreetingsStart;
    const float* key = std::find_if(std::begin(show::kGreetingsKeyTimes), std::end(show::kGreetingsKeyTimes),
                                    [&](float k) { return std::fabs(k - relative) < 1e-4f; });
    EXPECT_NE(key, std::end(show::kGreetingsKeyTimes)) << time;
  }
}

TEST(TimelineEventsTest, SceneTimesMeetTheSignal) {
  const std::vector<double>& flashes = FlashTimes();
  // The release is marked by a flash; the wall impact follows the drop's flash closely.
  EXPECT_NE(std::find(flashes.begin(), flashes.end(), static_cast<double>(static_cast<float>(kReleaseHit))),
            flashes.end());
  const auto drop = std::upper_bound(flashes.begin(), flashes.end(), kWallImpact) - 1;
  EXPECT_NEAR(*drop, kWallImpact, 0.05);
  EXPECT_LT(flashes.back(), kMusicSilent);
}

TEST(TimelineEventsTest, AllEventsAreSortedAndComplete) {
  const std::vector<TimelineEvent>& events = AllEvents();
  EXPECT_TRUE(std::is_sorted(events.begin(), events.end(),
                             [](const TimelineEvent& a, const TimelineEvent& b) { return a.time < b.time; }));
  const auto count = [&](EventKind kind) {
    return std::count_if(events.begin(), events.end(), [&](const TimelineEvent& e) { return e.kind == kind; });
  };
  EXPECT_EQ(count(EventKind::kFlash), 144);
  EXPECT_EQ(count(EventKind::kGreeting), 55);
  EXPECT_GE(count(EventKind::kScene), 13);
  for (const TimelineEvent& event : events) EXPECT_FALSE(event.name.empty());
}

// The beats the content is timed to: steady enough to dance to, counted in bars of four,
// and passing exactly through the first flash, a downbeat.
TEST(TimelineEventsTest, BeatsFollowTheSoundtrackGrid) {
  const std::vector<Beat> all = Beats(0.0, kMusicEnd);
  ASSERT_GT(all.size(), 400u);
  const auto first = std::find_if(all.begin(), all.end(), [](const Beat& b) { return b.bar == 0 && b.beat == 0; });
  ASSERT_NE(first, all.end());
  EXPECT_NEAR(first->time, FlashTimes().front(), 1e-9);
  for (std::size_t i = 1; i < all.size(); ++i) {
    const double bpm = 60.0 / (all[i].time - all[i - 1].time);
    EXPECT_GT(bpm, 120.0) << "at " << all[i].time;
    EXPECT_LT(bpm, 185.0) << "at " << all[i].time;
    EXPECT_EQ(all[i].bar * 4 + all[i].beat, all[i - 1].bar * 4 + all[i - 1].beat + 1);
    EXPECT_GE(all[i].beat, 0);
    EXPECT_LT(all[i].beat, 4);
  }

  const std::vector<Beat> run = RunBeats();
  ASSERT_FALSE(run.empty());
  EXPECT_GE(run.front().time, kRunStart);
  EXPECT_LT(run.back().time, kBackToHall);
  for (const Beat& beat : run) EXPECT_FALSE(beat.time >= kRobotStands && beat.time < kRunAgain) << beat.time;
  const double period = MeanBeatPeriod(run);
  EXPECT_GT(period, 60.0 / 175.0);
  EXPECT_LT(period, 60.0 / 135.0);

  const std::vector<Beat> dance = DanceBeats();
  ASSERT_FALSE(dance.empty());
  EXPECT_GE(dance.front().time, kDanceStart);
  EXPECT_LT(dance.back().time, kMusicSilent);
}

TEST(TimelineEventsTest, MeanBeatPeriodOfASteadyGrid) {
  std::vector<Beat> beats;
  for (int i = 0; i < 12; ++i) beats.push_back({10.0 + 0.4 * i, i / 4, i % 4});
  beats.erase(beats.begin() + 5, beats.begin() + 8);  // a gap is counted, not skipped
  EXPECT_NEAR(MeanBeatPeriod(beats), 0.4, 1e-12);
  EXPECT_EQ(MeanBeatPeriod({}), 0.0);
}

}  // namespace
