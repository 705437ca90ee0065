// The position clock with a simulated device: a counter in microseconds and audio
// chunks of 1024 frames at 44100 Hz handed out at whatever pace the device keeps.
#include "platform/music_stream_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr double kRate = 44100.0;
constexpr double kCounts = 1e6;  // counter ticks per second
constexpr double kChunk = 1024.0;
constexpr double kBand = platform::MusicStreamClock::kDeadBandSeconds * kRate;

struct Playback {
  double maxStep = 0.0;       // largest advance between two reads 1 ms apart, in frames
  double lastPosition = 0.0;
  double lastDevice = 0.0;    // frames the device had taken by the end
  bool monotonic = true;
};

// Plays for `seconds`, reading the position every millisecond. devicePace(t) is how many
// frames the device has taken by time t (it takes them a chunk at a time).
Playback Simulate(double seconds, const std::function<double(double)>& devicePace) {
  platform::MusicStreamClock clock(kRate, kCounts);
  clock.Start(0);
  Playback run;
  double handedOut = 0.0;
  double previous = 0.0;
  for (int ms = 0; ms <= seconds * 1000; ++ms) {
    const double t = ms / 1000.0;
    const std::int64_t now = static_cast<std::int64_t>(ms) * 1000;
    while (handedOut <= devicePace(t)) {
      clock.OnDeviceChunk(handedOut, kChunk, now);
      handedOut += kChunk;
    }
    const double position = clock.Position(now);
    if (position < previous) run.monotonic = false;
    run.maxStep = std::max(run.maxStep, position - previous);
    previous = position;
  }
  run.lastPosition = previous;
  run.lastDevice = handedOut;
  return run;
}

TEST(MusicStreamClock, WithoutChunksItIsTheCounter) {
  platform::MusicStreamClock clock(kRate, kCounts);
  EXPECT_EQ(clock.Position(123), 0.0);  // not started
  clock.Start(1000000);
  EXPECT_DOUBLE_EQ(clock.Position(1000000), 0.0);
  EXPECT_DOUBLE_EQ(clock.Position(1500000), 22050.0);
  EXPECT_DOUBLE_EQ(clock.Position(1400000), 22050.0);  // a counter read out of order never takes it back
  EXPECT_DOUBLE_EQ(clock.Position(3000000), 88200.0);
}

TEST(MusicStreamClock, ADeviceKeepingPaceLeavesItOnTheCounterSmoothly) {
  // Chunks come early or late by up to 5 ms around their due time.
  const Playback run = Simulate(10.0, [](double t) { return t * kRate + 0.005 * kRate * std::sin(t * 37.0); });
  EXPECT_TRUE(run.monotonic);
  EXPECT_NEAR(run.lastPosition, 10.0 * kRate, 1.0);
  EXPECT_LE(run.maxStep, 0.001 * kRate + 1.0) << "jumps instead of running smoothly";
}

TEST(MusicStreamClock, ASlowOrFastDeviceIsFollowedWithoutJumps) {
  for (double pace : {0.97, 1.03}) {
    const Playback run = Simulate(20.0, [pace](double t) { return t * kRate * pace; });
    EXPECT_TRUE(run.monotonic) << pace;
    // Locked to the device within the band (the device estimate is up to a chunk ahead).
    EXPECT_NEAR(run.lastPosition, 20.0 * kRate * pace, kBand + kChunk) << pace;
    const double slewed = 0.001 * kRate * (1.0 + platform::MusicStreamClock::kMaxSlew);
    EXPECT_LE(run.maxStep, slewed + 1.0) << pace;
  }
}

TEST(MusicStreamClock, ADeviceThatStopsStopsThePositionSoonAfter) {
  const Playback run = Simulate(3.0, [](double t) { return t < 1.0 ? t * kRate : 1.0 * kRate; });
  EXPECT_TRUE(run.monotonic);
  EXPECT_LE(run.lastPosition, run.lastDevice + kBand + 1.0);
  EXPECT_GE(run.lastPosition, 1.0 * kRate - kChunk);
}

TEST(MusicStreamClock, AfterAStallItCatchesUpWithTheDevice) {
  // The device hangs for 200 ms at t = 1 s and then plays on from where it was.
  const Playback run = Simulate(8.0, [](double t) { return (t < 1.0 ? t : t < 1.2 ? 1.0 : t - 0.2) * kRate; });
  EXPECT_TRUE(run.monotonic);
  EXPECT_NEAR(run.lastPosition, 7.8 * kRate, kBand + kChunk);
}

}  // namespace
