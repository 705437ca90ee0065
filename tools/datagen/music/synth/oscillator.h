#pragma once
// Band-limited oscillators. The phase runs in cycles (0 to 1); the saw and square use
// polynomial corrections at their steps (PolyBLEP), which keeps the aliasing of bright
// bass and lead notes well below what the ear hears at 44.1 kHz.
#include <cmath>

namespace datagen {
namespace synth {

constexpr double kTwoPi = 6.283185307179586;

// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz); fractions are cents / 100.
inline double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

class Oscillator {
 public:
  Oscillator() = default;
  Oscillator(double hz, double sampleRate, double phase = 0.0) : phase_(phase) { SetFrequency(hz, sampleRate); }

  void SetFrequency(double hz, double sampleRate) {
    step_ = hz / sampleRate;
    if (step_ > 0.45) step_ = 0.45;  // above that the corrections no longer hold
    if (step_ < 0.0) step_ = 0.0;
  }

  float Sine() {
    const double value = std::sin(kTwoPi * phase_);
    Advance();
    return static_cast<float>(value);
  }

  float Saw() {
    double value = 2.0 * phase_ - 1.0;
    value -= Blep(phase_);
    Advance();
    return static_cast<float>(value);
  }

  // Pulse with the given duty cycle (0.5: square).
  float Pulse(double width = 0.5) {
    double value = phase_ < width ? 1.0 : -1.0;
    value += Blep(phase_);
    double shifted = phase_ - width;
    if (shifted < 0.0) shifted += 1.0;
    value -= Blep(shifted);
    Advance();
    return static_cast<float>(value);
  }

  float Triangle() {
    const double value = phase_ < 0.5 ? 4.0 * phase_ - 1.0 : 3.0 - 4.0 * phase_;
    Advance();
    return static_cast<float>(value);
  }

 private:
  void Advance() {
    phase_ += step_;
    if (phase_ >= 1.0) phase_ -= 1.0;
  }
  // The residual of a unit step at phase 0, spread over one sample either side.
  double Blep(double t) const {
    if (step_ <= 0.0) return 0.0;
    if (t < step_) {
      t /= step_;
      return t + t - t * t - 1.0;
    }
    if (t > 1.0 - step_) {
      t = (t - 1.0) / step_;
      return t * t + t + t + 1.0;
    }
    return 0.0;
  }

  double phase_ = 0.0;
  double step_ = 0.0;
};

}  // namespace synth
}  // namespace datagen
