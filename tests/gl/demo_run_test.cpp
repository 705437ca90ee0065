// The demo as a user runs it: drift with the test data set beside it plays from the
// start dialog until Escape, and a data set that lacks something the demo needs ends
// the run cleanly with a line naming it.
#include <gtest/gtest.h>

#include <string>

#include "support/dialog_driver.h"
#include "support/drift_run.h"
#include "support/process.h"
#include "support/test_data_set.h"
#include "support/x11_client.h"

namespace {

using namespace testing_support;

class DemoRun : public DriftRunTest {
 protected:
  // Waits until the window shows a demo frame: the mask's black bar at the top over a
  // picture that is neither black nor the loading screen in the middle.
  static bool WaitForDemoFrame(unsigned long window, double timeoutSeconds) {
    for (double waited = 0.0; waited < timeoutSeconds; waited += 0.1) {
      unsigned top = 1, middle = 0;
      if (WindowPixel(window, 20, 8, top) && WindowPixel(window, 640, 360, middle) && top == 0 && middle != 0) {
        return true;
      }
      SleepSeconds(0.1);
    }
    return false;
  }
};

TEST_F(DemoRun, PlaysUntilEscapeAndLeavesNothingBehind) {
  auto started = StartDriftPastDialog(TestDemo(), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  const unsigned long window = WaitForWindow(kDemoTitle, 30);
  ASSERT_NE(window, 0u) << Log();
  EXPECT_TRUE(WaitForDemoFrame(window, 30)) << "no demo frame was shown\n" << Log();
  EXPECT_TRUE(started->Running()) << Log();
  PressEscape();
  ASSERT_TRUE(started->Wait(30)) << "Escape did not end the run";
  EXPECT_EQ(started->ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone());
  EXPECT_EQ(Log().find("error"), std::string::npos) << Log();
}

TEST_F(DemoRun, AQuickTapOfEscapeBetweenTwoFramesEndsTheRun) {
  auto started = StartDriftPastDialog(TestDemo(), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  // Pressed at once, while the demo still loads: the press is taken by the first frame.
  const unsigned long window = WaitForWindow(kDemoTitle, 30);
  ASSERT_NE(window, 0u) << Log();
  RunCommand({"xdotool", "key", "Escape"});
  ASSERT_TRUE(started->Wait(30)) << "the tap was lost";
  EXPECT_EQ(started->ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone());
}

TEST_F(DemoRun, AMissingAssetEndsTheRunWithALineNamingIt) {
  TestDataSetOptions options;
  options.omit = {"models/boards.geo"};
  auto started = StartDriftPastDialog(TestDemo(options), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ASSERT_TRUE(started->Wait(60)) << "the run did not end by itself";
  EXPECT_EQ(started->ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone());
  EXPECT_NE(Log().find("error: model 'boards' wasn't found\n"), std::string::npos) << Log();
}

TEST_F(DemoRun, WithoutTheSoundtrackTheDemoPlaysOnTheFrameClock) {
  TestDataSetOptions options;
  options.omit = {"music/osprey.mp3"};
  auto started = StartDriftPastDialog(TestDemo(options), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  const unsigned long window = WaitForWindow(kDemoTitle, 30);
  ASSERT_NE(window, 0u) << Log();
  EXPECT_TRUE(WaitForDemoFrame(window, 30)) << "no demo frame was shown\n" << Log();
  PressEscape();
  ASSERT_TRUE(started->Wait(30));
  EXPECT_EQ(started->ExitCode(), 0);
  EXPECT_NE(Log().find("no music ("), std::string::npos) << Log();
  EXPECT_NE(Log().find("): the timeline runs on the frame clock\n"), std::string::npos) << Log();
}

}  // namespace
