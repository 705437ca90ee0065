#pragma once
// The score: every note of the soundtrack, as the composition writes it and the
// renderer plays it. Times are seconds of the timeline, pitches MIDI note numbers.
#include <vector>

namespace datagen {
namespace music {

// Who plays a note. The renderer knows each voice's sound, level, bus and effect sends.
enum class Voice {
  kKick,
  kBoom,   // the long sub kick of the big hits
  kPunch,  // the short kick under an accent: gone before the next accent can follow
  kSnare,
  kClap,
  kClosedHat,
  kOpenHat,
  kShaker,
  kCrash,
  kTom,
  kBass,
  kPad,
  kArp,
  kLead,
  kStab,      // the chord hit of an accent
  kGreeting,  // the pluck on a greeting change
  kBell,
  kRiser,
  kSwell,
  kShatter,
  kCrackle,
};

struct Note {
  Voice voice;
  double time;              // start, seconds
  double length;            // how long the key is held, seconds (the sound may ring longer)
  double pitch;             // MIDI note; drums without pitch ignore it
  float velocity;           // 0..1
  float pan;                // -1 left .. 1 right
  float brightness = 0.5f;  // 0..1: how far a filtered voice opens
  // Accent notes mark the timeline's events; the groove makes room for them and never
  // moves them.
  bool accent = false;
};

struct Score {
  std::vector<Note> notes;

  void Add(const Note& note) { notes.push_back(note); }
};

}  // namespace music
}  // namespace datagen
