#pragma once
// Where the timeline time comes from while the music lasts. The demo reads it from
// the playing position of its soundtrack; a tool that renders frame by frame without
// sound steps a fixed clock instead and gets the same timeline.
#include <memory>
#include <string>

#include "platform/music_stream.h"

class ITimelineClock {
 public:
  virtual ~ITimelineClock() = default;
  // Starts the clock at seconds (the music: seeks there, then plays).
  virtual void Start(double seconds) = 0;
  // The current position in seconds.
  virtual double Seconds() = 0;
  // Stops the clock for good and frees what it holds; later calls do nothing.
  virtual void Release() = 0;
};

// The soundtrack: a looping stream on the audio output, whose playing position is the
// timeline. Owns the stream and the output.
class MusicClock final : public ITimelineClock {
 public:
  // Opens the output and a stream over the MP3 file; null, with the reason in error,
  // when either fails (nothing is left open then).
  static std::unique_ptr<MusicClock> Open(const std::string& path, std::string& error);
  ~MusicClock() override { Release(); }
  MusicClock(const MusicClock&) = delete;
  MusicClock& operator=(const MusicClock&) = delete;

  void Start(double seconds) override;
  double Seconds() override;
  void Release() override;

 private:
  explicit MusicClock(platform::MusicHandle stream) : stream_(stream) {}
  platform::MusicHandle stream_;
  bool released_ = false;
};

// A clock that stands still until its owner moves it: a tool playing the demo frame by
// frame sets it to each frame's time before the frame's update.
class FixedClock final : public ITimelineClock {
 public:
  void Start(double seconds) override { seconds_ = seconds; }
  double Seconds() override { return seconds_; }
  void Release() override {}

  void Set(double seconds) { seconds_ = seconds; }
  void Advance(double seconds) { seconds_ += seconds; }

 private:
  double seconds_ = 0.0;
};
