#pragma once
// Progress of long work on standard error: frames done of the total, frames per second
// and the time left. On a terminal one line is rewritten in place a few times a second;
// elsewhere (a log, a pipe) a line is added every few seconds.
#include <chrono>
#include <cstdio>
#include <string>

class Progress {
 public:
  using Clock = std::chrono::steady_clock;

  // `what` names the work ("frames"); out is where the lines go (standard error).
  Progress(long total, std::string what, std::FILE* out = stderr);
  // One more unit done; prints when it is time to.
  void Step();
  // The final line (always printed).
  void Finish();

  long Done() const { return done_; }
  double Seconds() const;
  double PerSecond() const;
  // The line as it would be printed now, e.g. "120/13380 frames (0.9%), 6.2 fps, 35:40 left".
  std::string Line() const;

 private:
  void Print(bool final);

  long total_;
  std::string what_;
  std::FILE* out_;
  bool terminal_;
  long done_ = 0;
  Clock::time_point start_;
  Clock::time_point lastPrint_;
};

// "1:02:03" or "35:40".
std::string FormatDuration(double seconds);
