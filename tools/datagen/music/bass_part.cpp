// The bass line: the chord's root in the low octave, in a rhythm per section.
#include "datagen/music/parts.h"

namespace datagen {
namespace music {
namespace {

// One step of a bass figure: where in the bar, how long, and how far above the root.
struct Step {
  double at;
  double length;
  int interval;
  float velocity;
};

void Figure(const Arrangement& arrangement, Score& score, int bar, const std::vector<Step>& steps, float brightness) {
  const int root = Root(arrangement.ChordAt(bar), 33);  // A1 .. G#2
  for (const Step& step : steps) {
    Note note = GridNote(arrangement, Voice::kBass, bar, step.at, step.length, root + step.interval, step.velocity);
    note.brightness = brightness;
    score.Add(note);
  }
}

}  // namespace

void WriteBass(const Arrangement& arrangement, Score& score) {
  // Octave eighths: the pulse of the theme and of the run beyond the wall.
  const std::vector<Step> octaves = {{0, 1.5, 0, 1.0f},  {2, 1.5, 12, 0.7f},  {4, 1.5, 0, 0.9f},  {6, 1.5, 12, 0.7f},
                                     {8, 1.5, 0, 0.95f}, {10, 1.5, 12, 0.7f}, {12, 1.5, 0, 0.9f}, {14, 1.5, 12, 0.75f}};
  // Sixteenths on the root with a galloping accent: the run.
  std::vector<Step> gallop;
  for (int s = 0; s < 16; ++s)
    gallop.push_back({static_cast<double>(s), 0.8, s == 14 ? 12 : 0, s % 4 == 0 ? 1.0f : (s % 2 ? 0.6f : 0.75f)});
  // A syncopated line for the dance.
  const std::vector<Step> funk = {{0, 2, 0, 1.0f},   {3, 1, 0, 0.7f},  {6, 2, 12, 0.8f},
                                  {8, 1.5, 0, 0.9f}, {11, 1, 7, 0.7f}, {14, 1.5, 7, 0.8f}};
  const std::vector<Step> whole = {{0, 15.5, 0, 0.8f}};
  const std::vector<Step> halves = {{0, 7.5, 0, 0.85f}, {8, 7.5, 7, 0.7f}};

  for (int bar = arrangement.FirstBar(); bar < arrangement.EndBar(); ++bar) {
    const SectionSpan& span = arrangement.SpanOf(bar);
    const int left = span.endBar - bar;
    switch (span.section) {
      case Section::kIntro:
        if (left <= 8) Figure(arrangement, score, bar, whole, 0.05f);
        break;
      case Section::kTheme:
        Figure(arrangement, score, bar, octaves, 0.4f);
        break;
      case Section::kWelding:
        Figure(arrangement, score, bar, whole, 0.1f);
        break;
      case Section::kRelease:
        Figure(arrangement, score, bar, halves, 0.3f);
        break;
      case Section::kRun:
        Figure(arrangement, score, bar, gallop, 0.5f);
        break;
      case Section::kWall:
        Figure(arrangement, score, bar, halves, 0.2f);
        break;
      case Section::kRiser:
        if (left > 1) Figure(arrangement, score, bar, octaves, 0.3f + 0.3f * (span.Bars() - left));
        break;
      case Section::kRunAgain:
        Figure(arrangement, score, bar, octaves, 0.6f);
        break;
      case Section::kDance:
        Figure(arrangement, score, bar, funk, 0.5f);
        break;
      case Section::kOutro:
        break;
    }
  }
}

}  // namespace music
}  // namespace datagen
