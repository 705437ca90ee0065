// The generated soundtrack, decoded as the demo's music stream plays it: its length, its
// level, and an audible onset on every flash and greeting change of the timeline.
#include "datagen/music/soundtrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "datagen/music/analysis/audio_analysis.h"
#include "datagen/timeline_events.h"
#include "platform/music_stream.h"
#include "support/temp_dir.h"

namespace {

using namespace datagen;
using namespace datagen::timeline;

// The demo reads the timeline from the music at its frame rate: an accent must be heard
// within one frame of its time.
constexpr double kFrame = 1.0 / 60.0;
// An accent must stand out from the 100 ms before it by at least this much.
constexpr double kMinStandOutDb = 6.0;

// The build's data set holds the file; a build that has not generated its data set yet
// gets one written into the build folder once.
std::string SoundtrackPath() {
  const std::string built = DRIFT_BINARY_DIR "/data/music/osprey.mp3";
  if (testing_support::FileExists(built)) return built;
  const std::string own = DRIFT_BINARY_DIR "/soundtrack_test_osprey.mp3";
  static bool written = false;
  if (!written) {
    std::string error;
    written = WriteSoundtrack(own, error);
    EXPECT_TRUE(written) << error;
  }
  return own;
}

class SoundtrackFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    path_ = SoundtrackPath();
    decoded_ = platform::DecodeMp3File(path_, samples_, rate_);
    mono_ = analysis::MonoMix(samples_);
  }

  double Seconds() const { return static_cast<double>(samples_.size() / 2) / rate_; }

  static std::string path_;
  static bool decoded_;
  static std::vector<std::int16_t> samples_;
  static int rate_;
  static std::vector<float> mono_;
};

std::string SoundtrackFileTest::path_;
bool SoundtrackFileTest::decoded_ = false;
std::vector<std::int16_t> SoundtrackFileTest::samples_;
int SoundtrackFileTest::rate_ = 0;
std::vector<float> SoundtrackFileTest::mono_;

TEST_F(SoundtrackFileTest, PlaysLongerThanTheTimelineFollowsIt) {
  ASSERT_TRUE(decoded_) << platform::MusicError();
  EXPECT_EQ(rate_, 44100);
  EXPECT_GT(Seconds(), kMusicEnd);

  // The stream the demo plays reports the same exact length.
  ASSERT_TRUE(platform::InitMusicOutput(44100));
  const platform::MusicHandle stream = platform::CreateLoopingMusicStream(path_);
  ASSERT_NE(stream, 0u) << platform::MusicError();
  EXPECT_EQ(platform::MusicLengthBytes(stream), static_cast<std::int64_t>(samples_.size()) * 2);
  EXPECT_GT(platform::MusicBytesToSeconds(stream, platform::MusicLengthBytes(stream)), kMusicEnd);
  platform::FreeMusicOutput();
}

TEST_F(SoundtrackFileTest, LevelsStayInBounds) {
  ASSERT_TRUE(decoded_);
  int peak = 0;
  for (std::int16_t s : samples_) peak = std::max(peak, std::abs(static_cast<int>(s)));
  const double peakDb = 20.0 * std::log10(peak / 32768.0);
  std::printf("peak %.2f dBFS\n", peakDb);
  EXPECT_LE(peakDb, -1.0);

  // No silence (50 ms windows below -60 dBFS) longer than 2 s before 222 s.
  double silentSince = -1.0, longest = 0.0;
  for (double t = 0.0; t < 222.0; t += 0.05) {
    const bool silent = analysis::LevelDb(mono_, rate_, t, t + 0.05) < -60.0;
    if (silent && silentSince < 0.0) silentSince = t;
    if (!silent) silentSince = -1.0;
    if (silent) longest = std::max(longest, t + 0.05 - silentSince);
  }
  std::printf("longest silence before 222 s: %.2f s\n", longest);
  EXPECT_LE(longest, 2.0);

  // The music has ended by the time the demo leaves it.
  EXPECT_LT(analysis::LevelDb(mono_, rate_, kMusicSilent + 0.1, Seconds()), -60.0);
}

// Every flash and greeting change has an onset within a frame, which stands out clearly
// from the 100 ms before it.
TEST_F(SoundtrackFileTest, EveryAccentIsHeardOnItsFrame) {
  ASSERT_TRUE(decoded_);
  const std::vector<double> onsets = analysis::DetectOnsets(mono_, rate_);
  struct Target {
    double time;
    const char* kind;
  };
  std::vector<Target> targets;
  for (double t : FlashTimes()) targets.push_back({t, "flash"});
  for (double t : GreetingTimes()) targets.push_back({t, "greeting"});

  int onTime = 0, standingOut = 0;
  double largestError = 0.0, weakest = 1e9, worstTime = 0.0;
  for (const Target& target : targets) {
    const auto next = std::lower_bound(onsets.begin(), onsets.end(), target.time);
    double error = 1e9;
    if (next != onsets.end()) error = std::min(error, std::fabs(*next - target.time));
    if (next != onsets.begin()) error = std::min(error, std::fabs(*(next - 1) - target.time));
    const double standOut = analysis::PeakLevelDb(mono_, rate_, target.time, target.time + 0.03) -
                            analysis::LevelDb(mono_, rate_, target.time - 0.1, target.time);
    if (error <= kFrame) ++onTime;
    if (standOut >= kMinStandOutDb) ++standingOut;
    if (error > largestError) worstTime = target.time;
    largestError = std::max(largestError, error);
    weakest = std::min(weakest, standOut);
    EXPECT_LE(error, kFrame) << target.kind << " at " << target.time;
    EXPECT_GE(standOut, kMinStandOutDb) << target.kind << " at " << target.time;
  }
  std::printf(
      "%d of %zu accents with an onset within %.1f ms (largest error %.1f ms, at %.4f s); "
      "%d stand out by %.0f dB or more (least %.1f dB)\n",
      onTime, targets.size(), kFrame * 1000.0, largestError * 1000.0, worstTime, standingOut, kMinStandOutDb, weakest);
}

// A picture of the whole track with the events marked, and one of the busiest stretch;
// for a person to look at (written into the build folder).
TEST_F(SoundtrackFileTest, DrawsItsSpectrogram) {
  ASSERT_TRUE(decoded_);
  std::vector<analysis::Mark> marks;
  for (const TimelineEvent& event : AllEvents()) {
    if (event.kind == EventKind::kFlash) marks.push_back({event.time, 255, 230, 60});
    if (event.kind == EventKind::kGreeting) marks.push_back({event.time, 60, 220, 255});
    if (event.kind == EventKind::kScene) marks.push_back({event.time, 255, 60, 200});
  }
  const std::string whole = DRIFT_BINARY_DIR "/soundtrack_spectrogram.png";
  const std::string zoom = DRIFT_BINARY_DIR "/soundtrack_spectrogram_wall.png";
  EXPECT_TRUE(analysis::WriteSpectrogram(whole, mono_, rate_, 0.0, Seconds(), marks, 2400, 500));
  EXPECT_TRUE(analysis::WriteSpectrogram(zoom, mono_, rate_, 136.0, 170.0, marks, 2400, 500));
  std::printf("spectrograms: %s, %s\n", whole.c_str(), zoom.c_str());
}

}  // namespace
