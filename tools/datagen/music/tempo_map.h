#pragma once
// The soundtrack's beat grid. The accents of the timeline were timed by hand, at about
// 147 beats per minute but not on any strict grid, so the grid here follows them: its
// tempo changes a little from accent to accent, the way a band follows a conductor, and
// most accents fall exactly on a grid position. Positions count sixteenth notes from
// the first accent (a bar is 16, a beat 4); earlier positions are negative.
#include <vector>

namespace datagen {
namespace music {

inline constexpr int kSixteenthsPerBeat = 4;
inline constexpr int kSixteenthsPerBar = 16;
inline constexpr int kBeatsPerBar = kSixteenthsPerBar / kSixteenthsPerBeat;

// A time that the grid passes through exactly.
struct GridAnchor {
  double time;
  int position;
};

class TempoMap {
 public:
  // anchors: at least one, ascending in time and in position. Before the first anchor
  // the grid runs at sixteenthBefore seconds per sixteenth; after the last, at the pace
  // of the last two anchors (or sixteenthBefore when there is only one).
  TempoMap(std::vector<GridAnchor> anchors, double sixteenthBefore);

  // The time of a position (fractions interpolate within the sixteenth).
  double TimeAt(double position) const;
  // The position at a time, fractional.
  double PositionAt(double time) const;

  double BarTime(int bar) const { return TimeAt(static_cast<double>(bar) * kSixteenthsPerBar); }
  // The bar a time falls in (floor), and the bar line nearest to a time.
  int BarAt(double time) const;
  int NearestBar(double time) const;
  // Seconds per sixteenth at a time.
  double SixteenthAt(double time) const;
  double BpmAt(double time) const { return 15.0 / SixteenthAt(time); }

  const std::vector<GridAnchor>& Anchors() const { return anchors_; }

 private:
  std::vector<GridAnchor> anchors_;
  double sixteenthBefore_;
  double sixteenthAfter_;
};

// How the grid is fitted to the accents: what a choice costs.
struct TempoFitSettings {
  double nominalBpm = 147.0;    // the tempo the accents were played at, roughly
  double tempoWeight = 300.0;   // straying from the nominal tempo (per squared log ratio)
  double changeWeight = 500.0;  // changing tempo from one stretch to the next
  double steadyFrom = 1e9;      // from this time on, tempo changes cost steadyFactor times more
  double steadyFactor = 4.0;
  double offGridWeight = 3000.0;  // per squared second an accent lies off the grid
  double offGridCost = 1.0;       // for each accent the grid does not pass through
  double metreWeight = 3.0;       // accents on weak sixteenths (see MetreCost)
  double mergeWindow = 0.045;     // accents closer than this are one event for the grid
  double longGap = 3.0;           // gaps longer than this are bridged at a steady tempo
  int beamWidth = 300;            // candidate grids kept per accent
};

// The cost of an accent at a position within its bar: nothing on the downbeat, little
// on the half bar and the beats, more on the eighths, most on the odd sixteenths.
double MetreCost(int positionInBar);

// Fits the grid to the accents (ascending times). The first accent is position 0, a
// downbeat; every time in downbeats (each within a millisecond of an accent) is made a
// bar line. The fit is a dynamic programme over the accents: for each it chooses whether
// the grid passes through it and how many sixteenths lie since the previous one it
// passed through, minimising the costs of the settings.
TempoMap FitTempoMap(const std::vector<double>& accents, const std::vector<double>& downbeats,
                     const TempoFitSettings& settings);

}  // namespace music
}  // namespace datagen
