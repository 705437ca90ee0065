#pragma once
// Starting a program as a child process (the demo, tools, xdotool) from a test.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct ProcessOptions {
  std::string workingDirectory;                  // empty: inherit
  std::map<std::string, std::string> setEnv;     // added or replaced
  std::vector<std::string> unsetEnv;             // removed
  std::string stdoutPath;                        // empty: inherit
  std::string stderrPath;                        // empty: inherit
};

class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
  ~ChildProcess();  // kills the child if it still runs

  // Waits up to timeoutSeconds; true when the child ended (its status in ExitCode()).
  bool Wait(double timeoutSeconds);
  bool Running();
  void Kill(int signal);
  // Exit status of a normal exit; -1 before it ended or when a signal ended it.
  int ExitCode() const { return exitCode_; }
  int TermSignal() const { return termSignal_; }
  pid_t Pid() const { return pid_; }

 private:
  bool Reap(bool block);
  pid_t pid_ = -1;
  bool ended_ = false;
  int exitCode_ = -1;
  int termSignal_ = 0;
};

// Runs a command to its end and returns its exit code (-1 when it did not end in time).
int RunCommand(const std::vector<std::string>& argv, double timeoutSeconds = 30,
               const ProcessOptions& options = {});

// Sleeps for the given number of seconds.
void SleepSeconds(double seconds);

}  // namespace testing_support
