#include "datagen/music/harmony.h"

#include <algorithm>

namespace datagen {
namespace music {

int ToneAtOrAbove(const Chord& chord, int interval, int low) {
  const int pitchClass = (chord.root + interval) % 12;
  int note = low - ((low % 12) + 12) % 12 + pitchClass;
  if (note < low) note += 12;
  return note;
}

std::vector<int> Voicing(const Chord& chord, int low) {
  std::vector<int> notes;
  for (int interval : chord.tones) notes.push_back(ToneAtOrAbove(chord, interval, low));
  std::sort(notes.begin(), notes.end());
  return notes;
}

int Root(const Chord& chord, int low) { return ToneAtOrAbove(chord, 0, low); }

}  // namespace music
}  // namespace datagen
