#pragma once
// The harmony: the soundtrack is in D minor; each section has a chord progression of
// one chord per bar, and these helpers place chord tones in the register a part plays in.
#include <vector>

namespace datagen {
namespace music {

struct Chord {
  int root;                // pitch class, 0 = C
  std::vector<int> tones;  // intervals above the root, the root's 0 first
};

namespace chords {
inline Chord Minor(int root) { return {root, {0, 3, 7}}; }
inline Chord Major(int root) { return {root, {0, 4, 7}}; }
inline Chord Sus4(int root) { return {root, {0, 5, 7}}; }
}  // namespace chords

// Pitch classes used by the progressions.
enum PitchClass { kC = 0, kD = 2, kE = 4, kF = 5, kG = 7, kA = 9, kBb = 10 };

// The lowest MIDI note with the chord's pitch class `interval` above the root that is at
// or above `low`.
int ToneAtOrAbove(const Chord& chord, int interval, int low);

// The chord's tones, each in the octave that puts it in [low, low + 12), ascending.
std::vector<int> Voicing(const Chord& chord, int low);

// The root in [low, low + 12).
int Root(const Chord& chord, int low);

}  // namespace music
}  // namespace datagen
