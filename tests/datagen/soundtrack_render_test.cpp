// Rendering excerpts of the soundtrack (short ones: the whole track is the data test's)
// and the measurements the data test relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "assets/image.h"
#include "datagen/music/analysis/audio_analysis.h"
#include "datagen/music/soundtrack.h"
#include "datagen/music/synth/drums.h"
#include "datagen/music/synth/limiter.h"
#include "datagen/music/synth/noise.h"
#include "datagen/music/synth/stereo_buffer.h"
#include "datagen/timeline_events.h"
#include "support/temp_dir.h"

namespace {

using namespace datagen;

// The same excerpt twice is the same to the sample, and within the limiter's ceiling.
TEST(SoundtrackRenderTest, AnExcerptIsRepeatableToTheSample) {
  const double from = timeline::kWallImpact - 0.3;
  const synth::StereoBuffer first = RenderSoundtrack(from, from + 0.6);
  const synth::StereoBuffer again = RenderSoundtrack(from, from + 0.6);
  ASSERT_EQ(first.Frames(), static_cast<std::size_t>(0.6 * synth::kSampleRate));
  EXPECT_EQ(first.left, again.left);
  EXPECT_EQ(first.right, again.right);
  EXPECT_LE(synth::Peak(first), std::pow(10.0f, -1.5f / 20.0f) + 1e-6f);
  EXPECT_GT(synth::Peak(first), 0.1f);
}

// The drop lands on its flash: the excerpt around it has its strongest onset there.
TEST(SoundtrackRenderTest, TheDropLandsOnItsFlash) {
  const double drop =
      *(std::upper_bound(timeline::FlashTimes().begin(), timeline::FlashTimes().end(), timeline::kWallImpact) - 1);
  const double from = drop - 0.5;
  const synth::StereoBuffer audio = RenderSoundtrack(from, drop + 0.5);
  std::vector<float> mono(audio.Frames());
  for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (audio.left[i] + audio.right[i]);
  const std::vector<double> onsets = analysis::DetectOnsets(mono, synth::kSampleRate);
  ASSERT_FALSE(onsets.empty());
  double nearest = 1.0;
  for (double onset : onsets) nearest = std::min(nearest, std::fabs(onset + from - drop));
  EXPECT_LT(nearest, 1.0 / 60.0);
  const double t = drop - from;
  EXPECT_GT(analysis::PeakLevelDb(mono, synth::kSampleRate, t, t + 0.03),
            analysis::LevelDb(mono, synth::kSampleRate, t - 0.1, t) + 12.0);
}

// Hits at known times over a quiet bed: each found within 3 ms, nothing else found.
TEST(AudioAnalysisTest, FindsOnsetsWhereHitsStart) {
  const int rate = synth::kSampleRate;
  std::vector<float> mono(3 * rate);
  synth::Noise bed(3);
  for (float& v : mono) v = bed.Bipolar() * 0.002f;
  const std::vector<double> hits = {0.25, 0.61, 0.8, 1.5, 2.2};
  synth::Noise noise(5);
  for (double hit : hits) {
    const std::vector<float> sound =
        hit == 1.5 ? synth::Snare(0.8f, noise) : synth::Kick(synth::KickSound(), 0.8f, noise);
    const std::size_t at = static_cast<std::size_t>(hit * rate);
    for (std::size_t i = 0; i < sound.size() && at + i < mono.size(); ++i) mono[at + i] += sound[i];
  }
  const std::vector<double> onsets = analysis::DetectOnsets(mono, rate);
  ASSERT_EQ(onsets.size(), hits.size());
  for (std::size_t i = 0; i < hits.size(); ++i) EXPECT_NEAR(onsets[i], hits[i], 0.003);
  EXPECT_TRUE(analysis::DetectOnsets(std::vector<float>(rate, 0.0f), rate).empty());
}

TEST(AudioAnalysisTest, LevelsOfASine) {
  const int rate = synth::kSampleRate;
  std::vector<float> mono(rate);
  for (int i = 0; i < rate; ++i)
    mono[i] = static_cast<float>(0.5 * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / rate));
  EXPECT_NEAR(analysis::LevelDb(mono, rate, 0.0, 1.0), 20.0 * std::log10(0.5 / std::sqrt(2.0)), 0.01);
  EXPECT_NEAR(analysis::PeakLevelDb(mono, rate, 0.1, 0.2), 20.0 * std::log10(0.5 / std::sqrt(2.0)), 0.05);
  EXPECT_EQ(analysis::LevelDb(mono, rate, 0.5, 0.5), -120.0);
  EXPECT_EQ(analysis::LevelDb(mono, rate, 2.0, 3.0), -120.0);  // beyond the signal
  const std::vector<float> mixed = analysis::MonoMix({32767, -32767, 16384, 16384});
  EXPECT_EQ(mixed, (std::vector<float>{0.0f, 0.5f}));
}

TEST(AudioAnalysisTest, SpectrogramIsAPictureOfTheAskedSize) {
  testing_support::TempDir dir;
  const int rate = synth::kSampleRate;
  std::vector<float> mono(rate / 2);
  for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = static_cast<float>(std::sin(i * 0.1));
  const std::string path = dir.File("spectrum.png");
  ASSERT_TRUE(analysis::WriteSpectrogram(path, mono, rate, 0.0, 0.5, {{0.25, 255, 0, 0}}, 64, 32));
  Image image;
  ASSERT_TRUE(DecodePng(path, image));
  EXPECT_EQ(image.width, 64);
  EXPECT_EQ(image.height, 32);
  EXPECT_FALSE(analysis::WriteSpectrogram(path, mono, rate, 0.5, 0.5, {}, 64, 32));
  EXPECT_FALSE(analysis::WriteSpectrogram(dir.File("missing/spectrum.png"), mono, rate, 0.0, 0.5, {}, 8, 8));
}

// An unwritable place is reported at once, before the long render.
TEST(SoundtrackWriteTest, AnUnwritablePlaceIsReportedBeforeRendering) {
  testing_support::TempDir dir;
  std::string error;
  std::vector<std::string> stages;
  const std::string path = dir.File("no/such/folder/osprey.mp3");
  EXPECT_FALSE(WriteSoundtrack(path, error, [&](const std::string& stage) { stages.push_back(stage); }));
  EXPECT_NE(error.find(path), std::string::npos);
  EXPECT_TRUE(stages.empty());
  EXPECT_FALSE(testing_support::FileExists(path));
}

}  // namespace
