// Where the loading bar lies: its fixed place and its length for the steps done.
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

}  // namespace
