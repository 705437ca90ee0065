#pragma once
// The decoders and the material loader write a line to standard error for every
// file they refuse, which under a fuzzer is nearly every input: hundreds of
// thousands of lines a minute that bury libFuzzer's own report and slow each run.
// Adding -close_fd_mask=2 before the command line's own flags (which still win)
// has libFuzzer close the target's standard error while keeping its own output and
// the sanitizers' reports on a duplicate of it.
#include <cstdlib>

namespace fuzz_support {

inline void QuietStderr(int* argc, char*** argv) {
  static char flag[] = "-close_fd_mask=2";
  char** args = static_cast<char**>(std::calloc(static_cast<size_t>(*argc) + 2, sizeof(char*)));
  if (args == nullptr) return;
  args[0] = (*argv)[0];
  args[1] = flag;
  for (int i = 1; i < *argc; ++i) args[i + 1] = (*argv)[i];
  *argc += 1;
  *argv = args;  // kept for the whole run
}

}  // namespace fuzz_support
