#pragma once
// Milliseconds between frames from a high-resolution counter, accumulated in single
// precision so that the steps handed out add up exactly to the running total.
#include <cstdint>
#include <functional>

class FrameTimer {
 public:
  using Counter = std::function<std::int64_t()>;

  // Reads the counter once as the starting point. Only the low 32 bits of the
  // frequency are used (as unsigned), as the clock reports it.
  FrameTimer(Counter counter, std::uint64_t frequency);
  // On the platform's performance counter.
  FrameTimer();

  // Milliseconds since the previous call (since construction for the first one).
  float Tick();
  float TotalMs() const { return totalMs_; }

 private:
  Counter counter_;
  std::int64_t last_ = 0;
  float totalMs_ = 0.0f;
  float previousTotalMs_ = 0.0f;
  float frequency_ = 1.0f;
};
