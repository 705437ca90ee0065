#pragma once
// A fixture for tests that run the real drift program under the test display: a
// private working directory (where log.txt lands) and TMPDIR (where the data folder
// goes), so a test can check what a run leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"
#include "support/x11_client.h"

namespace testing_support {

constexpr char kDemoTitle[] = "Drift :: by Halcyra";

class DriftRunTest : public ::testing::Test {
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
  // True when no data folder (nor anything else) is left in TMPDIR.
  bool DataFolderGone() const { return std::filesystem::is_empty(tmp_); }

  // A copy of drift with the test data set packed beside it; its path, empty (and the
  // test failed) when it cannot be made.
  std::string TestDemo(const TestDataSetOptions& options = {}) {
    std::string error;
    const std::string bin = work_.File("bin");
    if (!PrepareTestDemo(bin, options, error)) {
      ADD_FAILURE() << error;
      return "";
    }
    return bin + "/drift";
  }

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

}  // namespace testing_support
