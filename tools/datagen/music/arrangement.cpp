#include "datagen/music/arrangement.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "datagen/timeline_events.h"

namespace datagen {
namespace music {
namespace {

using namespace datagen::timeline;

// The last flash before a time.
double FlashBefore(double time) {
  const std::vector<double>& flashes = FlashTimes();
  auto it = std::lower_bound(flashes.begin(), flashes.end(), time);
  return it == flashes.begin() ? flashes.front() : *(it - 1);
}

// One chord per bar, cycling through a progression; aligned to the section's first bar,
// or to its end where the section leads into a resolution.
struct Progression {
  std::vector<Chord> chords;
  int barsPerChord;
  bool alignToEnd;
};

Progression ProgressionOf(Section section) {
  using namespace chords;
  const Chord dm = Minor(kD), gm = Minor(kG), bb = Major(kBb), f = Major(kF), c = Major(kC), a = Major(kA);
  switch (section) {
    case Section::kIntro:
      return {{dm, bb, f, c}, 2, true};
    case Section::kTheme:
    case Section::kRun:
    case Section::kRunAgain:
      return {{dm, bb, f, c}, 1, false};
    case Section::kWelding:
      return {{dm, gm, bb, a}, 2, true};
    case Section::kRelease:
      return {{dm, bb, c, a}, 1, true};
    case Section::kWall:
      return {{bb, c, dm, dm, gm, bb, a, a}, 1, false};
    case Section::kRiser:
      return {{gm, bb, c, a}, 1, true};
    case Section::kDance:
      return {{dm, c, bb, c}, 1, false};
    case Section::kOutro:
      return {{dm}, 1, false};
  }
  return {{dm}, 1, false};
}

}  // namespace

Arrangement::Arrangement(TempoMap grid) : grid_(std::move(grid)) {
  dropTime_ = FlashBefore(kWallImpact + 1e-6);
  lastFlash_ = FlashTimes().back();
  // The intro starts with the first whole bar of the timeline.
  const int introBar = static_cast<int>(std::ceil(grid_.PositionAt(0.05) / kSixteenthsPerBar));
  const int themeBar = grid_.NearestBar(FlashTimes().front());
  const int weldingBar = grid_.BarAt(FlashBefore(kRobotRelease - 1.0)) + 1;
  const int releaseBar = grid_.NearestBar(kReleaseHit);
  const int runBar = grid_.NearestBar(kRunStart);
  const int wallBar = grid_.NearestBar(kRobotStands);
  const int riserBar = grid_.BarAt(FlashBefore(dropTime_)) + 1;
  const int dropBar = grid_.NearestBar(dropTime_);
  const int danceBar = grid_.NearestBar(kBackToHall);
  const int outroBar = grid_.NearestBar(lastFlash_);
  const int endBar = grid_.BarAt(kMusicSilent) + 1;
  const std::pair<Section, int> starts[] = {
      {Section::kIntro, introBar},     {Section::kTheme, themeBar},   {Section::kWelding, weldingBar},
      {Section::kRelease, releaseBar}, {Section::kRun, runBar},       {Section::kWall, wallBar},
      {Section::kRiser, riserBar},     {Section::kRunAgain, dropBar}, {Section::kDance, danceBar},
      {Section::kOutro, outroBar},
  };
  const int count = static_cast<int>(std::size(starts));
  for (int i = 0; i < count; ++i) {
    const int end = i + 1 < count ? starts[i + 1].second : endBar;
    if (end > starts[i].second) sections_.push_back({starts[i].first, starts[i].second, end});
  }
}

const SectionSpan& Arrangement::SpanOf(int bar) const {
  for (const SectionSpan& span : sections_) {
    if (bar < span.endBar) return span;
  }
  return sections_.back();
}

Chord Arrangement::ChordAt(int bar) const {
  const SectionSpan& span = SpanOf(bar);
  const Progression progression = ProgressionOf(span.section);
  const int cycle = static_cast<int>(progression.chords.size()) * progression.barsPerChord;
  const int offset = progression.alignToEnd ? bar - span.endBar : bar - span.firstBar;
  const int step = ((offset % cycle) + cycle) % cycle;
  return progression.chords[step / progression.barsPerChord];
}

const TempoMap& SoundtrackGrid() {
  static const TempoMap grid = [] {
    std::vector<double> accents = FlashTimes();
    accents.insert(accents.end(), GreetingTimes().begin(), GreetingTimes().end());
    std::sort(accents.begin(), accents.end());
    TempoFitSettings settings;
    // The dance wants a steady beat: there the grid changes tempo only reluctantly.
    settings.steadyFrom = kBackToHall - 0.1;
    const std::vector<double> downbeats = {FlashTimes().front(), kReleaseHit, FlashBefore(kWallImpact + 1e-6)};
    return FitTempoMap(accents, downbeats, settings);
  }();
  return grid;
}

}  // namespace music
}  // namespace datagen
