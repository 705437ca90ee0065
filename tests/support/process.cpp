#include "support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace testing_support {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ != 0) return;
  // Child.
  if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(126);
  for (const auto& entry : options.setEnv) setenv(entry.first.c_str(), entry.second.c_str(), 1);
  for (const std::string& name : options.unsetEnv) unsetenv(name.c_str());
  if (!options.stdoutPath.empty()) {
    int fd = open(options.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) dup2(fd, 1);
  }
  if (!options.stderrPath.empty()) {
    int fd = open(options.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) dup2(fd, 2);
  }
  execvp(args[0], args.data());
  std::perror("execvp");
  _exit(127);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !ended_) {
    kill(pid_, SIGKILL);
    Reap(true);
  }
}

bool ChildProcess::Reap(bool block) {
  if (ended_) return true;
  if (pid_ <= 0) return true;
  int status = 0;
  const pid_t r = waitpid(pid_, &status, block ? 0 : WNOHANG);
  if (r != pid_) return false;
  ended_ = true;
  if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) termSignal_ = WTERMSIG(status);
  return true;
}

bool ChildProcess::Wait(double timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  while (!Reap(false)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool ChildProcess::Running() { return !Reap(false); }

void ChildProcess::Kill(int signal) {
  if (pid_ > 0 && !ended_) kill(pid_, signal);
}

int RunCommand(const std::vector<std::string>& argv, double timeoutSeconds, const ProcessOptions& options) {
  ChildProcess child(argv, options);
  if (!child.Wait(timeoutSeconds)) return -1;
  return child.ExitCode();
}

void SleepSeconds(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace testing_support
