#include "datagen/music/synth/fx_sounds.h"

#include <algorithm>
#include <cmath>

#include "datagen/music/synth/envelope.h"
#include "datagen/music/synth/filter.h"
#include "datagen/music/synth/oscillator.h"
#include "datagen/music/synth/tonal.h"

namespace datagen {
namespace synth {
namespace {

std::size_t Frames(double seconds) { return static_cast<std::size_t>(std::max(0.0, seconds) * kSampleRate) + 1; }

}  // namespace

StereoBuffer Riser(double seconds, float velocity, Noise& noise) {
  StereoBuffer out(Frames(seconds));
  Svf left, right;
  Oscillator saw;
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    const double x = static_cast<double>(i) / static_cast<double>(out.Frames());
    if (i % 16 == 0) {
      const double hz = 250.0 * std::pow(40.0, x);
      left.Set(hz, 0.55, kSampleRate);
      right.Set(hz * 1.07, 0.55, kSampleRate);
      saw.SetFrequency(NoteHz(50.0 + 24.0 * x * x), kSampleRate);
    }
    const float level = static_cast<float>(x * x * (0.3 + 0.7 * x)) * velocity;
    const float tone = saw.Saw() * 0.12f * static_cast<float>(x);
    out.left[i] = (left.Band(noise.Bipolar()) + tone) * level;
    out.right[i] = (right.Band(noise.Bipolar()) + tone) * level;
  }
  // The last few milliseconds fall to silence, so the end is a cut, not a click.
  const std::size_t fade = std::min<std::size_t>(out.Frames(), 80);
  for (std::size_t i = 0; i < fade; ++i) {
    const float g = static_cast<float>(i) / fade;
    out.left[out.Frames() - 1 - i] *= g;
    out.right[out.Frames() - 1 - i] *= g;
  }
  return out;
}

StereoBuffer Shatter(float velocity, Noise& noise) {
  StereoBuffer out(Frames(2.6));
  // The crack: a burst of very bright noise.
  std::vector<float> crack(Frames(0.25));
  Svf high;
  high.Set(3000.0, 0.2, kSampleRate);
  for (std::size_t i = 0; i < crack.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    crack[i] = high.High(noise.Bipolar()) * (Decay(t, 0.035) + 0.25f * Decay(t, 0.12)) * 0.9f;
  }
  ShapeEdges(crack, 0.0005, 0.02);
  out.MixMono(crack, 0, Pan(0.0f));
  // The shards: many small glass tones, dense at first and thinning out.
  double t = 0.004;
  while (t < 2.0) {
    const double hz = 1800.0 + 5200.0 * noise.Uniform();
    const float level = 0.35f * (0.4f + 0.6f * noise.Uniform()) * static_cast<float>(std::exp(-t / 0.7));
    std::vector<float> shard = Bell(hz, level, 0.04 + 0.18 * noise.Uniform());
    out.MixMono(shard, static_cast<long long>(t * kSampleRate), Pan(noise.Bipolar() * 0.9f));
    t += 0.006 + 0.05 * noise.Uniform() * (0.3 + t);
  }
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    out.left[i] *= velocity;
    out.right[i] *= velocity;
  }
  return out;
}

StereoBuffer Crackle(double seconds, float velocity, Noise& noise) {
  StereoBuffer out(Frames(seconds));
  std::vector<float> click(Frames(0.012));
  double t = 0.0;
  while (t < seconds) {
    // Bursts of sparks: rate and loudness drift, as a torch comes and goes.
    const double burst = 0.5 + 0.5 * std::sin(t * 1.7) * std::sin(t * 0.43 + 1.0);
    Svf band;
    band.Set(2500.0 + 4000.0 * noise.Uniform(), 0.5, kSampleRate);
    for (std::size_t i = 0; i < click.size(); ++i) {
      click[i] = band.Band(noise.Bipolar()) * Decay(static_cast<double>(i) / kSampleRate, 0.0015);
    }
    const float level = static_cast<float>(burst) * (0.2f + 0.8f * noise.Uniform()) * velocity;
    const PanGains pan = Pan(noise.Bipolar() * 0.6f);
    out.MixMono(click, static_cast<long long>(t * kSampleRate), {pan.left * level, pan.right * level});
    t += (0.004 + 0.06 * noise.Uniform()) / (0.3 + burst);
  }
  return out;
}

std::vector<float> Swell(double seconds, float velocity, Noise& noise) {
  std::vector<float> out(Frames(seconds));
  Svf high;
  high.Set(2500.0, 0.1, kSampleRate);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double x = static_cast<double>(i) / static_cast<double>(out.size());
    out[i] = high.High(noise.Bipolar()) * static_cast<float>(x * x * x) * velocity;
  }
  ShapeEdges(out, 0.0, 0.002);
  return out;
}

}  // namespace synth
}  // namespace datagen
