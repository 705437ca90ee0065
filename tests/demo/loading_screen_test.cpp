// Where the loading bar lies (its fixed place and its length for the steps done) and
// which loading steps are presented.
#include "demo/loading_screen.h"

#include <gtest/gtest.h>

namespace {

TEST(LoadingBar, At1280By768ItSpansX323To959AndOneLineAt103) {
  const LoadingBar full = LoadingBarAt(1280, 768, 10, 10);
  EXPECT_EQ(full.x0, 323);
  EXPECT_EQ(full.x1, 959);
  EXPECT_EQ(full.y0, 103);
  EXPECT_EQ(full.y1, 104);
}

TEST(LoadingBar, GrowsWithTheStepsUpToFullLengthAndNoFurther) {
  EXPECT_EQ(LoadingBarAt(1280, 768, 0, 10).x1, 323);
  EXPECT_EQ(LoadingBarAt(1280, 768, 5, 10).x1, 323 + 318);
  for (int width : {640, 800, 1024, 1280, 1366, 1920, 2560}) {
    const LoadingBar full = LoadingBarAt(width, 768, 7, 7);
    EXPECT_EQ(full.x1 - full.x0, static_cast<int>(width * 0.496875f)) << width;
    EXPECT_EQ(LoadingBarAt(width, 768, 70, 7).x1, full.x1) << "more steps than announced";
    EXPECT_LE(LoadingBarAt(width, 768, 6, 7).x1, full.x1);
  }
}

TEST(LoadingBar, NothingToLoadIsAFullBar) {
  EXPECT_EQ(LoadingBarAt(1280, 768, 0, 0).x1, 959);
  EXPECT_EQ(LoadingBarAt(1280, 768, 3, 0).x1, 959);
  EXPECT_EQ(LoadingBarAt(1280, 768, 0, -5).x1, 959);
}

TEST(LoadingBar, StaysOnTheScreenAtOtherSizes) {
  const LoadingBar bar = LoadingBarAt(1280, 720, 1, 1);
  EXPECT_EQ(bar.y0, 96);
  EXPECT_EQ(bar.y1, 97);
  const LoadingBar small = LoadingBarAt(64, 48, 1, 1);
  EXPECT_GE(small.x0, 0);
  EXPECT_LE(small.x1, 64);
}

// 360 steps in half a second, as the generated data set loads: presenting each one
// with vertical sync at 60 Hz would take six seconds.
TEST(PresentPacer, PresentsAtMostOncePerRefreshAndOnlyWhenTheBarMoves) {
  PresentPacer pacer;
  const int total = 360;
  int presents = 0;
  int lastShown = -1;
  for (int done = 0; done <= total; ++done) {
    const double now = 0.5 * done / total;
    const int barEnd = LoadingBarAt(1280, 720, done, total).x1;
    if (pacer.ShouldPresent(barEnd, now, done == total)) {
      ++presents;
      lastShown = barEnd;
    }
  }
  EXPECT_LE(presents, 32) << "0.5 s at one present per 1/60 s, the first and the last";
  EXPECT_GE(presents, 29);
  EXPECT_EQ(lastShown, LoadingBarAt(1280, 720, total, total).x1) << "the full bar is always shown";
}

TEST(PresentPacer, AStillBarIsNotPresentedAgain) {
  PresentPacer pacer(0.0);
  EXPECT_TRUE(pacer.ShouldPresent(10, 0.0, false)) << "the first frame";
  EXPECT_FALSE(pacer.ShouldPresent(10, 1.0, false));
  EXPECT_FALSE(pacer.ShouldPresent(10, 2.0, true)) << "the last step adds nothing to see";
  EXPECT_TRUE(pacer.ShouldPresent(11, 2.0, false));
  pacer.Reset();
  EXPECT_TRUE(pacer.ShouldPresent(11, 2.0, false)) << "a new loading starts with a frame";
}

TEST(PresentPacer, ASlowStepIsPresentedAtOnce) {
  PresentPacer pacer;
  EXPECT_TRUE(pacer.ShouldPresent(0, 0.0, false));
  EXPECT_FALSE(pacer.ShouldPresent(1, 0.001, false));
  EXPECT_TRUE(pacer.ShouldPresent(2, 0.5, false));  // after a long decode the bar shows its progress
  EXPECT_TRUE(pacer.ShouldPresent(3, 0.501, true));  // and the last step is never held back
}

TEST(PresentPacer, ASlowPresentWidensTheGapSoPresentingStaysAFifthOfLoading) {
  PresentPacer pacer;
  // Each present takes 50 ms (a software renderer copying the frame to the screen);
  // the items take 1 ms each and every one moves the bar.
  double now = 0.0;
  double presenting = 0.0;
  int presents = 0;
  for (int item = 0; item < 2000; ++item) {
    if (pacer.ShouldPresent(item, now, item == 1999)) {
      now += 0.05;
      presenting += 0.05;
      pacer.Presented(now);
      ++presents;
    }
    now += 0.001;
  }
  EXPECT_LE(presenting / now, 0.25) << "about a fifth: the first and the last present are never held back";
  EXPECT_GE(presents, 8) << "the bar still moves on screen";
}

TEST(PresentPacer, AFastPresentKeepsOnePerRefresh) {
  PresentPacer pacer;
  EXPECT_TRUE(pacer.ShouldPresent(0, 0.0, false));
  pacer.Presented(0.0005);
  EXPECT_FALSE(pacer.ShouldPresent(1, 0.010, false));
  EXPECT_TRUE(pacer.ShouldPresent(2, 0.018, false));
}

}  // namespace
