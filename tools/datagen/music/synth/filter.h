#pragma once
// Filters: a state-variable filter (trapezoidal integration, stable under fast cutoff
// sweeps, which the bass and the risers need) and one-pole sections for gentle tone
// shaping.
#include <cmath>

namespace datagen {
namespace synth {

class Svf {
 public:
  struct Output {
    float low;
    float band;
    float high;
  };

  // resonance: 0 (none) to nearly 1 (self-oscillation); the cutoff is kept below the
  // Nyquist frequency.
  void Set(double cutoffHz, double resonance, double sampleRate) {
    const double limit = sampleRate * 0.45;
    if (cutoffHz > limit) cutoffHz = limit;
    if (cutoffHz < 10.0) cutoffHz = 10.0;
    if (resonance < 0.0) resonance = 0.0;
    if (resonance > 0.98) resonance = 0.98;
    const double g = std::tan(3.141592653589793 * cutoffHz / sampleRate);
    k_ = 2.0 - 2.0 * resonance;
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
  }

  Output Process(float input) {
    const double v3 = input - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(input - k_ * v1 - v2)};
  }
  float Low(float input) { return Process(input).low; }
  float Band(float input) { return Process(input).band; }
  float High(float input) { return Process(input).high; }

 private:
  double k_ = 2.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
  double ic1_ = 0.0, ic2_ = 0.0;
};

class OnePole {
 public:
  void Set(double cutoffHz, double sampleRate) {
    coefficient_ = 1.0 - std::exp(-6.283185307179586 * cutoffHz / sampleRate);
  }
  float Low(float input) {
    state_ += coefficient_ * (input - state_);
    return static_cast<float>(state_);
  }
  float High(float input) { return input - Low(input); }

 private:
  double coefficient_ = 1.0;
  double state_ = 0.0;
};

}  // namespace synth
}  // namespace datagen
