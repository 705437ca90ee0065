#pragma once
// Sound effects that tell the story rather than play the harmony: the rise into the wall
// break, the glass, the crackle of the welding torches.
#include <vector>

#include "datagen/music/synth/noise.h"
#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace synth {

// Noise through a band-pass that sweeps from low to high over `seconds`, with a rising
// saw underneath, growing louder towards its end; it stops dead at its end, where the hit
// it leads into takes over.
StereoBuffer Riser(double seconds, float velocity, Noise& noise);

// Breaking glass: a bright crack, then many small shards ringing and falling silent over
// about two seconds, spread across the stereo field.
StereoBuffer Shatter(float velocity, Noise& noise);

// Sparse electric crackle: the sound of the welding torches, `seconds` long.
StereoBuffer Crackle(double seconds, float velocity, Noise& noise);

// A noise swell that grows towards its end, like a cymbal played backwards.
std::vector<float> Swell(double seconds, float velocity, Noise& noise);

}  // namespace synth
}  // namespace datagen
