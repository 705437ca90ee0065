#pragma once
// Envelopes as functions of the time since a note started: notes are rendered one at a
// time from start to end, so an envelope needs no state.
#include <cmath>
#include <vector>

namespace datagen {
namespace synth {

// A linear rise over the first attack seconds and a fall over the last fade seconds of a
// rendered sound, so a sound cut at its length never clicks.
void ShapeEdges(std::vector<float>& sound, double attack, double fade);

// exp(-t / tau): the decay of struck sounds.
inline float Decay(double t, double tau) { return t < 0.0 ? 0.0f : static_cast<float>(std::exp(-t / tau)); }

// Attack, decay to the sustain level while the key is held (gate), release after it.
// The decay and release fall exponentially and reach -60 dB after the given times; the
// attack rises along a short curve to 1.
struct Adsr {
  double attack = 0.005;
  double decay = 0.2;
  double sustain = 0.7;
  double release = 0.1;

  // Level at t seconds after the start of a note held for gate seconds.
  float At(double t, double gate) const {
    if (t < 0.0) return 0.0f;
    if (t < gate) return static_cast<float>(Held(t));
    const double released = t - gate;
    if (released >= release) return 0.0f;
    return static_cast<float>(Held(gate) * std::exp(-6.9 * released / release));
  }
  // How long a note held for gate seconds sounds.
  double Length(double gate) const { return gate + release; }

 private:
  double Held(double t) const {
    if (t < attack) {
      const double x = t / attack;
      return x * (2.0 - x);
    }
    return sustain + (1.0 - sustain) * std::exp(-6.9 * (t - attack) / decay);
  }
};

}  // namespace synth
}  // namespace datagen
