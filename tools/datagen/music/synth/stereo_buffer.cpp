#include "datagen/music/synth/stereo_buffer.h"

#include <algorithm>

namespace datagen {
namespace synth {
namespace {

// The range of source frames that lands inside a buffer of `frames` at offset.
struct Overlap {
  std::size_t first;
  std::size_t end;
};
Overlap Clip(std::size_t sourceFrames, long long offset, std::size_t frames) {
  const long long first = std::max<long long>(0, -offset);
  const long long end =
      std::min<long long>(static_cast<long long>(sourceFrames), static_cast<long long>(frames) - offset);
  if (end <= first) return {0, 0};
  return {static_cast<std::size_t>(first), static_cast<std::size_t>(end)};
}

}  // namespace

void StereoBuffer::Mix(const StereoBuffer& source, long long offset, float gain) {
  const Overlap range = Clip(source.Frames(), offset, Frames());
  for (std::size_t i = range.first; i < range.end; ++i) {
    const std::size_t to = static_cast<std::size_t>(static_cast<long long>(i) + offset);
    left[to] += source.left[i] * gain;
    right[to] += source.right[i] * gain;
  }
}

void StereoBuffer::MixMono(const std::vector<float>& source, long long offset, PanGains gains) {
  const Overlap range = Clip(source.size(), offset, Frames());
  for (std::size_t i = range.first; i < range.end; ++i) {
    const std::size_t to = static_cast<std::size_t>(static_cast<long long>(i) + offset);
    left[to] += source[i] * gains.left;
    right[to] += source[i] * gains.right;
  }
}

}  // namespace synth
}  // namespace datagen
