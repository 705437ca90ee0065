// The visible rows between a mask's letterbox bars, found from its alpha.
#include <gtest/gtest.h>

#include <vector>

#include "render/picture_area.h"

namespace {

// A texWidth×texHeight alpha map: 255 in the first `bottom` and last `top` rows, 0 elsewhere.
std::vector<unsigned char> Bars(int texWidth, int texHeight, int bottom, int top) {
  std::vector<unsigned char> alpha(static_cast<size_t>(texWidth) * texHeight, 0);
  for (int y = 0; y < texHeight; ++y) {
    if (y < bottom || y >= texHeight - top) {
      for (int x = 0; x < texWidth; ++x) alpha[static_cast<size_t>(y) * texWidth + x] = 255;
    }
  }
  return alpha;
}

TEST(VisibleRows, MapTheBarsThroughTheNearestFilterOntoTheScreen) {
  // 1080 rows shown on 720: window row y shows texture row floor((y + 0.5) · 1.5).
  const auto alpha = Bars(16, 1080, 104, 104);
  const PictureRows rows = VisibleRows(alpha.data(), 16, 1080, 720);
  // Row 69 shows texture row 104, the first clear one; row 650 shows 975 (clear), 651 shows 977.
  EXPECT_EQ(rows.bottom, 69);
  EXPECT_EQ(rows.top, 651);
  EXPECT_FALSE(rows.IsWholeScreen(720));
  // Unequal bars, and a screen taller than the texture.
  const auto uneven = Bars(4, 10, 1, 3);
  const PictureRows tall = VisibleRows(uneven.data(), 4, 10, 100);
  EXPECT_EQ(tall.bottom, 10);
  EXPECT_EQ(tall.top, 70);
}

TEST(VisibleRows, ARowWithAnyTexelShowingThroughIsVisible) {
  auto alpha = Bars(8, 8, 2, 2);
  alpha[1 * 8 + 5] = 254;  // a vignette corner reaches into the bottom bar
  const PictureRows rows = VisibleRows(alpha.data(), 8, 8, 8);
  EXPECT_EQ(rows.bottom, 1);
  EXPECT_EQ(rows.top, 6);
}

TEST(VisibleRows, NoBarsACoveringMaskOrNoDataMeanTheWholeScreen) {
  const auto clear = Bars(8, 8, 0, 0);
  EXPECT_TRUE(VisibleRows(clear.data(), 8, 8, 480).IsWholeScreen(480));
  const auto covering = Bars(8, 8, 8, 0);
  EXPECT_TRUE(VisibleRows(covering.data(), 8, 8, 480).IsWholeScreen(480));
  EXPECT_TRUE(VisibleRows(nullptr, 8, 8, 480).IsWholeScreen(480));
  EXPECT_TRUE(VisibleRows(clear.data(), 0, 8, 480).IsWholeScreen(480));
  EXPECT_TRUE(PictureRows().IsWholeScreen(480));
}

}  // namespace
