// Pads holding the chords and arpeggios running through them.
#include <algorithm>

#include "datagen/music/parts.h"

namespace datagen {
namespace music {
namespace {

struct PadStyle {
  float velocity;
  float brightness;
};

PadStyle PadStyleOf(Section section) {
  switch (section) {
    case Section::kIntro:
      return {0.75f, 0.2f};
    case Section::kTheme:
      return {0.5f, 0.5f};
    case Section::kWelding:
      return {0.75f, 0.3f};
    case Section::kRelease:
      return {0.6f, 0.45f};
    case Section::kRun:
      return {0.4f, 0.5f};
    case Section::kWall:
      return {0.5f, 0.4f};
    case Section::kRiser:
      return {0.6f, 0.5f};
    case Section::kRunAgain:
      return {0.5f, 0.6f};
    case Section::kDance:
      return {0.45f, 0.55f};
    case Section::kOutro:
      return {0.0f, 0.0f};  // the last chord belongs to the ending
  }
  return {0.5f, 0.5f};
}

bool SameChord(const Chord& a, const Chord& b) { return a.root == b.root && a.tones == b.tones; }

// One pad chord per run of bars with the same chord and section; in the intro and the
// riser the filter opens bar by bar.
void WritePads(const Arrangement& arrangement, Score& score) {
  int bar = arrangement.FirstBar();
  while (bar < arrangement.EndBar()) {
    const SectionSpan& span = arrangement.SpanOf(bar);
    const Chord chord = arrangement.ChordAt(bar);
    int end = bar + 1;
    while (end < span.endBar && SameChord(arrangement.ChordAt(end), chord)) ++end;
    const PadStyle style = PadStyleOf(span.section);
    float brightness = style.brightness;
    const float progress = static_cast<float>(bar - span.firstBar) / static_cast<float>(std::max(1, span.Bars()));
    if (span.section == Section::kIntro) brightness = 0.15f + 0.45f * progress;
    if (span.section == Section::kRiser) brightness = 0.5f + 0.5f * progress;
    if (style.velocity > 0.0f) {
      const std::vector<int> notes = Voicing(chord, 57);  // A3 .. G#4
      for (std::size_t i = 0; i < notes.size(); ++i) {
        Note note = GridNote(arrangement, Voice::kPad, bar, 0.0, (end - bar) * 16.0, notes[i], style.velocity);
        note.brightness = brightness;
        score.Add(note);
      }
      // The root an octave down gives the pad its body.
      Note low =
          GridNote(arrangement, Voice::kPad, bar, 0.0, (end - bar) * 16.0, Root(chord, 45), style.velocity * 0.7f);
      low.brightness = brightness * 0.6f;
      score.Add(low);
    }
    bar = end;
  }
}

// Sixteenths up and down two octaves of the chord.
void Arpeggiate(const Arrangement& arrangement, Score& score, int bar, float velocity, float brightness) {
  const Chord chord = arrangement.ChordAt(bar);
  std::vector<int> ladder = Voicing(chord, 62);
  const std::size_t size = ladder.size();
  for (std::size_t i = 0; i < size; ++i) ladder.push_back(ladder[i] + 12);
  static const int kOrder[8] = {0, 1, 2, 3, 4, 3, 2, 1};
  for (int step = 0; step < 16; ++step) {
    const int index = std::min<int>(kOrder[step % 8], static_cast<int>(ladder.size()) - 1);
    const float accent = step % 4 == 0 ? 1.0f : 0.7f;
    Note note =
        GridNote(arrangement, Voice::kArp, bar, step, 0.9, ladder[index], velocity * accent, step % 2 ? 0.6f : -0.6f);
    note.brightness = brightness;
    score.Add(note);
  }
}

void WriteArpeggios(const Arrangement& arrangement, Score& score) {
  for (int bar = arrangement.FirstBar(); bar < arrangement.EndBar(); ++bar) {
    const SectionSpan& span = arrangement.SpanOf(bar);
    const int in = bar - span.firstBar;
    const float progress = static_cast<float>(in) / static_cast<float>(std::max(1, span.Bars()));
    switch (span.section) {
      case Section::kIntro:
        if (in >= 2) Arpeggiate(arrangement, score, bar, 0.35f + 0.4f * progress, 0.05f + 0.6f * progress);
        break;
      case Section::kTheme:
        if (in % 16 < 15) Arpeggiate(arrangement, score, bar, 0.35f, 0.35f);
        break;
      case Section::kWelding:
        Arpeggiate(arrangement, score, bar, 0.5f, 0.25f + 0.4f * progress);
        break;
      case Section::kRiser:
        Arpeggiate(arrangement, score, bar, 0.5f + 0.4f * progress, 0.5f + 0.5f * progress);
        break;
      default:
        break;
    }
  }
}

}  // namespace

void WriteHarmony(const Arrangement& arrangement, Score& score) {
  WritePads(arrangement, score);
  WriteArpeggios(arrangement, score);
}

}  // namespace music
}  // namespace datagen
