#include "app/frame_timer.h"

#include <utility>

#include "platform/clock.h"

FrameTimer::FrameTimer(Counter counter, std::uint64_t frequency)
    : counter_(std::move(counter)),
      frequency_(static_cast<float>(static_cast<std::uint32_t>(frequency & 0xFFFFFFFFu))) {
  last_ = counter_();
}

FrameTimer::FrameTimer() : FrameTimer(platform::PerformanceCounter, platform::PerformanceFrequency()) {}

float FrameTimer::Tick() {
  const std::int64_t now = counter_();
  const double elapsedMs = static_cast<double>(now - last_) * 1000.0 / static_cast<double>(frequency_);
  totalMs_ += static_cast<float>(elapsedMs);
  last_ = now;
  const float step = totalMs_ - previousTotalMs_;
  previousTotalMs_ = totalMs_;
  return step;
}
