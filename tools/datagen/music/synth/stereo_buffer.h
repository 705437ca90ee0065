#pragma once
// Floating-point stereo audio: what every instrument renders into and every stage of the
// mix hands on. Samples are nominally in -1..1; nothing is clipped before the limiter.
#include <cmath>
#include <cstddef>
#include <vector>

namespace datagen {
namespace synth {

constexpr int kSampleRate = 44100;

// Gains of a constant-power pan: -1 is hard left, 0 the centre, 1 hard right.
struct PanGains {
  float left;
  float right;
};
inline PanGains Pan(float pan) {
  if (pan < -1.0f) pan = -1.0f;
  if (pan > 1.0f) pan = 1.0f;
  const double angle = (pan + 1.0) * 0.25 * 3.141592653589793;
  return {static_cast<float>(std::cos(angle) * 1.41421356), static_cast<float>(std::sin(angle) * 1.41421356)};
}

struct StereoBuffer {
  std::vector<float> left;
  std::vector<float> right;

  StereoBuffer() = default;
  explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

  std::size_t Frames() const { return left.size(); }

  // Adds source into this buffer from frame offset on (negative: source starts before
  // this buffer), scaled by gain; what lies outside this buffer is dropped.
  void Mix(const StereoBuffer& source, long long offset, float gain = 1.0f);
  // Adds a mono signal, placed with the gains of a pan.
  void MixMono(const std::vector<float>& source, long long offset, PanGains gains);
};

}  // namespace synth
}  // namespace datagen
