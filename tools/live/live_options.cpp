#include "live/live_options.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool ReadSeconds(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == nullptr || *end != '\0' || !std::isfinite(value) || value < 0.0) return false;
  out = value;
  return true;
}

bool ReadSize(const std::string& text, int& width, int& height) {
  int w = 0;
  int h = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
  if (w < 16 || h < 16 || w > 8192 || h > 8192) return false;
  width = w;
  height = h;
  return true;
}

}  // namespace

const char* LiveUsage() {
  return "usage: drift-live [--data DIR|DEMODAT] [--size WxH] [--at SECONDS] [--loop A,B] [--paused] [--commands]\n"
         "Plays the demo in a window with pause, exact seeking, loops and live reload.\n"
         "  --data DIR|DEMODAT  an unpacked data tree, played in place and watched for changes,\n"
         "                      or a data archive (default: build/data)\n"
         "  --size WxH          the render size (default 1280x720); the window scales it\n"
         "  --at SECONDS        start at this time\n"
         "  --loop A,B          play the loop from A to B seconds\n"
         "  --paused            start paused\n"
         "  --commands          take commands on standard input, one a line, each answered\n"
         "                      with one line: seek T, play, pause, step N, loop A B, loop off,\n"
         "                      shot FILE, reload, time, quit\n"
         "Keys: Space pause/play, Left/Right -/+1 s (Shift: 10 s), Page Up/Down the previous/next\n"
         "event, Home the start, ',' and '.' one frame while paused, '[' and ']' the loop's start\n"
         "and end, '\\' no loop, H the overlay, F the manual camera, B, L and the click write\n"
         "their lines to log.txt, Escape quits. docs/live.md has the rest.\n";
}

bool ParseLiveOptions(int argc, const char* const* argv, LiveOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option == "--paused") {
      options.paused = true;
      continue;
    }
    if (option == "--commands") {
      options.commands = true;
      continue;
    }
    const bool takesValue = option == "--data" || option == "--size" || option == "--at" || option == "--loop";
    if (!takesValue) {
      error = "unknown option " + option;
      return false;
    }
    if (i + 1 >= argc) {
      error = "missing value for " + option;
      return false;
    }
    const std::string value = argv[++i];
    if (option == "--data") {
      if (value.empty()) {
        error = "--data needs a folder or an archive";
        return false;
      }
      options.data = value;
    } else if (option == "--size") {
      if (!ReadSize(value, options.width, options.height)) {
        error = "--size takes WxH, each 16 to 8192: " + value;
        return false;
      }
    } else if (option == "--at") {
      if (!ReadSeconds(value, options.at)) {
        error = "--at takes seconds, 0 or more: " + value;
        return false;
      }
    } else {
      const std::size_t comma = value.find(',');
      double from = 0.0;
      double to = 0.0;
      if (comma == std::string::npos || !ReadSeconds(value.substr(0, comma), from) ||
          !ReadSeconds(value.substr(comma + 1), to) || to <= from) {
        error = "--loop takes A,B in seconds with B after A: " + value;
        return false;
      }
      options.loop = true;
      options.loopFrom = from;
      options.loopTo = to;
    }
  }
  return true;
}
