#include "capture/progress.h"

#include <unistd.h>

#include <cmath>

namespace {
// A terminal line is rewritten this often; a log gets a line this often.
constexpr double kTerminalInterval = 0.25;
constexpr double kLogInterval = 10.0;
}  // namespace

std::string FormatDuration(double seconds) {
  const long total = seconds > 0.0 && std::isfinite(seconds) ? std::lround(seconds) : 0;
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

Progress::Progress(long total, std::string what, std::FILE* out)
    : total_(total), what_(std::move(what)), out_(out), terminal_(::isatty(::fileno(out)) != 0),
      start_(Clock::now()), lastPrint_(start_) {}

double Progress::Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

double Progress::PerSecond() const {
  const double seconds = Seconds();
  return seconds > 0.0 ? done_ / seconds : 0.0;
}

std::string Progress::Line() const {
  const double rate = PerSecond();
  const double percent = total_ > 0 ? 100.0 * done_ / total_ : 100.0;
  char text[160];
  std::snprintf(text, sizeof text, "%ld/%ld %s (%.1f%%), %.2f %s per second, %s left", done_, total_, what_.c_str(),
                percent, rate, what_.c_str(),
                rate > 0.0 ? FormatDuration((total_ - done_) / rate).c_str() : "?");
  return text;
}

void Progress::Step() {
  ++done_;
  const double sinceLast = std::chrono::duration<double>(Clock::now() - lastPrint_).count();
  if (sinceLast >= (terminal_ ? kTerminalInterval : kLogInterval)) Print(false);
}

void Progress::Finish() { Print(true); }

void Progress::Print(bool final) {
  lastPrint_ = Clock::now();
  if (terminal_) {
    std::fprintf(out_, "\r\033[K%s%s", Line().c_str(), final ? "\n" : "");
  } else {
    std::fprintf(out_, "%s\n", Line().c_str());
  }
  std::fflush(out_);
}
