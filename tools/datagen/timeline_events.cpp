#include "datagen/timeline_events.h"

#include <algorithm>

#include "anim/property_script.h"
#include "scenes/greetings_signal.h"

namespace datagen {
namespace timeline {
namespace {

// Times of the keys at which a step track of ints takes a new value.
std::vector<double> ChangeTimes(const IInterpolator<int>& track, int valueBefore) {
  std::vector<double> times;
  int last = valueBefore;
  for (int i = 0; i < track.KeyCount(); ++i) {
    float time = 0.0f;
    int value = 0;
    bool hold = false;
    track.GetKey(i, time, value, hold);
    if (value != last) times.push_back(time);
    last = value;
  }
  return times;
}

std::vector<double> ReadFlashTimes() {
  const std::unique_ptr<SignalPair> signal = MakeSignalPair();
  // The controller starts with 0 as the last value seen, so only real changes count.
  return ChangeTimes(*signal->track.Track<int>(), signal->lastValue);
}

std::vector<double> ReadGreetingTimes() {
  // The scene reads the greetings signal at (t - start); before the first key the track
  // holds the first key's value, which the scene already takes on at its first frame.
  std::vector<double> times;
  for (int i = 1; i < kGreetingsKeyCount; ++i) {
    times.push_back(static_cast<double>(kGreetingsStart) + static_cast<double>(kGreetingsKeyTimes[i]));
  }
  return times;
}

std::vector<TimelineEvent> CollectEvents() {
  std::vector<TimelineEvent> events;
  const std::vector<double>& flashes = FlashTimes();
  for (std::size_t i = 0; i < flashes.size(); ++i) {
    events.push_back({flashes[i], EventKind::kFlash, "flash " + std::to_string(i + 1)});
  }
  const std::vector<double>& greetings = GreetingTimes();
  for (std::size_t i = 0; i < greetings.size(); ++i) {
    events.push_back({greetings[i], EventKind::kGreeting, "greeting " + std::to_string(i + 1)});
  }
  const TimelineEvent scene[] = {
      {kRobotRelease, EventKind::kScene, "robot release"},
      {kReleaseHit, EventKind::kScene, "release hit"},
      {kRunStart, EventKind::kScene, "run start"},
      {kPassageOpen, EventKind::kScene, "passage open"},
      {kSceneSwitch, EventKind::kScene, "scene switch"},
      {kRobotStands, EventKind::kScene, "robot stands"},
      {kWallCharge, EventKind::kScene, "wall charge"},
      {kWallImpact, EventKind::kScene, "wall impact"},
      {kRunAgain, EventKind::kScene, "run again"},
      {kBackToHall, EventKind::kScene, "back to hall"},
      {kDanceLight, EventKind::kScene, "dance light"},
      {kDanceStart, EventKind::kScene, "dance start"},
      {kMusicSilent, EventKind::kScene, "music silent"},
      {kMusicEnd, EventKind::kScene, "music end"},
  };
  events.insert(events.end(), std::begin(scene), std::end(scene));
  std::stable_sort(events.begin(), events.end(),
                   [](const TimelineEvent& a, const TimelineEvent& b) { return a.time < b.time; });
  return events;
}

}  // namespace

const std::vector<double>& FlashTimes() {
  static const std::vector<double> times = ReadFlashTimes();
  return times;
}

const std::vector<double>& GreetingTimes() {
  static const std::vector<double> times = ReadGreetingTimes();
  return times;
}

const std::vector<TimelineEvent>& AllEvents() {
  static const std::vector<TimelineEvent> events = CollectEvents();
  return events;
}

}  // namespace timeline
}  // namespace datagen
