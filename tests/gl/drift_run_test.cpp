// Runs the real program under the test display and ends it the ways a user can.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>

#include "support/dialog_driver.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/x11_client.h"

namespace {

using namespace testing_support;

constexpr char kTitle[] = "Drift :: by Halcyra";

class DriftRun : public ::testing::Test {
 protected:
  void SetUp() override {
    HoldDisplayConnection();
    std::filesystem::create_directories(tmp_);
  }

  ProcessOptions Options() const {
    ProcessOptions options;
    options.workingDirectory = work_.Path();
    options.setEnv["TMPDIR"] = tmp_;
    options.setEnv["SDL_AUDIODRIVER"] = "dummy";
    options.stderrPath = work_.File("stderr.txt");
    return options;
  }
  std::string Log() const { return ReadFile(work_.File("log.txt")); }
  bool DataFolderGone() const { return std::filesystem::is_empty(tmp_); }

  // Holds Escape long enough for a frame to see it: the loop reads the key state.
  static void PressEscape() {
    RunCommand({"xdotool", "keydown", "Escape"});
    SleepSeconds(0.5);
    RunCommand({"xdotool", "keyup", "Escape"});
  }

  TempDir work_;
  std::string tmp_ = work_.File("tmp");
  std::string drift_ = std::string(DRIFT_BINARY_DIR) + "/drift";
};

TEST_F(DriftRun, EscapeEndsTheRunCleanly) {
  auto started = StartDriftPastDialog(drift_, Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ChildProcess& drift = *started;
  ASSERT_NE(WaitForWindow(kTitle, 30), 0u) << "the demo window never appeared";
  EXPECT_FALSE(DataFolderGone()) << "the data folder exists while the demo runs";
  PressEscape();
  ASSERT_TRUE(drift.Wait(30)) << "Escape did not end the run";
  EXPECT_EQ(drift.ExitCode(), 0);
  EXPECT_TRUE(FileExists(work_.File("log.txt")));
  EXPECT_TRUE(DataFolderGone());
}

TEST_F(DriftRun, ClosingTheWindowEndsTheRunThroughTheTeardown) {
  auto started = StartDriftPastDialog(drift_, Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ChildProcess& drift = *started;
  const unsigned long window = WaitForWindow(kTitle, 30);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(RequestWindowClose(window));
  ASSERT_TRUE(drift.Wait(30));
  EXPECT_EQ(drift.ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone());
}

TEST_F(DriftRun, TerminationSignalStillRemovesTheDataFolder) {
  for (int signal : {SIGTERM, SIGINT}) {
    auto started = StartDriftPastDialog(drift_, Options());
    ASSERT_TRUE(started) << "the start dialog never appeared";
    ChildProcess& drift = *started;
    ASSERT_NE(WaitForWindow(kTitle, 30), 0u);
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
