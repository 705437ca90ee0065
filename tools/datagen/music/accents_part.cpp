// The accents of the timeline and the big moments: a chord hit on every flash, the
// release, the drop at the wall, the glass, the dance cue, the ending.
#include <algorithm>
#include <cmath>

#include "datagen/music/parts.h"
#include "datagen/timeline_events.h"

namespace datagen {
namespace music {
namespace {

using namespace datagen::timeline;

// Effects that lead into a hit stop this long before it, so the hit lands in a short
// silence and is heard as new.
constexpr double kGapBeforeHit = 0.12;

Note AccentNote(Voice voice, double time, double length, double pitch, float velocity, float pan = 0.0f) {
  Note note{voice, time, length, pitch, velocity, pan};
  note.accent = true;
  return note;
}

// A chord hit: the chord's tones in a register, and its root an octave below; held for
// `gate` seconds.
void ChordHit(Score& score, const Chord& chord, double time, int low, float velocity, double gate = 0.2) {
  const std::vector<int> tones = Voicing(chord, low);
  for (std::size_t i = 0; i < tones.size(); ++i) {
    const float pan = (static_cast<float>(i) - 1.0f) * 0.4f;
    score.Add(AccentNote(Voice::kStab, time, gate, tones[i], velocity, pan));
  }
  score.Add(AccentNote(Voice::kStab, time, gate, Root(chord, low - 12), velocity * 0.8f));
}

void BigHit(Score& score, const Chord& chord, double time, float velocity) {
  score.Add(AccentNote(Voice::kBoom, time, 1.0, 0.0, velocity));
  score.Add(AccentNote(Voice::kCrash, time, 1.0, 0.0, velocity));
  ChordHit(score, chord, time, 57, velocity);
  ChordHit(score, chord, time, 69, velocity * 0.8f);
}

// Whether a flash or greeting change other than the one at `self` falls in [from, to).
bool AccentWithin(double from, double to, double self) {
  for (const std::vector<double>* times : {&FlashTimes(), &GreetingTimes()}) {
    for (auto it = std::lower_bound(times->begin(), times->end(), from); it != times->end() && *it < to; ++it) {
      if (*it != self) return true;
    }
  }
  return false;
}

void WriteFlashes(const Arrangement& arrangement, Score& score) {
  const std::vector<double>& flashes = FlashTimes();
  for (std::size_t i = 0; i < flashes.size(); ++i) {
    const double time = flashes[i];
    const Chord chord = arrangement.ChordAt(arrangement.Grid().BarAt(time + 1e-4));
    const bool big =
        std::fabs(time - kReleaseHit) < 1e-3 || time == arrangement.DropTime() || time == arrangement.LastFlash();
    if (big) {
      BigHit(score, chord, time, 1.0f);
      continue;
    }
    // The signal steps up and down in turn: the hits answer each other, high and low.
    // A hit that another accent follows closely is cut short, so the next is still
    // heard as new.
    const bool up = i % 2 == 0;
    const bool crowded = AccentWithin(time, time + 0.25, time);
    ChordHit(score, chord, time, up ? 67 : 60, 0.85f, crowded ? 0.06 : 0.2);
    score.Add(AccentNote(Voice::kPunch, time, 0.2, 0.0, crowded ? 0.6f : 0.9f));
    // A cymbal only on a hit that stands alone: its wash would cover the next accent.
    if (!AccentWithin(time - 1.0, time + 1.0, time))
      score.Add(AccentNote(Voice::kCrash, time, 1.0, 0.0, 0.45f, up ? 0.3f : -0.3f));
  }
}

// A swell or a riser from `start` that stops just before the hit at `hit`.
void LeadInto(Score& score, Voice voice, double start, double hit, float velocity) {
  const double end = hit - kGapBeforeHit;
  if (end > start) score.Add({voice, start, end - start, 0.0, velocity, 0.0f});
}

void WriteEffects(const Arrangement& arrangement, Score& score) {
  for (const SectionSpan& span : arrangement.Sections()) {
    const double start = arrangement.Time(span.firstBar, 0.0);
    const double end = arrangement.Time(span.endBar, 0.0);
    switch (span.section) {
      case Section::kIntro:
        // The torches are already at work in the hall.
        score.Add({Voice::kCrackle, std::max(5.0, start), end - std::max(5.0, start), 0.0, 0.35f, 0.0f});
        LeadInto(score, Voice::kSwell, arrangement.Time(span.endBar - 1, 0.0), end, 0.6f);
        break;
      case Section::kWelding:
        score.Add({Voice::kCrackle, start, end - 3.0 - start, 0.0, 0.8f, 0.0f});
        LeadInto(score, Voice::kSwell, arrangement.Time(span.endBar - 1, 0.0), kReleaseHit, 0.8f);
        break;
      case Section::kRiser:
        LeadInto(score, Voice::kRiser, start, arrangement.DropTime(), 1.0f);
        break;
      default:
        break;
    }
  }
  // The glass gives way just after the drop.
  score.Add({Voice::kShatter, kWallImpact, 2.0, 0.0, 1.0f, 0.0f});
  // The dance begins: a swell and a soft chime on the robot's first move.
  LeadInto(score, Voice::kSwell, kDanceStart - 1.2, kDanceStart, 0.35f);
  const Chord chord = arrangement.ChordAt(arrangement.Grid().BarAt(kDanceStart));
  for (int tone : Voicing(chord, 76))
    score.Add({Voice::kBell, kDanceStart, 0.5, static_cast<double>(tone), 0.35f, 0.0f});
}

// The last chord: pads and bass ring from the last flash until the music is silent.
void WriteEnding(const Arrangement& arrangement, Score& score) {
  const double start = arrangement.LastFlash();
  const double gate = kMusicSilent - 1.5 - start;  // the pad's release ends before kMusicSilent
  const Chord tonic = chords::Minor(kD);
  for (int tone : Voicing(tonic, 57)) score.Add({Voice::kPad, start, gate, static_cast<double>(tone), 0.7f, 0.0f});
  score.Add({Voice::kPad, start, gate, static_cast<double>(Root(tonic, 45)), 0.6f, 0.0f});
  score.Add({Voice::kBass, start, gate - 1.0, static_cast<double>(Root(tonic, 33)), 0.7f, 0.0f});
  for (int tone : Voicing(tonic, 74)) score.Add({Voice::kBell, start, 1.0, static_cast<double>(tone), 0.4f, 0.0f});
}

}  // namespace

void WriteAccents(const Arrangement& arrangement, Score& score) {
  WriteFlashes(arrangement, score);
  WriteEffects(arrangement, score);
  WriteEnding(arrangement, score);
}

}  // namespace music
}  // namespace datagen
