// The beat grid: the map between grid positions and times, and its fit to the accents.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "datagen/music/arrangement.h"
#include "datagen/music/tempo_map.h"
#include "datagen/timeline_events.h"

namespace {

using namespace datagen::music;

TEST(TempoMapTest, InterpolatesBetweenAnchorsAndRunsOnBeyondThem) {
  // 0.1 s per sixteenth before, 0.125 between the anchors, 0.0625 after.
  const TempoMap map({{10.0, 0}, {12.0, 16}, {13.0, 32}}, 0.1);
  EXPECT_DOUBLE_EQ(map.TimeAt(0.0), 10.0);
  EXPECT_DOUBLE_EQ(map.TimeAt(8.0), 11.0);
  EXPECT_DOUBLE_EQ(map.TimeAt(-16.0), 8.4);
  EXPECT_DOUBLE_EQ(map.TimeAt(48.0), 14.0);
  for (double time : {5.0, 10.0, 10.7, 12.0, 12.5, 13.0, 20.0})
    EXPECT_NEAR(map.TimeAt(map.PositionAt(time)), time, 1e-9);
  EXPECT_EQ(map.BarAt(11.99), 0);
  EXPECT_EQ(map.BarAt(12.0), 1);
  EXPECT_EQ(map.BarAt(9.9), -1);
  EXPECT_EQ(map.NearestBar(11.9), 1);
  EXPECT_DOUBLE_EQ(map.BpmAt(11.0), 120.0);
  EXPECT_DOUBLE_EQ(map.BpmAt(20.0), 240.0);
}

TEST(TempoMapTest, MetreFavoursStrongPositions) {
  EXPECT_LT(MetreCost(0), MetreCost(8));
  EXPECT_LT(MetreCost(8), MetreCost(4));
  EXPECT_LT(MetreCost(4), MetreCost(2));
  EXPECT_LT(MetreCost(2), MetreCost(3));
  EXPECT_EQ(MetreCost(16 + 4), MetreCost(4));
  EXPECT_EQ(MetreCost(-12), MetreCost(4));
}

// Accents on a strict grid at 150 BPM (on beats, eighths and a syncopation): the fit finds
// that grid, passing through every accent at its own position.
TEST(TempoFitTest, RecoversAStrictGrid) {
  const double sixteenth = 0.1;  // 150 BPM
  const std::vector<int> positions = {0, 4, 8, 10, 16, 20, 28, 32, 38, 48, 52, 56, 64};
  std::vector<double> accents;
  for (int p : positions) accents.push_back(5.0 + p * sixteenth);
  const TempoMap map = FitTempoMap(accents, {}, TempoFitSettings());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    EXPECT_NEAR(map.PositionAt(accents[i]), positions[i], 1e-6) << accents[i];
  }
  EXPECT_NEAR(map.BpmAt(6.0), 150.0, 1e-6);
}

// Hand-timed accents (off a grid by up to 30 ms): every grid step stays a plausible tempo,
// every accent lies within half a sixteenth of a grid position, the required downbeats
// are bar lines, and accents closer than the merge window share one grid point.
TEST(TempoFitTest, FollowsJitteredAccentsAndHonoursDownbeats) {
  std::vector<double> accents;
  const double jitter[] = {0.0, 0.021, -0.013, 0.028, -0.025, 0.009, 0.017, -0.03, 0.004, 0.012};
  double t = 2.0;
  for (int i = 0; i < 40; ++i) {
    accents.push_back(t + jitter[i % 10]);
    t += (i % 3 == 2 ? 2 : 4) * 0.102;
  }
  const double downbeat = accents[20];
  accents.push_back(accents[33] + 0.02);  // a near-duplicate
  std::sort(accents.begin(), accents.end());
  const TempoMap map = FitTempoMap(accents, {downbeat}, TempoFitSettings());
  EXPECT_NEAR(std::fmod(map.PositionAt(downbeat), 16.0), 0.0, 1e-6);
  for (double a : accents) {
    const double position = map.PositionAt(a);
    const double off = std::fabs(position - std::round(position)) * map.SixteenthAt(a);
    EXPECT_LT(off, 0.06) << a;
  }
  for (double time = accents.front(); time < accents.back(); time += 0.05) {
    EXPECT_GT(map.BpmAt(time), 120.0) << time;
    EXPECT_LT(map.BpmAt(time), 180.0) << time;
  }
}

TEST(TempoFitTest, NoAccentsGiveTheNominalTempo) {
  const TempoMap map = FitTempoMap({}, {}, TempoFitSettings());
  EXPECT_NEAR(map.BpmAt(3.0), 147.0, 1e-9);
}

// The soundtrack's own grid: the first flash, the release and the drop are bar lines,
// and every flash and greeting change lies within half a sixteenth of the grid.
TEST(SoundtrackGridTest, MeetsTheTimeline) {
  using namespace datagen::timeline;
  const TempoMap& grid = SoundtrackGrid();
  const Arrangement arrangement(grid);
  for (double bar : {FlashTimes().front(), kReleaseHit, arrangement.DropTime()}) {
    EXPECT_NEAR(std::fmod(grid.PositionAt(bar), 16.0), 0.0, 1e-3) << bar;
  }
  for (const std::vector<double>* times : {&FlashTimes(), &GreetingTimes()}) {
    for (double t : *times) {
      const double position = grid.PositionAt(t);
      EXPECT_LE(std::fabs(position - std::round(position)), 0.5 + 1e-9) << t;
    }
  }
}

}  // namespace
