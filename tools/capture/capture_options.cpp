#include "capture/capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// The timeline is 223 s of music followed by the frame clock; nobody needs hours.
constexpr double kLongestSection = 24.0 * 3600.0;
constexpr int kLargestSide = 16384;
constexpr int kHighestRate = 1000;
constexpr int kMostSheetFrames = 1000;

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A whole decimal number, nothing after it.
bool ParseInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && end != nullptr && *end == '\0';
}

// A finite decimal number of seconds, nothing after it.
bool ParseSeconds(const std::string& text, double& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return errno == 0 && end != nullptr && *end == '\0' && std::isfinite(value);
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  long w = 0;
  long h = 0;
  if (x == std::string::npos || !ParseInt(text.substr(0, x), w) || !ParseInt(text.substr(x + 1), h)) return false;
  if (w < 1 || h < 1 || w > kLargestSide || h > kLargestSide) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool ParseTimes(const std::string& text, std::vector<double>& times) {
  times.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    double seconds = 0.0;
    if (!ParseSeconds(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), seconds)) {
      return false;
    }
    times.push_back(seconds);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

}  // namespace

OutputKind OutputKindOf(const CaptureOptions& options) {
  if (options.out.empty()) return OutputKind::kNone;
  return EndsWith(options.out, ".mp4") ? OutputKind::kVideo : OutputKind::kFrameFolder;
}

bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error) {
  options = CaptureOptions();
  bool countGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    // Every option but the flags takes the next argument as its value.
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    } else if (arg == "--resume") {
      options.resume = true;
    } else if (arg == "--data") {
      if (!value(options.data)) return false;
    } else if (arg == "--size") {
      if (!value(text)) return false;
      if (!ParseSize(text, options.width, options.height)) {
        error = "--size takes WxH (1 to 16384 pixels each), not '" + text + "'";
        return false;
      }
    } else if (arg == "--fps") {
      long fps = 0;
      if (!value(text)) return false;
      if (!ParseInt(text, fps) || fps < 1 || fps > kHighestRate) {
        error = "--fps takes a whole number of frames per second (1 to 1000), not '" + text + "'";
        return false;
      }
      options.fps = static_cast<int>(fps);
    } else if (arg == "--from" || arg == "--to") {
      if (!value(text)) return false;
      double& seconds = arg == "--from" ? options.from : options.to;
      if (!ParseSeconds(text, seconds) || seconds < 0.0 || seconds > kLongestSection) {
        error = arg + " takes seconds (0 or more), not '" + text + "'";
        return false;
      }
    } else if (arg == "--hashes") {
      if (!value(options.hashes)) return false;
    } else if (arg == "--contact-sheet") {
      if (!value(options.contactSheet)) return false;
    } else if (arg == "--at") {
      if (!value(text)) return false;
      if (!ParseTimes(text, options.at)) {
        error = "--at takes times in seconds separated by commas, not '" + text + "'";
        return false;
      }
    } else if (arg == "--count") {
      long count = 0;
      if (!value(text)) return false;
      if (!ParseInt(text, count) || count < 1 || count > kMostSheetFrames) {
        error = "--count takes a number of frames (1 to 1000), not '" + text + "'";
        return false;
      }
      options.count = static_cast<int>(count);
      countGiven = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (options.out.empty()) {
      options.out = arg;
    } else {
      error = "more than one OUT: '" + options.out + "' and '" + arg + "'";
      return false;
    }
  }

  if (!(options.from < options.to)) {
    error = "the section is empty: --from must be before --to";
    return false;
  }
  if (options.contactSheet.empty() && (!options.at.empty() || countGiven)) {
    error = "--at and --count belong to --contact-sheet";
    return false;
  }
  if (!options.at.empty() && countGiven) {
    error = "--at and --count exclude each other";
    return false;
  }
  for (double t : options.at) {
    if (t < options.from || t >= options.to) {
      error = "--at time " + std::to_string(t) + " lies outside the section --from to --to";
      return false;
    }
  }
  const OutputKind kind = OutputKindOf(options);
  if (kind == OutputKind::kNone && options.contactSheet.empty() && options.hashes.empty()) {
    error = "nothing to write: give OUT (a folder or a .mp4 file), --hashes or --contact-sheet";
    return false;
  }
  if (options.resume && kind != OutputKind::kFrameFolder) {
    error = "--resume continues a folder of frames; OUT must be a folder";
    return false;
  }
  if (kind == OutputKind::kVideo && (options.width % 2 != 0 || options.height % 2 != 0)) {
    error = "a video needs an even width and height";
    return false;
  }
  return true;
}

const char* CaptureUsage() {
  return "usage: drift-capture [--data DEMODAT] [--size WxH] [--fps N] [--from S] [--to S]\n"
         "                     [--hashes FILE] [--contact-sheet FILE [--at T1,T2,...] [--count N]]\n"
         "                     [--resume] [OUT]\n"
         "\n"
         "Renders the demo off screen on a fixed clock: frame k shows timeline time k / fps,\n"
         "whatever the machine's speed. No display is needed.\n"
         "\n"
         "  OUT                a folder (receives frame_000000.png, ... numbered by k) or a file\n"
         "                     ending in .mp4 (H.264 through ffmpeg, with the soundtrack)\n"
         "  --data DEMODAT     the data archive (default: demodat beside the program)\n"
         "  --size WxH         the picture size (default 1280x720)\n"
         "  --fps N            frames per second (default 60)\n"
         "  --from S, --to S   the section in timeline seconds (default 0 to 223); both round\n"
         "                     to the frame grid, the frame at --to is not included\n"
         "  --hashes FILE      one line per frame: index, time in seconds, pixel hash; with\n"
         "                     it alone every frame is drawn and hashed, no picture written\n"
         "  --contact-sheet FILE\n"
         "                     one PNG of frames in a grid, each labelled with its time; with\n"
         "                     it OUT may be omitted (only those frames are then drawn)\n"
         "  --at T1,T2,...     the contact sheet's times (default: evenly over the section)\n"
         "  --count N          frames on the contact sheet (default 24)\n"
         "  --resume           continue an interrupted capture into the same folder\n"
         "  --help             this text\n"
         "\n"
         "Progress goes to standard error. Ctrl-C stops after the current frame; every frame\n"
         "written so far is complete. Exit status: 0 done, 1 failed, 2 bad command line,\n"
         "130 interrupted.\n";
}
