// The composition: the plan follows the timeline, every event has its accent, and the
// groove leaves room before each.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "datagen/music/arrangement.h"
#include "datagen/music/composition.h"
#include "datagen/timeline_events.h"

namespace {

using namespace datagen::music;
using namespace datagen::timeline;

const Score& TheScore() {
  static const Score score = Compose(Arrangement(SoundtrackGrid()));
  return score;
}

TEST(ArrangementTest, SectionsFollowTheStory) {
  const Arrangement arrangement(SoundtrackGrid());
  const std::vector<SectionSpan>& sections = arrangement.Sections();
  ASSERT_EQ(sections.size(), 10u);
  for (std::size_t i = 1; i < sections.size(); ++i) {
    EXPECT_EQ(sections[i].firstBar, sections[i - 1].endBar);
    EXPECT_GT(sections[i].Bars(), 0);
  }
  const auto start = [&](Section section) {
    for (const SectionSpan& span : sections) {
      if (span.section == section) return arrangement.Time(span.firstBar, 0.0);
    }
    return -1.0;
  };
  EXPECT_GE(start(Section::kIntro), 0.0);
  EXPECT_NEAR(start(Section::kTheme), FlashTimes().front(), 1e-6);
  EXPECT_NEAR(start(Section::kRelease), kReleaseHit, 1e-3);
  EXPECT_NEAR(start(Section::kRun), kRunStart, 1.0);
  EXPECT_NEAR(start(Section::kWall), kRobotStands, 1.0);
  EXPECT_NEAR(start(Section::kRunAgain), arrangement.DropTime(), 1e-6);
  EXPECT_NEAR(start(Section::kDance), kBackToHall, 1.0);
  EXPECT_NEAR(start(Section::kOutro), FlashTimes().back(), 1.0);
  EXPECT_GT(arrangement.Time(arrangement.EndBar(), 0.0), kMusicSilent);
  EXPECT_LT(arrangement.DropTime(), kWallImpact);
  EXPECT_GT(arrangement.DropTime(), kWallImpact - 0.1);
  // The welding part resolves onto the release: its last chord is the dominant.
  EXPECT_EQ(arrangement.ChordAt(arrangement.SpanOf(arrangement.Grid().BarAt(kReleaseHit) - 1).endBar - 1).root, kA);
  EXPECT_EQ(arrangement.ChordAt(0).root, kD);
}

TEST(HarmonyTest, VoicingsSitInTheirRegister) {
  const Chord dm = chords::Minor(kD);
  EXPECT_EQ(Voicing(dm, 57), (std::vector<int>{57, 62, 65}));  // A3 D4 F4
  EXPECT_EQ(Root(chords::Major(kBb), 33), 34);
  EXPECT_EQ(ToneAtOrAbove(dm, 7, 69), 69);
  EXPECT_EQ(ToneAtOrAbove(dm, 7, 70), 81);
}

TEST(CompositionTest, EveryEventHasItsAccentAtExactlyItsTime) {
  std::multiset<double> accents;
  for (const Note& note : TheScore().notes) {
    if (note.accent) accents.insert(note.time);
  }
  for (double t : FlashTimes()) EXPECT_GT(accents.count(t), 0u) << "flash " << t;
  for (double t : GreetingTimes()) EXPECT_GT(accents.count(t), 0u) << "greeting " << t;
}

TEST(CompositionTest, NothingNewStartsJustBeforeAnAccent) {
  std::vector<double> accents = FlashTimes();
  accents.insert(accents.end(), GreetingTimes().begin(), GreetingTimes().end());
  std::sort(accents.begin(), accents.end());
  for (const Note& note : TheScore().notes) {
    if (note.accent || note.voice == Voice::kPad) continue;
    // A note moved onto an accent starts with it (and may lead into a grace note's partner).
    if (std::binary_search(accents.begin(), accents.end(), note.time)) continue;
    const auto next = std::upper_bound(accents.begin(), accents.end(), note.time);
    if (next == accents.end()) continue;
    EXPECT_GE(*next - note.time, 0.1) << "voice " << static_cast<int>(note.voice) << " at " << note.time;
  }
}

TEST(CompositionTest, TheScoreIsSortedAndEndsBeforeTheMusicFallsSilent) {
  const Score& score = TheScore();
  ASSERT_FALSE(score.notes.empty());
  EXPECT_TRUE(std::is_sorted(score.notes.begin(), score.notes.end(),
                             [](const Note& a, const Note& b) { return a.time < b.time; }));
  for (const Note& note : score.notes) {
    EXPECT_GE(note.time, 0.0);
    EXPECT_GT(note.length, 0.0);
    EXPECT_GE(note.velocity, 0.0f);
    EXPECT_LE(note.velocity, 1.0f);
    // Keys are released early enough for the longest release (the pads', 1.4 s).
    EXPECT_LE(note.time + note.length, kMusicSilent - 1.4) << static_cast<int>(note.voice) << " at " << note.time;
  }
}

TEST(MakeRoomTest, DropsDrumsMovesNotesAndSoftensGraceNotes) {
  Score score;
  const auto add = [&](Voice voice, double time, bool accent = false) {
    Note note{voice, time, 0.5, 60.0, 1.0f, 0.0f};
    note.accent = accent;
    score.Add(note);
  };
  add(Voice::kStab, 10.0, true);
  add(Voice::kGreeting, 9.95, true);  // a grace note before the stab
  add(Voice::kClosedHat, 9.92);       // in the quiet span: dropped
  add(Voice::kClosedHat, 9.8);        // before them: kept
  add(Voice::kKick, 9.8);             // rings into the quiet span: dropped
  add(Voice::kKick, 10.02);           // on top of the accent's own hit: dropped
  add(Voice::kKick, 10.1);            // after it: kept
  add(Voice::kBass, 9.94);            // starts with the accent instead
  add(Voice::kPad, 9.96);             // sustained parts are left alone
  MakeRoomForAccents(score);
  std::vector<std::pair<int, double>> left;
  for (const Note& note : score.notes) left.emplace_back(static_cast<int>(note.voice), note.time);
  const std::vector<std::pair<int, double>> expected = {
      {static_cast<int>(Voice::kStab), 10.0},     {static_cast<int>(Voice::kGreeting), 9.95},
      {static_cast<int>(Voice::kClosedHat), 9.8}, {static_cast<int>(Voice::kKick), 10.1},
      {static_cast<int>(Voice::kBass), 9.95},     {static_cast<int>(Voice::kPad), 9.96}};
  EXPECT_EQ(left, expected);
  EXPECT_FLOAT_EQ(score.notes[0].velocity, 1.0f);
  EXPECT_LT(score.notes[1].velocity, 1.0f);
  EXPECT_NEAR(score.notes[4].length, 0.49, 1e-9);  // the bass still ends where it did
}

}  // namespace
