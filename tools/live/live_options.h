#pragma once
// The live player's command line.
#include <string>

struct LiveOptions {
  // An unpacked data tree played in place, or an archive unpacked into a private
  // folder as drift does; empty: the tree the build writes (build/data).
  std::string data;
  int width = 1280;  // the render size; the window starts at it and may be resized
  int height = 720;
  double at = 0.0;  // seconds
  bool loop = false;
  double loopFrom = 0.0;
  double loopTo = 0.0;
  bool paused = false;
  bool commands = false;  // read commands from standard input (live_commands.h)
  bool help = false;
};

// False with error set for an unknown option, a missing or malformed value, a size
// outside 16..8192, a negative or non-finite time, or a loop whose end is not after
// its start.
bool ParseLiveOptions(int argc, const char* const* argv, LiveOptions& options, std::string& error);
const char* LiveUsage();
