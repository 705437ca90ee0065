// Runs the real program under the test display and ends it the ways a user can.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>

#include "support/dialog_driver.h"
#include "support/drift_run.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/x11_client.h"

namespace {

using namespace testing_support;

using DriftRun = DriftRunTest;

TEST_F(DriftRun, EscapeEndsTheRunCleanly) {
  auto started = StartDriftPastDialog(TestDemo(), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ChildProcess& drift = *started;
  ASSERT_NE(WaitForWindow(kDemoTitle, 30), 0u) << "the demo window never appeared";
  EXPECT_FALSE(DataFolderGone()) << "the data folder exists while the demo runs";
  PressEscape();
  ASSERT_TRUE(drift.Wait(30)) << "Escape did not end the run";
  EXPECT_EQ(drift.ExitCode(), 0);
  EXPECT_TRUE(FileExists(work_.File("log.txt")));
  EXPECT_TRUE(DataFolderGone());
}

TEST_F(DriftRun, ClosingTheWindowEndsTheRunThroughTheTeardown) {
  auto started = StartDriftPastDialog(TestDemo(), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ChildProcess& drift = *started;
  const unsigned long window = WaitForWindow(kDemoTitle, 30);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(RequestWindowClose(window));
  ASSERT_TRUE(drift.Wait(30));
  EXPECT_EQ(drift.ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone());
}

TEST_F(DriftRun, AltF4EndsTheRunThroughTheTeardownWithoutAWindowManager) {
  auto started = StartDriftPastDialog(TestDemo(), Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ChildProcess& drift = *started;
  ASSERT_NE(WaitForWindow(kDemoTitle, 30), 0u);
  RunCommand({"xdotool", "key", "alt+F4"});
  ASSERT_TRUE(drift.Wait(30)) << "Alt-F4 did not end the run";
  EXPECT_EQ(drift.ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone());
  EXPECT_NE(Log().find("vertical sync: "), std::string::npos) << Log();
}

TEST_F(DriftRun, TerminationSignalStillRemovesTheDataFolder) {
  const std::string demo = TestDemo();
  for (int signal : {SIGTERM, SIGINT}) {
    auto started = StartDriftPastDialog(demo, Options());
    ASSERT_TRUE(started) << "the start dialog never appeared";
    ChildProcess& drift = *started;
    ASSERT_NE(WaitForWindow(kDemoTitle, 30), 0u);
    drift.Kill(signal);
    ASSERT_TRUE(drift.Wait(30)) << "signal " << signal;
    EXPECT_EQ(drift.ExitCode(), 0) << "signal " << signal;
    EXPECT_TRUE(DataFolderGone()) << "signal " << signal;
  }
}

TEST_F(DriftRun, WithoutADisplayInitFailsAndTheTeardownStillRuns) {
  ProcessOptions options = Options();
  options.setEnv["DISPLAY"] = ":31999";  // no server there
  options.setEnv["SDL_VIDEODRIVER"] = "x11";
  options.unsetEnv.push_back("WAYLAND_DISPLAY");
  ChildProcess drift({drift_}, options);
  ASSERT_TRUE(drift.Wait(30));
  EXPECT_EQ(drift.ExitCode(), 0);
  EXPECT_NE(Log().find("no display for the setup dialog"), std::string::npos) << Log();
  EXPECT_NE(Log().find("couldn't initialize opengl window\n"), std::string::npos) << Log();
  EXPECT_TRUE(DataFolderGone());
}

}  // namespace
