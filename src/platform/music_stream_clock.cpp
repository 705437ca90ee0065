#include "platform/music_stream_clock.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

// A difference between device and clock is worked off over about this long.
constexpr double kCatchUpSeconds = 1.0;

}  // namespace

MusicStreamClock::MusicStreamClock(double framesPerSecond, double countsPerSecond)
    : framesPerSecond_(framesPerSecond), countsPerSecond_(countsPerSecond) {}

void MusicStreamClock::Start(std::int64_t now) {
  started_ = true;
  haveChunk_ = false;
  lastReported_ = 0.0;
  Anchor(0.0, now, 1.0);
}

void MusicStreamClock::OnDeviceChunk(double startFrame, double frames, std::int64_t now) {
  haveChunk_ = true;
  chunkStart_ = startFrame;
  chunkFrames_ = frames;
  chunkTime_ = now;
}

void MusicStreamClock::Anchor(double position, std::int64_t now, double rate) {
  anchorPosition_ = position;
  anchorTime_ = now;
  rate_ = rate;
}

double MusicStreamClock::ClockPosition(std::int64_t now) const {
  const double seconds = std::max<double>(0.0, static_cast<double>(now - anchorTime_) / countsPerSecond_);
  return anchorPosition_ + seconds * framesPerSecond_ * rate_;
}

double MusicStreamClock::Position(std::int64_t now) {
  if (!started_) return 0.0;
  double position = ClockPosition(now);
  if (haveChunk_) {
    const double sinceChunk = static_cast<double>(now - chunkTime_) / countsPerSecond_ * framesPerSecond_;
    const double device = chunkStart_ + std::clamp(sinceChunk, 0.0, chunkFrames_);
    const double band = kDeadBandSeconds * framesPerSecond_;
    const double difference = device - position;
    if (std::fabs(difference) > band) {
      const double slew = std::clamp(difference / (kCatchUpSeconds * framesPerSecond_), -kMaxSlew, kMaxSlew);
      Anchor(position, now, 1.0 + slew);
    } else if (rate_ != 1.0 && std::fabs(difference) < band / 4) {
      Anchor(position, now, 1.0);
    }
    // A device that stops taking audio stops the position too, a dead band later.
    const double limit = chunkStart_ + chunkFrames_ + band;
    if (position > limit) {
      position = limit;
      Anchor(limit, now, rate_);
    }
  }
  position = std::max(position, lastReported_);
  lastReported_ = position;
  return position;
}

}  // namespace platform
