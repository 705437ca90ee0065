#pragma once
// The content loader announces every file it opens on standard error ("loading
// <path>"), hundreds of lines that would bury the capture's own messages. While one of
// these lives, standard error goes to a scratch file; when it ends, everything else that
// was written there (a decoder's complaint, a missing file) is passed on.
#include <cstdio>

class QuietLoading {
 public:
  QuietLoading();
  ~QuietLoading();
  QuietLoading(const QuietLoading&) = delete;
  QuietLoading& operator=(const QuietLoading&) = delete;

 private:
  int savedStderr_ = -1;
  std::FILE* scratch_ = nullptr;
};
