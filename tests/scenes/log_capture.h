#pragma once
// Sends the program's log into a temporary file for the length of a test, so a test
// can check what a failure wrote.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/log.h"
#include "support/temp_dir.h"

namespace scene_testing {

class LogCapture {
 public:
  LogCapture() { OpenLog(dir_.File("log.txt")); }
  ~LogCapture() { CloseLog(); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(testing_support::ReadFile(dir_.File("log.txt")));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The folder the log lives in, free for the test's own files.
  const testing_support::TempDir& Dir() const { return dir_; }

 private:
  testing_support::TempDir dir_;
};

// The log holds exactly one line, an "error: ..." line that names `name`: how every
// failed set-up of the scenes reports what is missing.
inline void ExpectOneErrorNaming(const LogCapture& log, const std::string& name) {
  const std::vector<std::string> lines = log.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("error: ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(name), std::string::npos) << lines[0];
}

}  // namespace scene_testing
