#include "datagen/music/synth/tonal.h"

#include <algorithm>
#include <cmath>

#include "datagen/music/synth/envelope.h"
#include "datagen/music/synth/filter.h"
#include "datagen/music/synth/oscillator.h"

namespace datagen {
namespace synth {
namespace {

// Filters are retuned every this many samples: often enough for smooth sweeps, rarely
// enough that the tangent in the coefficients costs little.
constexpr std::size_t kControlStep = 16;

std::size_t Frames(double seconds) { return static_cast<std::size_t>(std::max(0.0, seconds) * kSampleRate) + 1; }

double Cents(double cents) { return std::pow(2.0, cents / 1200.0); }

// Gentle saturation that keeps small signals linear.
inline float Soft(float x) { return static_cast<float>(std::tanh(x)); }

}  // namespace

std::vector<float> Bass(double note, double gate, float velocity, float brightness) {
  const Adsr amp{0.003, 0.3, 0.75, 0.05};
  std::vector<float> out(Frames(amp.Length(gate)));
  const double hz = NoteHz(note);
  Oscillator saw(hz, kSampleRate), pulse(hz * Cents(8.0), kSampleRate, 0.25), sub(hz, kSampleRate);
  Svf filter;
  const double base = 160.0 + 700.0 * brightness;
  const double sweep = 1400.0 + 2600.0 * brightness;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    if (i % kControlStep == 0) filter.Set(base + sweep * std::exp(-t / 0.09), 0.35, kSampleRate);
    const float raw = saw.Saw() * 0.5f + pulse.Pulse(0.5) * 0.35f;
    const float filtered = filter.Low(raw) + sub.Sine() * 0.55f;
    out[i] = Soft(filtered * 1.3f) * amp.At(t, gate) * velocity;
  }
  return out;
}

StereoBuffer Pad(double note, double gate, float velocity, float brightness, Noise& noise) {
  const Adsr amp{0.7, 1.2, 0.8, 1.4};
  StereoBuffer out(Frames(amp.Length(gate)));
  static const double kDetune[5] = {-13.0, -6.0, 0.0, 6.5, 12.5};
  static const float kPans[5] = {-0.85f, -0.4f, 0.0f, 0.4f, 0.85f};
  const double hz = NoteHz(note);
  Oscillator voices[5];
  PanGains gains[5];
  for (int v = 0; v < 5; ++v) {
    voices[v] = Oscillator(hz * Cents(kDetune[v]), kSampleRate, noise.Uniform());
    gains[v] = Pan(kPans[v]);
  }
  Svf left, right;
  const double cutoff = 700.0 + 2200.0 * brightness;
  const double lfoPhase = noise.Uniform() * kTwoPi;
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    if (i % kControlStep == 0) {
      const double moving = cutoff * (1.0 + 0.25 * std::sin(kTwoPi * 0.11 * t + lfoPhase));
      left.Set(moving, 0.15, kSampleRate);
      right.Set(moving * 1.04, 0.15, kSampleRate);
    }
    float l = 0.0f, r = 0.0f;
    for (int v = 0; v < 5; ++v) {
      const float s = voices[v].Saw();
      l += s * gains[v].left;
      r += s * gains[v].right;
    }
    const float level = amp.At(t, gate) * velocity * 0.2f;
    out.left[i] = left.Low(l) * level;
    out.right[i] = right.Low(r) * level;
  }
  return out;
}

std::vector<float> Lead(double note, double gate, float velocity, float brightness) {
  const Adsr amp{0.008, 0.4, 0.7, 0.18};
  std::vector<float> out(Frames(amp.Length(gate)));
  const double hz = NoteHz(note);
  Oscillator saw(hz, kSampleRate), pulse(hz, kSampleRate, 0.5);
  Svf filter;
  double vibratoPhase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    if (i % kControlStep == 0) {
      const double depth = 0.22 * std::min(1.0, std::max(0.0, (t - 0.25) / 0.3));
      const double bend = Cents(100.0 * depth * std::sin(vibratoPhase));
      saw.SetFrequency(hz * bend, kSampleRate);
      pulse.SetFrequency(hz * bend * Cents(6.0), kSampleRate);
      filter.Set((1400.0 + 2400.0 * brightness) * (1.0 + 1.5 * std::exp(-t / 0.15)), 0.25, kSampleRate);
    }
    vibratoPhase += kTwoPi * 5.3 / kSampleRate;
    const float raw = saw.Saw() * 0.55f + pulse.Pulse(0.3) * 0.4f;
    out[i] = filter.Low(raw) * amp.At(t, gate) * velocity;
  }
  return out;
}

std::vector<float> Pluck(double note, double gate, float velocity, float brightness, double decay) {
  const double length = std::min(gate + 0.05, decay * 7.0) + 0.02;
  std::vector<float> out(Frames(length));
  const double hz = NoteHz(note);
  Oscillator saw(hz, kSampleRate), pulse(hz * Cents(-7.0), kSampleRate, 0.3);
  Svf filter;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    if (i % kControlStep == 0)
      filter.Set(400.0 + (1500.0 + 6000.0 * brightness) * std::exp(-t / (decay * 0.6)), 0.3, kSampleRate);
    const float raw = saw.Saw() * 0.6f + pulse.Pulse(0.5) * 0.35f;
    out[i] = filter.Low(raw) * Decay(t, decay) * velocity;
  }
  ShapeEdges(out, 0.0015, 0.02);
  return out;
}

std::vector<float> Stab(double note, float velocity, double decay, double gate) {
  constexpr double kReleased = 0.012;
  std::vector<float> out(Frames(std::min(decay * 6.0, gate + kReleased * 6.0)));
  const double hz = NoteHz(note);
  Oscillator a(hz * Cents(-9.0), kSampleRate, 0.1), b(hz, kSampleRate, 0.6), c(hz * Cents(10.0), kSampleRate, 0.35);
  Svf filter;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    if (i % kControlStep == 0) filter.Set(700.0 + 7500.0 * std::exp(-t / 0.05), 0.2, kSampleRate);
    const float raw = (a.Saw() + b.Saw() + c.Saw()) * 0.33f;
    const float released = t < gate ? 1.0f : Decay(t - gate, kReleased);
    out[i] = Soft(filter.Low(raw) * 1.5f) * Decay(t, decay) * released * velocity;
  }
  ShapeEdges(out, 0.001, 0.03);
  return out;
}

std::vector<float> Bell(double hz, float velocity, double decay) {
  std::vector<float> out(Frames(decay * 6.0));
  static const double kRatios[4] = {1.0, 2.76, 5.4, 8.93};
  static const float kLevels[4] = {1.0f, 0.5f, 0.25f, 0.12f};
  Oscillator partials[4];
  for (int p = 0; p < 4; ++p) partials[p] = Oscillator(hz * kRatios[p], kSampleRate, 0.1 * p);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    float sum = 0.0f;
    for (int p = 0; p < 4; ++p) sum += partials[p].Sine() * kLevels[p] * Decay(t, decay / (1.0 + p));
    out[i] = sum * 0.5f * velocity;
  }
  ShapeEdges(out, 0.0007, 0.03);
  return out;
}

}  // namespace synth
}  // namespace datagen
