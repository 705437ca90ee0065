#pragma once
// The drum kit: every hit is synthesised whole into a mono signal at kSampleRate, scaled
// by its velocity (0..1). The noise of a hit comes from the generator it is given, so a
// hit seeded the same sounds the same.
#include <vector>

#include "datagen/music/synth/noise.h"

namespace datagen {
namespace synth {

// A sine whose pitch falls from a knock to the body, with a click on top and a little
// saturation: the four-on-the-floor kick. A long decay gives the sub "boom" of a drop.
struct KickSound {
  double startHz = 170.0;
  double endHz = 46.0;
  double pitchFall = 0.03;  // seconds for the pitch to fall most of the way
  double decay = 0.17;
  double length = 0.5;
  double click = 0.25;
};
std::vector<float> Kick(const KickSound& sound, float velocity, Noise& noise);

// Tuned body and a burst of bright noise.
std::vector<float> Snare(float velocity, Noise& noise);
// Several quick bursts of band-passed noise and a short room tail.
std::vector<float> Clap(float velocity, Noise& noise);
// Inharmonic square partials and noise, high-passed; open hats ring longer.
std::vector<float> HiHat(bool open, float velocity, Noise& noise);
// A soft band of high noise with a slow attack.
std::vector<float> Shaker(float velocity, Noise& noise);
// Long, bright, washy: marks the bar lines of the big sections and the accents.
std::vector<float> Crash(float velocity, Noise& noise);
// A very short burst of mid-high noise: the crisp front of a plucked accent.
std::vector<float> Tick(float velocity, Noise& noise);
// A pitched drum for fills; hz is the body's pitch.
std::vector<float> Tom(double hz, float velocity, Noise& noise);

}  // namespace synth
}  // namespace datagen
