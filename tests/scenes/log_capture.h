#pragma once
// Sends the program's log into a temporary file for the length of a test, so a test
// can check what a failure wrote.
#include <sstream>
#include <string>
#include <vector>

#include "app/log.h"
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

}  // namespace scene_testing
