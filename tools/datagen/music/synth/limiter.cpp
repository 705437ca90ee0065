#include "datagen/music/synth/limiter.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "datagen/music/synth/noise.h"

namespace datagen {
namespace synth {

void Limit(StereoBuffer& audio, const LimiterSettings& settings) {
  const std::size_t frames = audio.Frames();
  if (frames == 0) return;
  const float ceiling = static_cast<float>(std::pow(10.0, settings.ceilingDb / 20.0));
  const std::size_t window = std::max<std::size_t>(1, static_cast<std::size_t>(settings.lookahead * kSampleRate));

  // The gain each frame needs on its own.
  std::vector<float> needed(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const float level = std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i]));
    needed[i] = level > ceiling ? ceiling / level : 1.0f;
  }

  // held[i]: the smallest gain needed over frames i .. i + window - 1 (a sliding minimum
  // over what is coming), recovering slowly after a peak but never above that minimum.
  std::vector<float> held(frames);
  std::deque<std::size_t> minima;  // indices with increasing needed gain
  const auto enter = [&](std::size_t j) {
    while (!minima.empty() && needed[minima.back()] >= needed[j]) minima.pop_back();
    minima.push_back(j);
  };
  for (std::size_t j = 0; j + 1 < window && j < frames; ++j) enter(j);
  const float recovery = static_cast<float>(1.0 - std::exp(-1.0 / (settings.release * kSampleRate)));
  float gain = 1.0f;
  for (std::size_t i = 0; i < frames; ++i) {
    if (i + window - 1 < frames) enter(i + window - 1);
    while (minima.front() < i) minima.pop_front();
    gain = std::min(needed[minima.front()], gain + (1.0f - gain) * recovery);
    held[i] = gain;
  }

  // The gain applied to frame i is the mean of held over the `window` frames up to i:
  // each of those looked ahead over a span that contains i, so none is above the gain
  // frame i needs, and neither is their mean; and every fall becomes a smooth ramp.
  double sum = 0.0;
  for (std::size_t i = 0; i < frames; ++i) {
    sum += held[i];
    if (i >= window) sum -= held[i - window];
    const double count = static_cast<double>(std::min(i + 1, window));
    const float applied = std::min(static_cast<float>(sum / count), needed[i]);
    audio.left[i] *= applied;
    audio.right[i] *= applied;
  }
}

float Peak(const StereoBuffer& audio) {
  float peak = 0.0f;
  for (std::size_t i = 0; i < audio.Frames(); ++i) {
    peak = std::max(peak, std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i])));
  }
  return peak;
}

std::vector<std::int16_t> ToPcm16(const StereoBuffer& audio) {
  std::vector<std::int16_t> pcm(audio.Frames() * 2);
  Noise dither(0x44524946ull);
  const auto convert = [&](float sample) {
    const float lsb = 1.0f / 32768.0f;
    const float value = (sample + (dither.Uniform() - dither.Uniform()) * lsb) * 32768.0f;
    return static_cast<std::int16_t>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
  };
  for (std::size_t i = 0; i < audio.Frames(); ++i) {
    pcm[2 * i] = convert(audio.left[i]);
    pcm[2 * i + 1] = convert(audio.right[i]);
  }
  return pcm;
}

}  // namespace synth
}  // namespace datagen
