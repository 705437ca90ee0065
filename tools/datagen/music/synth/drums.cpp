#include "datagen/music/synth/drums.h"

#include <algorithm>
#include <cmath>

#include "datagen/music/synth/envelope.h"
#include "datagen/music/synth/filter.h"
#include "datagen/music/synth/oscillator.h"
#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace synth {
namespace {

std::vector<float> Silence(double seconds) {
  return std::vector<float>(static_cast<std::size_t>(seconds * kSampleRate), 0.0f);
}

// The metallic partials of a hat or a cymbal (frequencies of a classic analogue kit).
class Metal {
 public:
  explicit Metal(double scale) {
    static const double kPartials[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    for (int i = 0; i < 6; ++i) partials_[i] = Oscillator(kPartials[i] * scale, kSampleRate, 0.13 * i);
  }
  float Next() {
    float sum = 0.0f;
    for (Oscillator& partial : partials_) sum += partial.Pulse();
    return sum * (1.0f / 6.0f);
  }

 private:
  Oscillator partials_[6];
};

// Band-passed noise with a linear attack and an exponential decay.
std::vector<float> NoiseBurst(double seconds, double centreHz, double resonance, double attack, double decay,
                              float gain, Noise& noise) {
  std::vector<float> out = Silence(seconds);
  Svf band;
  band.Set(centreHz, resonance, kSampleRate);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float rise = attack > 0.0 ? static_cast<float>(std::min(1.0, t / attack)) : 1.0f;
    out[i] = band.Band(noise.Bipolar()) * rise * Decay(t, decay) * gain;
  }
  ShapeEdges(out, 0.0, 0.005);
  return out;
}

}  // namespace

std::vector<float> Kick(const KickSound& sound, float velocity, Noise& noise) {
  std::vector<float> out = Silence(sound.length);
  double phase = 0.0;
  OnePole clickTone;
  clickTone.Set(3000.0, kSampleRate);
  const double drive = 1.8;
  const double norm = 1.0 / std::tanh(drive);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double hz = sound.endHz + (sound.startHz - sound.endHz) * std::exp(-t / sound.pitchFall);
    phase += hz / kSampleRate;
    const double body = std::sin(kTwoPi * phase) * Decay(t, sound.decay);
    const double click = clickTone.High(noise.Bipolar()) * sound.click * Decay(t, 0.0025);
    out[i] = static_cast<float>(std::tanh(drive * (body + click)) * norm * velocity);
  }
  ShapeEdges(out, 0.0, 0.01);
  return out;
}

std::vector<float> Snare(float velocity, Noise& noise) {
  std::vector<float> out = Silence(0.45);
  Oscillator low(185.0, kSampleRate), high(330.0, kSampleRate);
  Svf noiseHigh, noiseLow;
  noiseHigh.Set(1200.0, 0.1, kSampleRate);
  noiseLow.Set(9000.0, 0.0, kSampleRate);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float body = low.Sine() * Decay(t, 0.07) * 0.6f + high.Sine() * Decay(t, 0.045) * 0.35f;
    const float hiss = noiseLow.Low(noiseHigh.High(noise.Bipolar())) * (Decay(t, 0.11) * 0.8f + Decay(t, 0.012) * 0.4f);
    out[i] = (body + hiss) * velocity;
  }
  ShapeEdges(out, 0.0, 0.01);
  return out;
}

std::vector<float> Clap(float velocity, Noise& noise) {
  std::vector<float> out = Silence(0.5);
  Svf band;
  band.Set(1150.0, 0.45, kSampleRate);
  static const double kBursts[4] = {0.0, 0.0105, 0.0205, 0.032};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    float level = 0.0f;
    for (double burst : kBursts) {
      if (t >= burst) level = std::max(level, Decay(t - burst, burst < 0.03 ? 0.0045 : 0.09));
    }
    out[i] = band.Band(noise.Bipolar()) * level * 2.2f * velocity;
  }
  ShapeEdges(out, 0.0, 0.01);
  return out;
}

std::vector<float> HiHat(bool open, float velocity, Noise& noise) {
  const double decay = open ? 0.16 : 0.022;
  std::vector<float> out = Silence(open ? 0.7 : 0.15);
  Metal metal(1.0);
  Svf band, high;
  band.Set(10000.0, 0.3, kSampleRate);
  high.Set(7000.0, 0.0, kSampleRate);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float source = metal.Next() * 0.7f + noise.Bipolar() * 0.5f;
    out[i] = high.High(band.Band(source)) * Decay(t, decay) * 1.6f * velocity;
  }
  ShapeEdges(out, 0.0, 0.01);
  return out;
}

std::vector<float> Shaker(float velocity, Noise& noise) {
  return NoiseBurst(0.12, 6500.0, 0.2, 0.012, 0.035, 1.3f * velocity, noise);
}

std::vector<float> Crash(float velocity, Noise& noise) {
  std::vector<float> out = Silence(2.8);
  Metal metal(1.9);
  Svf high, air;
  high.Set(3800.0, 0.1, kSampleRate);
  air.Set(11000.0, 0.2, kSampleRate);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float source = noise.Bipolar() * 0.8f + metal.Next() * 0.35f;
    const float washed = high.High(source) + air.Band(source) * 0.5f;
    out[i] = washed * (Decay(t, 0.75) * 0.7f + Decay(t, 0.05) * 0.5f) * velocity;
  }
  ShapeEdges(out, 0.0, 0.2);
  return out;
}

std::vector<float> Tick(float velocity, Noise& noise) {
  return NoiseBurst(0.04, 3200.0, 0.35, 0.0, 0.006, 2.0f * velocity, noise);
}

std::vector<float> Tom(double hz, float velocity, Noise& noise) {
  std::vector<float> out = Silence(0.5);
  double phase = 0.0;
  Svf thump;
  thump.Set(900.0, 0.0, kSampleRate);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    phase += hz * (1.0 + 0.6 * std::exp(-t / 0.04)) / kSampleRate;
    const double body = std::sin(kTwoPi * phase) * Decay(t, 0.2);
    const double attack = thump.Low(noise.Bipolar()) * Decay(t, 0.01) * 0.6;
    out[i] = static_cast<float>((body + attack) * velocity);
  }
  ShapeEdges(out, 0.0, 0.01);
  return out;
}

}  // namespace synth
}  // namespace datagen
