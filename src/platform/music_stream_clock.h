#pragma once
// The playing position of a music stream between audio callbacks. The device hands
// out audio in chunks (tens of milliseconds); read straight from the chunks, the
// position would advance in jumps and every animation driven by it would stutter.
// This clock runs on the performance counter and is only steered by the chunks: while
// the device keeps pace (within a dead band) the position is the clock's; when the
// device falls behind or runs ahead (a stall, a drifting sound card) the clock is
// slewed by a few percent until they agree again. It never goes backwards and never
// runs far ahead of what the device has been given.
#include <cstdint>

namespace platform {

class MusicStreamClock {
 public:
  // framesPerSecond: the stream's sample rate; countsPerSecond: the counter's frequency.
  MusicStreamClock(double framesPerSecond, double countsPerSecond);

  // Playing starts at `now` with position 0.
  void Start(std::int64_t now);
  // The device took frames [startFrame, startFrame + frames) of this playback at `now`
  // (positions counted like Position()).
  void OnDeviceChunk(double startFrame, double frames, std::int64_t now);
  // Frames played since Start, smooth and monotonic; 0 before Start.
  double Position(std::int64_t now);

  // Half width of the band within which the device is taken to keep pace, in seconds.
  static constexpr double kDeadBandSeconds = 0.040;
  // How much faster or slower the clock may run while it catches up.
  static constexpr double kMaxSlew = 0.05;

 private:
  double ClockPosition(std::int64_t now) const;
  void Anchor(double position, std::int64_t now, double rate);

  double framesPerSecond_;
  double countsPerSecond_;
  bool started_ = false;
  // The clock: position at the anchor time, running at rate_ x real time.
  double anchorPosition_ = 0.0;
  std::int64_t anchorTime_ = 0;
  double rate_ = 1.0;
  // The latest chunk the device took.
  bool haveChunk_ = false;
  double chunkStart_ = 0.0;
  double chunkFrames_ = 0.0;
  std::int64_t chunkTime_ = 0;
  double lastReported_ = 0.0;
};

}  // namespace platform
