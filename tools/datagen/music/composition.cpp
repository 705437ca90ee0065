#include "datagen/music/composition.h"

#include <algorithm>

#include "datagen/music/parts.h"
#include "datagen/music/synth/noise.h"

namespace datagen {
namespace music {
namespace {

// The quiet span before each accent, and the span after it where the accent's own hit
// plays and other drums would only blur it. Drums that ring (kicks, snares, toms) must
// stop earlier than hats, or their tails fill the quiet span.
constexpr double kClearBefore = 0.1;
constexpr double kClearBeforeRinging = 0.25;
constexpr double kClearAfter = 0.03;
// An accent followed by another within this span is softened to kGraceLevel, and
// further where the two nearly coincide: the ear hears them as one hit, which must be
// the later one's.
constexpr double kGraceSpan = 0.12;
constexpr float kGraceLevel = 0.5f;
constexpr double kFlamSpan = 0.03;
constexpr float kFlamLevel = 0.3f;

bool IsDrum(Voice voice) {
  switch (voice) {
    case Voice::kKick:
    case Voice::kBoom:
    case Voice::kPunch:
    case Voice::kSnare:
    case Voice::kClap:
    case Voice::kClosedHat:
    case Voice::kOpenHat:
    case Voice::kShaker:
    case Voice::kCrash:
    case Voice::kTom:
      return true;
    default:
      return false;
  }
}

bool Rings(Voice voice) {
  return voice == Voice::kKick || voice == Voice::kBoom || voice == Voice::kPunch || voice == Voice::kSnare ||
         voice == Voice::kClap || voice == Voice::kTom || voice == Voice::kCrash || voice == Voice::kOpenHat;
}

bool IsPlucked(Voice voice) { return voice == Voice::kBass || voice == Voice::kArp || voice == Voice::kLead; }

}  // namespace

Note GridNote(const Arrangement& arrangement, Voice voice, int bar, double sixteenth, double sixteenths, double pitch,
              float velocity, float pan) {
  const double start = arrangement.Time(bar, sixteenth);
  const double end = arrangement.Time(bar, sixteenth + sixteenths);
  return {voice, start, end - start, pitch, velocity, pan};
}

float Humanise(int bar, int step, int salt) {
  synth::Noise noise(
      synth::Noise::Seed(static_cast<std::uint64_t>(bar + 100000) * 64 + static_cast<std::uint64_t>(step),
                         static_cast<std::uint64_t>(salt)));
  return noise.Bipolar();
}

void MakeRoomForAccents(Score& score) {
  std::vector<double> accents;
  for (const Note& note : score.notes) {
    if (note.accent) accents.push_back(note.time);
  }
  std::sort(accents.begin(), accents.end());
  accents.erase(std::unique(accents.begin(), accents.end()), accents.end());
  // An accent that another follows closely is played softly, as a grace note to it.
  for (Note& note : score.notes) {
    if (!note.accent) continue;
    const auto later = std::upper_bound(accents.begin(), accents.end(), note.time);
    if (later == accents.end()) continue;
    if (*later - note.time < kFlamSpan) {
      note.velocity *= kFlamLevel;
    } else if (*later - note.time < kGraceSpan) {
      note.velocity *= kGraceLevel;
    }
  }
  // The first accent at or after a time.
  const auto next = [&](double time) {
    auto it = std::lower_bound(accents.begin(), accents.end(), time);
    return it == accents.end() ? 1e300 : *it;
  };
  std::vector<Note> kept;
  kept.reserve(score.notes.size());
  for (Note note : score.notes) {
    if (!note.accent) {
      if (IsDrum(note.voice)) {
        const double clear = Rings(note.voice) ? kClearBeforeRinging : kClearBefore;
        if (next(note.time - kClearAfter) - note.time < clear) continue;
      } else if (IsPlucked(note.voice)) {
        const double accent = next(note.time);
        if (accent > note.time && accent - note.time < kClearBefore) {
          const double end = note.time + note.length;
          note.time = accent;
          note.length = std::max(0.03, end - accent);
        }
      }
    }
    kept.push_back(note);
  }
  score.notes = std::move(kept);
}

Score Compose(const Arrangement& arrangement) {
  Score score;
  WriteDrums(arrangement, score);
  WriteBass(arrangement, score);
  WriteHarmony(arrangement, score);
  WriteMelody(arrangement, score);
  WriteAccents(arrangement, score);
  MakeRoomForAccents(score);
  std::stable_sort(score.notes.begin(), score.notes.end(),
                   [](const Note& a, const Note& b) { return a.time < b.time; });
  return score;
}

}  // namespace music
}  // namespace datagen
