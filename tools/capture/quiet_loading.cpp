#include "capture/quiet_loading.h"

#include <unistd.h>

#include <cstring>

namespace {
constexpr char kChatter[] = "loading ";
}  // namespace

QuietLoading::QuietLoading() {
  std::fflush(stderr);
  scratch_ = std::tmpfile();
  if (scratch_ == nullptr) return;
  savedStderr_ = ::dup(STDERR_FILENO);
  if (savedStderr_ < 0 || ::dup2(::fileno(scratch_), STDERR_FILENO) < 0) {
    if (savedStderr_ >= 0) ::close(savedStderr_);
    savedStderr_ = -1;
    std::fclose(scratch_);
    scratch_ = nullptr;
  }
}

QuietLoading::~QuietLoading() {
  if (scratch_ == nullptr) return;
  std::fflush(stderr);
  ::dup2(savedStderr_, STDERR_FILENO);
  ::close(savedStderr_);
  std::rewind(scratch_);
  char line[4096];
  while (std::fgets(line, sizeof line, scratch_) != nullptr) {
    if (std::strncmp(line, kChatter, sizeof kChatter - 1) != 0) std::fputs(line, stderr);
  }
  std::fclose(scratch_);
}
