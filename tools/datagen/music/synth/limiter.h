#pragma once
// The end of the chain: a look-ahead peak limiter and the conversion to 16-bit PCM.
#include <cstdint>
#include <vector>

#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace synth {

struct LimiterSettings {
  double ceilingDb = -1.5;   // no sample of the output goes above this
  double lookahead = 0.005;  // seconds: how early the gain starts to fall before a peak
  double release = 0.12;     // seconds for the gain to recover most of the way
};

// Limits audio in place: the gain falls smoothly ahead of every peak that would pass the
// ceiling and recovers slowly after it, and the same gain is applied to both channels so
// the stereo image stays put. The output has the same length and timing as the input.
void Limit(StereoBuffer& audio, const LimiterSettings& settings);

// The largest absolute sample of either channel.
float Peak(const StereoBuffer& audio);

// Interleaved 16-bit samples, with triangular dither (from a fixed seed, so the result
// is the same every time) and clipping at full scale.
std::vector<std::int16_t> ToPcm16(const StereoBuffer& audio);

}  // namespace synth
}  // namespace datagen
