#include "capture/frame_grid.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameGrid, ASectionRoundsToTheGridCountedFromZero) {
  const FrameGrid whole = FrameGrid::ForSection(60, 0.0, 223.0);
  EXPECT_EQ(whole.first, 0);
  EXPECT_EQ(whole.end, 13380);
  EXPECT_EQ(whole.Count(), 13380);

  const FrameGrid section = FrameGrid::ForSection(60, 100.004, 100.5);
  EXPECT_EQ(section.first, 6000) << "100.004 s is nearest to frame 6000";
  EXPECT_EQ(section.end, 6030);
  EXPECT_DOUBLE_EQ(section.Seconds(6003), 100.05);

  // The same time is the same frame, whichever section holds it.
  const FrameGrid other = FrameGrid::ForSection(60, 90.0, 110.0);
  EXPECT_EQ(other.Nearest(100.05), section.Nearest(100.05));
  EXPECT_EQ(other.TimeMs(6003), section.TimeMs(6003));
}

TEST(FrameGrid, ASectionShorterThanAFrameStillHoldsOne) {
  const FrameGrid grid = FrameGrid::ForSection(10, 5.0, 5.01);
  EXPECT_EQ(grid.first, 50);
  EXPECT_EQ(grid.Count(), 1);
}

TEST(FrameGrid, TheFrameLoopTimesAreMilliseconds) {
  const FrameGrid grid = FrameGrid::ForSection(25, 0.0, 10.0);
  EXPECT_FLOAT_EQ(grid.TimeMs(50), 2000.0f);
  EXPECT_FLOAT_EQ(grid.StepMs(), 40.0f);
}

TEST(FrameGrid, TheContactSheetTakesTheMiddlesOfEqualSlices) {
  const FrameGrid grid = FrameGrid::ForSection(60, 0.0, 223.0);
  const std::vector<long> frames = SheetFrames(grid, 24);
  ASSERT_EQ(frames.size(), 24u);
  EXPECT_EQ(frames.front(), 278) << "half a slice of 557.5 frames";
  EXPECT_EQ(frames.back(), 13101);
  for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_GT(frames[i], frames[i - 1]);

  // More cells than frames: every cell still shows a frame of the section.
  const FrameGrid tiny = FrameGrid::ForSection(10, 1.0, 1.3);
  for (long frame : SheetFrames(tiny, 7)) {
    EXPECT_GE(frame, tiny.first);
    EXPECT_LT(frame, tiny.end);
  }
}

TEST(FrameGrid, ContactSheetTimesGoToTheNearestFrameOfTheSection) {
  const FrameGrid grid = FrameGrid::ForSection(60, 10.0, 20.0);
  EXPECT_EQ(SheetFramesAt(grid, {15.0, 10.004, 19.999, 12.5}), (std::vector<long>{900, 600, 1199, 750}));
}

}  // namespace
