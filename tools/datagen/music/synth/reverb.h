#pragma once
// Effects on the send buses: a stereo hall reverb and a ping-pong echo.
#include <vector>

#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace synth {

struct ReverbSettings {
  double size = 0.86;      // feedback of the comb filters: the length of the tail
  double damping = 0.3;    // how fast the highs die away
  double preDelay = 0.02;  // seconds before the first reflections
};

// A network of eight damped comb filters and four all-passes per side (the classic
// Schroeder-Moorer hall), fed with the mono sum of send, returning only the wet signal.
StereoBuffer Reverb(const StereoBuffer& send, const ReverbSettings& settings);

// Echoes that alternate left and right every `delay` seconds, each darker and quieter.
StereoBuffer PingPongDelay(const StereoBuffer& send, double delay, double feedback);

}  // namespace synth
}  // namespace datagen
