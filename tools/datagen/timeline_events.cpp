#include "datagen/timeline_events.h"

#include <algorithm>
#include <cmath>

#include "anim/property_script.h"
#include "datagen/music/arrangement.h"

namespace datagen {
namespace timeline {
namespace {

std::vector<double> ReadFlashTimes() {
  // The controller starts with 0 as the last value seen, so only real changes count.
  const std::vector<float> times = SignalChangeTimes(*MakeSignalPair());
  return {times.begin(), times.end()};
}

std::vector<double> ReadGreetingTimes() {
  // The scene reads the greetings signal at (t - start); before the first key the track
  // holds the first key's value, which the scene already takes on at its first frame.
  std::vector<double> times;
  for (int i = 1; i < show::kGreetingsKeyCount; ++i) {
    times.push_back(static_cast<double>(show::kGreetingsStart) + static_cast<double>(show::kGreetingsKeyTimes[i]));
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
      {kRobotRelease, EventKind::kScene, "robot release"}, {kReleaseHit, EventKind::kScene, "release hit"},
      {kRunStart, EventKind::kScene, "run start"},         {kPassageOpen, EventKind::kScene, "passage open"},
      {kSceneSwitch, EventKind::kScene, "scene switch"},   {kRobotStands, EventKind::kScene, "robot stands"},
      {kWallCharge, EventKind::kScene, "wall charge"},     {kWallImpact, EventKind::kScene, "wall impact"},
      {kRunAgain, EventKind::kScene, "run again"},         {kBackToHall, EventKind::kScene, "back to hall"},
      {kDanceLight, EventKind::kScene, "dance light"},     {kDanceStart, EventKind::kScene, "dance start"},
      {kMusicSilent, EventKind::kScene, "music silent"},   {kMusicEnd, EventKind::kScene, "music end"},
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

std::vector<Beat> Beats(double from, double to) {
  const music::TempoMap& grid = music::SoundtrackGrid();
  std::vector<Beat> beats;
  const int first = static_cast<int>(std::ceil(grid.PositionAt(from) / music::kSixteenthsPerBeat - 1e-9));
  for (int quarter = first;; ++quarter) {
    const double time = grid.TimeAt(static_cast<double>(quarter) * music::kSixteenthsPerBeat);
    if (time >= to) break;
    const int bar = static_cast<int>(std::floor(static_cast<double>(quarter) / music::kBeatsPerBar));
    beats.push_back({time, bar, quarter - bar * music::kBeatsPerBar});
  }
  return beats;
}

std::vector<Beat> RunBeats() {
  std::vector<Beat> beats = Beats(kRunStart, kRobotStands);
  const std::vector<Beat> again = Beats(kRunAgain, kBackToHall);
  beats.insert(beats.end(), again.begin(), again.end());
  return beats;
}

std::vector<Beat> DanceBeats() { return Beats(kDanceStart, kMusicSilent); }

double MeanBeatPeriod(const std::vector<Beat>& beats) {
  // Least-squares slope of time over beat count, counting beats across gaps in the list.
  if (beats.size() < 2) return 0.0;
  std::vector<double> counts;
  double count = 0.0;
  for (std::size_t i = 0; i < beats.size(); ++i) {
    if (i > 0)
      count += (beats[i].bar - beats[i - 1].bar) * static_cast<double>(music::kBeatsPerBar) +
               (beats[i].beat - beats[i - 1].beat);
    counts.push_back(count);
  }
  double meanCount = 0.0, meanTime = 0.0;
  for (std::size_t i = 0; i < beats.size(); ++i) {
    meanCount += counts[i];
    meanTime += beats[i].time;
  }
  meanCount /= beats.size();
  meanTime /= beats.size();
  double covariance = 0.0, variance = 0.0;
  for (std::size_t i = 0; i < beats.size(); ++i) {
    covariance += (counts[i] - meanCount) * (beats[i].time - meanTime);
    variance += (counts[i] - meanCount) * (counts[i] - meanCount);
  }
  return variance > 0.0 ? covariance / variance : 0.0;
}

const std::vector<TimelineEvent>& AllEvents() {
  static const std::vector<TimelineEvent> events = CollectEvents();
  return events;
}

}  // namespace timeline
}  // namespace datagen
