#pragma once
// The parts of the composition, each writing its instrument's notes into the score.
// Compose calls them in this order.
#include "datagen/music/arrangement.h"
#include "datagen/music/score.h"

namespace datagen {
namespace music {

void WriteDrums(const Arrangement& arrangement, Score& score);
void WriteBass(const Arrangement& arrangement, Score& score);
// Pads and arpeggios.
void WriteHarmony(const Arrangement& arrangement, Score& score);
// The lead melody and the plucks on the greeting changes.
void WriteMelody(const Arrangement& arrangement, Score& score);
// The hits on the flashes, the big moments (release, drop, end) and the sound effects.
void WriteAccents(const Arrangement& arrangement, Score& score);

// Helpers the parts share.
// A note from a grid position (bar, sixteenth) lasting `sixteenths`.
Note GridNote(const Arrangement& arrangement, Voice voice, int bar, double sixteenth, double sixteenths, double pitch,
              float velocity, float pan = 0.0f);
// A small, repeatable variation (-1..1) for a bar and a step, so repeated patterns do not
// sound mechanical.
float Humanise(int bar, int step, int salt);

}  // namespace music
}  // namespace datagen
