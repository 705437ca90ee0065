#include "app/setup_dialog.h"

#include <gtest/gtest.h>

namespace {

using platform::DisplayMode;

TEST(SetupDialog, ModeTextsAreSortedAsTextWithDuplicatesKept) {
  const std::vector<DisplayMode> modes = {
      {640, 480, 32, 60}, {1024, 768, 32, 75}, {800, 600, 16, 60}, {1024, 768, 32, 60}, {640, 480, 32, 60}};
  EXPECT_EQ(ModeListItems(modes),
            (std::vector<std::string>{"1024x768x32bpp 60Hz", "1024x768x32bpp 75Hz", "640x480x32bpp 60Hz",
                                      "640x480x32bpp 60Hz", "800x600x16bpp 60Hz"}));
  EXPECT_EQ(FormatModeText({1280, 720, 24, 0}), "1280x720x24bpp 0Hz");
  EXPECT_TRUE(ModeListItems({}).empty());
}

TEST(SetupDialog, PrefixSearchStartsAfterTheFirstItemAndWraps) {
  const std::vector<std::string> items = {"640x480x32bpp 60Hz", "640x480x32bpp 60Hz", "800x600x32bpp 60Hz"};
  // With the text twice, the match after item 0 wins.
  EXPECT_EQ(FindItemWithPrefix(items, "640x480x32bpp 60Hz"), 1);
  // Only item 0 matches: found after wrapping around.
  EXPECT_EQ(FindItemWithPrefix({"1024X768X32BPP 60HZ", "640x480x32bpp 60Hz"}, "1024x768x32bpp 60Hz"), 0);
  // A prefix, not a whole-text match.
  EXPECT_EQ(FindItemWithPrefix(items, "800x600"), 2);
  EXPECT_EQ(FindItemWithPrefix(items, "1280x720x24bpp 0Hz"), -1);
  EXPECT_EQ(FindItemWithPrefix({}, "640"), -1);
  EXPECT_EQ(FindItemWithPrefix(items, "640x480", 1), 0);
}

TEST(SetupDialog, ScanReadsBackEveryFormattedMode) {
  for (const DisplayMode& mode : {DisplayMode{1024, 768, 32, 60}, DisplayMode{1280, 720, 24, 0},
                                  DisplayMode{3840, 2160, 30, 144}, DisplayMode{320, 200, 8, 70}}) {
    DisplayMode scanned;
    ASSERT_TRUE(ScanModeText(FormatModeText(mode), scanned)) << FormatModeText(mode);
    EXPECT_EQ(scanned.width, mode.width);
    EXPECT_EQ(scanned.height, mode.height);
    EXPECT_EQ(scanned.bitsPerPixel, mode.bitsPerPixel);
    EXPECT_EQ(scanned.refreshRate, mode.refreshRate);
  }
  DisplayMode untouched{1, 2, 3, 4};
  for (const char* bad : {"", "garbage", "1024x768", "1024x768x32bpp", "1024x768x32bpp Hz"}) {
    EXPECT_FALSE(ScanModeText(bad, untouched)) << bad;
  }
  EXPECT_EQ(untouched.width, 1);
  EXPECT_EQ(untouched.refreshRate, 4);
}

TEST(SetupDialog, StartWithoutAReadableSelectionFallsBackToTheCurrentMode) {
  const DisplayMode current{1920, 1080, 24, 60};
  DisplayMode chosen = ChosenMode(-1, "", current);
  EXPECT_EQ(chosen.width, 1920);
  chosen = ChosenMode(0, "not a mode", current);
  EXPECT_EQ(chosen.height, 1080);
  EXPECT_EQ(chosen.refreshRate, 60);
  chosen = ChosenMode(3, "800x600x16bpp 75Hz", current);
  EXPECT_EQ(chosen.width, 800);
  EXPECT_EQ(chosen.height, 600);
  EXPECT_EQ(chosen.bitsPerPixel, 16);
  EXPECT_EQ(chosen.refreshRate, 75);
}

}  // namespace
