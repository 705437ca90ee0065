// The lead melody of the theme, the run beyond the wall and the dance, and the plucks
// that play the greeting changes.
#include <algorithm>

#include "datagen/music/parts.h"
#include "datagen/timeline_events.h"

namespace datagen {
namespace music {
namespace {

struct MelodyNote {
  double at;      // sixteenths from the start of the phrase
  double length;  // sixteenths
  int pitch;      // MIDI
};

// Two four-bar phrases over Dm | Bb | F | C: a question and its answer.
const std::vector<MelodyNote>& Question() {
  static const std::vector<MelodyNote> notes = {
      {0, 3, 69},  {3, 3, 74},  {6, 2, 77},  {8, 2, 76},  {10, 2, 74}, {12, 4, 69},  // Dm
      {16, 3, 70}, {19, 3, 74}, {22, 2, 77}, {24, 4, 79}, {28, 4, 77},               // Bb
      {32, 3, 81}, {35, 3, 79}, {38, 2, 77}, {40, 2, 76}, {42, 2, 77}, {44, 4, 72},  // F
      {48, 6, 76}, {54, 2, 74}, {56, 2, 72}, {58, 2, 74}, {60, 4, 76}};              // C
  return notes;
}
const std::vector<MelodyNote>& Answer() {
  static const std::vector<MelodyNote> notes = {
      {0, 3, 77},  {3, 3, 76},  {6, 2, 74},  {8, 6, 69},  {14, 2, 74},                          // Dm
      {16, 3, 77}, {19, 3, 74}, {22, 4, 70}, {26, 2, 72}, {28, 4, 74},                          // Bb
      {32, 3, 72}, {35, 3, 69}, {38, 2, 65}, {40, 2, 69}, {42, 2, 72}, {44, 4, 77},             // F
      {48, 8, 76}, {56, 2, 74}, {58, 4, 72}};                                                   // C
  return notes;
}

void Phrase(const Arrangement& arrangement, Score& score, int bar, const std::vector<MelodyNote>& notes, int transpose,
            float velocity, float brightness) {
  for (const MelodyNote& m : notes) {
    const int at = static_cast<int>(m.at);
    Note note = GridNote(arrangement, Voice::kLead, bar + at / 16, m.at - (at / 16) * 16, m.length * 0.92,
                         m.pitch + transpose, velocity * (at % 4 == 0 ? 1.0f : 0.85f), 0.1f);
    note.brightness = brightness;
    score.Add(note);
  }
}

// The dance riff: one bar of syncopated chord tones over whatever chord the bar has.
void Riff(const Arrangement& arrangement, Score& score, int bar, float velocity) {
  const std::vector<int> tones = Voicing(arrangement.ChordAt(bar), 69);
  const int root = Root(arrangement.ChordAt(bar), 69);
  const struct {
    double at, length;
    int pitch;
  } steps[] = {{0, 2, root}, {3, 2, root}, {6, 2, tones[1]}, {10, 2, root}, {12, 2, tones[2]}, {14, 2, tones[1]}};
  for (const auto& step : steps) {
    Note note = GridNote(arrangement, Voice::kLead, bar, step.at, step.length * 0.8, step.pitch, velocity, -0.1f);
    note.brightness = 0.7f;
    score.Add(note);
  }
}

void WriteLead(const Arrangement& arrangement, Score& score) {
  for (const SectionSpan& span : arrangement.Sections()) {
    if (span.section == Section::kTheme) {
      // Enters after the theme's first sixteen bars and its break.
      int count = 0;
      for (int bar = span.firstBar + 16; bar + 4 <= span.endBar; bar += 4, ++count) {
        Phrase(arrangement, score, bar, count % 2 ? Answer() : Question(), 0, 0.75f, 0.45f);
      }
    } else if (span.section == Section::kRunAgain) {
      int count = 0;
      for (int bar = span.firstBar + 4; bar + 4 <= span.endBar; bar += 4, ++count) {
        Phrase(arrangement, score, bar, count % 2 ? Answer() : Question(), count >= 4 ? 12 : 0, 0.75f,
               0.5f + 0.05f * count);
      }
    } else if (span.section == Section::kDance) {
      for (int bar = span.firstBar + 2; bar < span.endBar; ++bar) Riff(arrangement, score, bar, 0.7f);
    }
  }
}

// Each greeting change plucks one chord tone; they come in groups of four, falling then
// rising from group to group.
void WriteGreetings(const Arrangement& arrangement, Score& score) {
  const std::vector<double>& times = timeline::GreetingTimes();
  for (std::size_t i = 0; i < times.size(); ++i) {
    // The first change is the second key of the greetings signal; keys come in fours.
    const int key = static_cast<int>(i) + 1;
    const int group = key / 4;
    const int within = group % 2 == 0 ? key % 4 : 3 - key % 4;
    const Chord chord = arrangement.ChordAt(arrangement.Grid().BarAt(times[i]));
    std::vector<int> ladder = Voicing(chord, 69);
    ladder.push_back(ladder.front() + 12);
    std::reverse(ladder.begin(), ladder.end());
    Note note{Voice::kGreeting, times[i], 0.12, static_cast<double>(ladder[within]), 1.0f, within % 2 ? 0.5f : -0.5f};
    note.brightness = 0.6f;
    note.accent = true;
    score.Add(note);
  }
}

}  // namespace

void WriteMelody(const Arrangement& arrangement, Score& score) {
  WriteLead(arrangement, score);
  WriteGreetings(arrangement, score);
}

}  // namespace music
}  // namespace datagen
