#pragma once
// Plays a score: renders every note with its voice's sound, mixes the voices on their
// buses, ducks the sustained parts under the kicks and hits, adds the reverb and echo
// sends, and sums everything into one stereo signal (not yet limited).
#include <functional>

#include "datagen/music/score.h"
#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace music {

// Called now and then with the share of the notes rendered so far (0..1).
using RenderProgress = std::function<void(double)>;

// The part of the soundtrack from start to end seconds: frame 0 is the sample at start.
// Every note is rendered from its own start with its own noise seed, so an excerpt holds
// the same notes as the whole; only the effects' tails from before start are missing.
synth::StereoBuffer RenderScore(const Score& score, double start, double end, const RenderProgress& progress = {});

}  // namespace music
}  // namespace datagen
