#pragma once
// The plan of the soundtrack: which section plays in which bar, and the chord of every
// bar. The sections follow the story of the timeline:
//
//   intro     pads and a slowly opening arpeggio, until the first flash
//   theme     the first section: full groove, a melody, an accent on every flash
//   welding   quieter: pads, torch crackle, no kick; it builds into the release
//   release   the robot wakes: half-time drums
//   run       the run through the hall and the passage: driving bass
//   wall      the robot stands before the glass: light drums, a pluck on every greeting
//   riser     the charge: a riser and a snare roll into the impact
//   runAgain  the drop at the impact and the run beyond the wall: everything plays
//   dance     back in the hall: a steady dance groove under the credits
//   outro     the last chord rings out until the music is silent
#include <vector>

#include "datagen/music/harmony.h"
#include "datagen/music/tempo_map.h"

namespace datagen {
namespace music {

enum class Section { kIntro, kTheme, kWelding, kRelease, kRun, kWall, kRiser, kRunAgain, kDance, kOutro };

struct SectionSpan {
  Section section;
  int firstBar;
  int endBar;  // one past the last
  int Bars() const { return endBar - firstBar; }
};

class Arrangement {
 public:
  // Lays the sections over the grid, at the bars where the timeline's events fall.
  explicit Arrangement(TempoMap grid);

  const TempoMap& Grid() const { return grid_; }
  const std::vector<SectionSpan>& Sections() const { return sections_; }
  // The section a bar belongs to; bars outside the music give the nearest end's.
  const SectionSpan& SpanOf(int bar) const;
  Chord ChordAt(int bar) const;

  // The time of a position given as bar and sixteenths within it.
  double Time(int bar, double sixteenth) const { return grid_.TimeAt(bar * 16.0 + sixteenth); }
  double BarLength(int bar) const { return Time(bar + 1, 0.0) - Time(bar, 0.0); }

  int FirstBar() const { return sections_.front().firstBar; }
  int EndBar() const { return sections_.back().endBar; }

  // The flash that the drop lands on (the one just before the wall impact) and the last.
  double DropTime() const { return dropTime_; }
  double LastFlash() const { return lastFlash_; }

 private:
  TempoMap grid_;
  std::vector<SectionSpan> sections_;
  double dropTime_;
  double lastFlash_;
};

// The soundtrack's grid, fitted to the timeline's flashes and greeting changes; the
// first flash, the release and the drop are bar lines. Computed once.
const TempoMap& SoundtrackGrid();

}  // namespace music
}  // namespace datagen
