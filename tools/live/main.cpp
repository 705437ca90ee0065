// drift-live: the demo in a window for its authors, with pause, exact seeking, loops,
// live reload of the data tree and a command channel (docs/live.md).
#include <cstdio>
#include <string>

#include "live/live_options.h"
#include "live/live_player.h"

int main(int argc, char** argv) {
  LiveOptions options;
  std::string error;
  if (!ParseLiveOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "drift-live: %s\n%s", error.c_str(), LiveUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(LiveUsage(), stdout);
    return 0;
  }
  LivePlayer player;
  return player.Run(options);
}
