// The drum part: a pattern per section, with fills and builds at the section ends.
#include <algorithm>
#include <cmath>

#include "datagen/music/parts.h"

namespace datagen {
namespace music {
namespace {

class DrumWriter {
 public:
  DrumWriter(const Arrangement& arrangement, Score& score) : arrangement_(arrangement), score_(score) {}

  void Hit(Voice voice, int bar, double step, float velocity, float pan = 0.0f, double pitch = 0.0) {
    const float varied = std::min(
        1.0f, velocity * (1.0f + 0.08f * Humanise(bar, static_cast<int>(step * 2.0), static_cast<int>(voice))));
    score_.Add(GridNote(arrangement_, voice, bar, step, 1.0, pitch, varied, pan));
  }

  void FourOnTheFloor(int bar, float velocity) {
    for (int beat = 0; beat < 4; ++beat) Hit(Voice::kKick, bar, beat * 4.0, velocity);
  }
  // Closed hats on every sixteenth, the off-beat eighths louder.
  void Sixteenths(int bar, float velocity) {
    for (int step = 0; step < 16; ++step) {
      const float level = step % 4 == 2 ? velocity : (step % 2 == 0 ? velocity * 0.6f : velocity * 0.4f);
      Hit(Voice::kClosedHat, bar, step, level, 0.35f);
    }
  }
  void OffBeatHats(int bar, Voice voice, float velocity) {
    for (int beat = 0; beat < 4; ++beat) Hit(voice, bar, beat * 4.0 + 2.0, velocity, 0.3f);
  }
  void Backbeat(int bar, Voice voice, float velocity) {
    Hit(voice, bar, 4.0, velocity);
    Hit(voice, bar, 12.0, velocity);
  }
  // A roll that speeds up from quarters to sixteenths over `bars` bars and grows louder.
  void Build(int firstBar, int bars, float from, float to) {
    for (int b = 0; b < bars; ++b) {
      const int step = bars - b >= 3 ? 4 : (bars - b == 2 ? 2 : 1);
      for (int s = 0; s < 16; s += step) {
        const float x = (b * 16.0f + s) / (bars * 16.0f);
        Hit(Voice::kSnare, firstBar + b, s, from + (to - from) * x, 0.05f);
      }
    }
  }
  // Toms down over the last beat of a bar.
  void Fill(int bar, float velocity) {
    const double pitches[4] = {196.0, 165.0, 131.0, 98.0};
    for (int i = 0; i < 4; ++i) Hit(Voice::kTom, bar, 12.0 + i, velocity, 0.5f - 0.33f * i, pitches[i]);
  }

 private:
  const Arrangement& arrangement_;
  Score& score_;
};

}  // namespace

void WriteDrums(const Arrangement& arrangement, Score& score) {
  DrumWriter drums(arrangement, score);
  for (int bar = arrangement.FirstBar(); bar < arrangement.EndBar(); ++bar) {
    const SectionSpan& span = arrangement.SpanOf(bar);
    const int in = bar - span.firstBar;
    const int left = span.endBar - bar;
    switch (span.section) {
      case Section::kIntro:
        if (left <= 8) drums.OffBeatHats(bar, Voice::kClosedHat, 0.25f + 0.05f * (8 - left));
        if (left <= 4) drums.Hit(Voice::kKick, bar, 0.0, 0.5f);
        if (left == 2) drums.Build(bar, 2, 0.15f, 0.7f);
        break;
      case Section::kTheme:
        if (in == 0) drums.Hit(Voice::kCrash, bar, 0.0, 0.8f);
        // The theme breathes out in its 16th bar: no kick, a fill.
        if (in % 16 == 15) {
          drums.Backbeat(bar, Voice::kClap, 0.6f);
          drums.Fill(bar, 0.7f);
          break;
        }
        drums.FourOnTheFloor(bar, 0.95f);
        drums.Backbeat(bar, Voice::kClap, 0.8f);
        drums.Sixteenths(bar, 0.5f);
        if (in % 4 == 3) drums.Hit(Voice::kOpenHat, bar, 14.0, 0.45f);
        break;
      case Section::kWelding:
        for (int step = 2; step < 16; step += 4) drums.Hit(Voice::kShaker, bar, step, 0.35f, -0.3f);
        if (in % 2 == 0) drums.Hit(Voice::kKick, bar, 0.0, 0.45f);
        if (left == 2) drums.Build(bar, 2, 0.2f, 0.9f);
        break;
      case Section::kRelease:
        drums.Hit(Voice::kKick, bar, 0.0, 0.95f);
        drums.Hit(Voice::kKick, bar, 10.0, 0.7f);
        drums.Hit(Voice::kSnare, bar, 8.0, 0.8f);
        drums.OffBeatHats(bar, Voice::kClosedHat, 0.45f);
        if (left == 1) drums.Fill(bar, 0.8f);
        break;
      case Section::kRun:
        drums.FourOnTheFloor(bar, 1.0f);
        drums.Hit(Voice::kKick, bar, 14.0, 0.6f);
        drums.Backbeat(bar, Voice::kSnare, 0.8f);
        drums.Sixteenths(bar, 0.55f);
        if (in % 8 == 0) drums.Hit(Voice::kCrash, bar, 0.0, 0.7f);
        break;
      case Section::kWall:
        // The greetings carry the rhythm here; the drums only mark the bar.
        drums.Hit(Voice::kKick, bar, 0.0, 0.8f);
        drums.Hit(Voice::kKick, bar, 8.0, 0.6f);
        drums.OffBeatHats(bar, Voice::kClosedHat, 0.35f);
        break;
      case Section::kRiser:
        if (left > 1) drums.FourOnTheFloor(bar, 0.9f);
        if (in == 0) drums.Build(bar, span.Bars(), 0.3f, 1.0f);
        break;
      case Section::kRunAgain:
        if (in % 8 == 0) drums.Hit(Voice::kCrash, bar, 0.0, 0.75f);
        drums.FourOnTheFloor(bar, 1.0f);
        drums.Backbeat(bar, Voice::kClap, 0.8f);
        drums.Backbeat(bar, Voice::kSnare, 0.5f);
        drums.Sixteenths(bar, 0.55f);
        drums.OffBeatHats(bar, Voice::kOpenHat, 0.3f);
        if (left == 1) drums.Fill(bar, 0.8f);
        break;
      case Section::kDance:
        drums.FourOnTheFloor(bar, 1.0f);
        drums.Backbeat(bar, Voice::kClap, 0.85f);
        drums.OffBeatHats(bar, Voice::kOpenHat, 0.4f);
        for (int step = 0; step < 16; ++step) drums.Hit(Voice::kShaker, bar, step, step % 2 ? 0.3f : 0.2f, -0.45f);
        if (in % 4 == 3) drums.Hit(Voice::kClap, bar, 14.0, 0.5f, 0.3f);
        break;
      case Section::kOutro:
        break;
    }
  }
}

}  // namespace music
}  // namespace datagen
