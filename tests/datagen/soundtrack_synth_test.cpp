// The synthesiser's building blocks: what each must guarantee for the mix to be clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "datagen/music/synth/drums.h"
#include "datagen/music/synth/envelope.h"
#include "datagen/music/synth/filter.h"
#include "datagen/music/synth/fx_sounds.h"
#include "datagen/music/synth/limiter.h"
#include "datagen/music/synth/noise.h"
#include "datagen/music/synth/oscillator.h"
#include "datagen/music/synth/reverb.h"
#include "datagen/music/synth/stereo_buffer.h"
#include "datagen/music/synth/tonal.h"

namespace {

using namespace datagen::synth;

double Rms(const std::vector<float>& x, std::size_t first = 0, std::size_t end = ~std::size_t{0}) {
  end = std::min(end, x.size());
  double sum = 0.0;
  for (std::size_t i = first; i < end; ++i) sum += static_cast<double>(x[i]) * x[i];
  return end > first ? std::sqrt(sum / static_cast<double>(end - first)) : 0.0;
}

float PeakOf(const std::vector<float>& x) {
  float peak = 0.0f;
  for (float v : x) peak = std::max(peak, std::fabs(v));
  return peak;
}

TEST(SynthOscillatorTest, SawHasItsPitchNoOffsetAndLittleAliasing) {
  const double hz = 1000.0;
  Oscillator saw(hz, kSampleRate);
  std::vector<float> out(kSampleRate);
  for (float& v : out) v = saw.Saw();
  int rising = 0;  // the saw's reset is its only downward step: count cycles by sign changes
  for (std::size_t i = 1; i < out.size(); ++i) rising += out[i - 1] < 0.0f && out[i] >= 0.0f;
  EXPECT_NEAR(rising, 1000, 2);
  double mean = 0.0;
  for (float v : out) mean += v;
  EXPECT_NEAR(mean / out.size(), 0.0, 0.01);
  EXPECT_LE(PeakOf(out), 1.1f);
}

TEST(SynthOscillatorTest, NoteNumbersAreEqualTempered) {
  EXPECT_DOUBLE_EQ(NoteHz(69.0), 440.0);
  EXPECT_NEAR(NoteHz(81.0), 880.0, 1e-9);
  EXPECT_NEAR(NoteHz(38.0), 73.416, 1e-3);  // D2, the bass's home
}

TEST(SynthFilterTest, LowPassKeepsLowsAndCutsHighs) {
  const auto through = [](double hz) {
    Svf filter;
    filter.Set(1000.0, 0.0, kSampleRate);
    Oscillator sine(hz, kSampleRate);
    std::vector<float> out(kSampleRate / 4);
    for (float& v : out) v = filter.Low(sine.Sine());
    return Rms(out, out.size() / 2);
  };
  EXPECT_NEAR(through(100.0), std::sqrt(0.5), 0.02);
  EXPECT_LT(through(8000.0), std::sqrt(0.5) * 0.03);  // two poles: about -36 dB three octaves up
}

TEST(SynthFilterTest, StaysStableWhileSweptFast) {
  Svf filter;
  Noise noise(7);
  float peak = 0.0f;
  for (int i = 0; i < kSampleRate; ++i) {
    if (i % 16 == 0) filter.Set(40.0 + 18000.0 * (0.5 + 0.5 * std::sin(i * 0.01)), 0.9, kSampleRate);
    peak = std::max(peak, std::fabs(filter.Low(noise.Bipolar())));
  }
  EXPECT_TRUE(std::isfinite(peak));
  EXPECT_LT(peak, 20.0f);
}

TEST(SynthEnvelopeTest, AdsrRisesHoldsAndReleasesToSilence) {
  const Adsr adsr{0.01, 0.1, 0.5, 0.2};
  EXPECT_EQ(adsr.At(-0.1, 1.0), 0.0f);
  EXPECT_EQ(adsr.At(0.0, 1.0), 0.0f);
  EXPECT_NEAR(adsr.At(0.01, 1.0), 1.0f, 0.01f);
  EXPECT_NEAR(adsr.At(0.9, 1.0), 0.5f, 0.01f);
  EXPECT_LT(adsr.At(1.0 + 0.199, 1.0), 0.001f);
  EXPECT_EQ(adsr.At(1.21, 1.0), 0.0f);
  EXPECT_DOUBLE_EQ(adsr.Length(1.0), 1.2);
  // Released during the attack: falls from where it was, never jumps up.
  EXPECT_LE(adsr.At(0.006, 0.005), adsr.At(0.005, 0.005));
}

TEST(SynthBufferTest, MixClipsToTheBufferAtEitherEnd) {
  StereoBuffer target(4);
  StereoBuffer source(3);
  source.left = {1.0f, 2.0f, 3.0f};
  source.right = {10.0f, 20.0f, 30.0f};
  target.Mix(source, -1);  // starts before the buffer
  target.Mix(source, 3);   // runs past its end
  target.Mix(source, 10);  // entirely outside
  EXPECT_EQ(target.left, (std::vector<float>{2.0f, 3.0f, 0.0f, 1.0f}));
  EXPECT_EQ(target.right, (std::vector<float>{20.0f, 30.0f, 0.0f, 10.0f}));
  const PanGains centre = Pan(0.0f);
  EXPECT_NEAR(centre.left, 1.0f, 1e-6f);
  EXPECT_NEAR(centre.right, 1.0f, 1e-6f);
  EXPECT_NEAR(Pan(-1.0f).right, 0.0f, 1e-6f);
}

TEST(SynthLimiterTest, NoSampleAboveTheCeilingAndQuietPassagesUntouched) {
  StereoBuffer audio(kSampleRate);
  Oscillator sine(220.0, kSampleRate);
  for (std::size_t i = 0; i < audio.Frames(); ++i) {
    const float loud = i > audio.Frames() / 2 && i < audio.Frames() / 2 + 2000 ? 4.0f : 0.25f;
    audio.left[i] = sine.Sine() * loud;
    audio.right[i] = -audio.left[i] * 0.5f;
  }
  const StereoBuffer original = audio;
  LimiterSettings settings;
  settings.ceilingDb = -1.0;
  Limit(audio, settings);
  EXPECT_LE(Peak(audio), std::pow(10.0f, -1.0f / 20.0f) + 1e-6f);
  // Well before the burst nothing changes; the channels keep their ratio throughout.
  for (std::size_t i = 0; i < audio.Frames() / 4; ++i) ASSERT_EQ(audio.left[i], original.left[i]);
  for (std::size_t i = 0; i < audio.Frames(); i += 97) ASSERT_NEAR(audio.right[i], -audio.left[i] * 0.5f, 1e-6f);
}

TEST(SynthLimiterTest, PcmConversionClipsAndIsRepeatable) {
  StereoBuffer audio(3);
  audio.left = {2.0f, -2.0f, 0.5f};
  audio.right = {0.0f, 1e-7f, -0.5f};
  const std::vector<std::int16_t> pcm = ToPcm16(audio);
  ASSERT_EQ(pcm.size(), 6u);
  EXPECT_EQ(pcm[0], 32767);
  EXPECT_EQ(pcm[2], -32768);
  EXPECT_NEAR(pcm[4], 16384, 2);
  EXPECT_NEAR(pcm[5], -16384, 2);
  EXPECT_LE(std::abs(pcm[1]), 1);
  EXPECT_EQ(pcm, ToPcm16(audio));
}

// Every sound: finite, bounded, the same from the same seed, silent at its very end (so
// cutting it there never clicks).
TEST(SynthSoundsTest, EverySoundIsCleanAndRepeatable) {
  const auto sounds = [](std::uint64_t seed) {
    Noise n(seed);
    std::vector<std::vector<float>> all = {Kick(KickSound(), 1.0f, n),
                                           Snare(1.0f, n),
                                           Clap(1.0f, n),
                                           HiHat(false, 1.0f, n),
                                           HiHat(true, 1.0f, n),
                                           Shaker(1.0f, n),
                                           Crash(1.0f, n),
                                           Tick(1.0f, n),
                                           Tom(120.0, 1.0f, n),
                                           Bass(38.0, 0.3, 1.0f, 1.0f),
                                           Lead(74.0, 0.4, 1.0f, 1.0f),
                                           Pluck(74.0, 0.1, 1.0f, 1.0f, 0.05),
                                           Stab(62.0, 1.0f, 0.075, 0.2),
                                           Bell(2000.0, 1.0f, 0.3),
                                           Swell(0.5, 1.0f, n)};
    for (const StereoBuffer& stereo :
         {Pad(62.0, 0.5, 1.0f, 1.0f, n), Riser(0.5, 1.0f, n), Shatter(1.0f, n), Crackle(0.5, 1.0f, n)}) {
      all.push_back(stereo.left);
      all.push_back(stereo.right);
    }
    return all;
  };
  const auto first = sounds(42);
  const auto again = sounds(42);
  ASSERT_EQ(first.size(), again.size());
  for (std::size_t s = 0; s < first.size(); ++s) {
    SCOPED_TRACE("sound " + std::to_string(s));
    const std::vector<float>& x = first[s];
    ASSERT_GT(x.size(), 100u);
    EXPECT_EQ(x, again[s]);
    for (float v : x) ASSERT_TRUE(std::isfinite(v));
    EXPECT_GT(PeakOf(x), 0.01f);
    EXPECT_LT(PeakOf(x), 4.0f);
    EXPECT_LT(std::fabs(x.back()), 0.02f);
  }
}

TEST(SynthSoundsTest, KickFallsInPitchAndDecays) {
  Noise noise(1);
  KickSound sound;
  sound.click = 0.0;
  const std::vector<float> kick = Kick(sound, 1.0f, noise);
  const std::size_t tenMs = kSampleRate / 100;
  EXPECT_GT(Rms(kick, 0, tenMs), 10.0 * Rms(kick, kick.size() - 4 * tenMs));
  // Zero crossings in the first 20 ms against 20 ms a quarter second in: the pitch falls.
  const auto crossings = [&](std::size_t from) {
    int count = 0;
    for (std::size_t i = from + 1; i < from + 2 * tenMs; ++i) count += (kick[i - 1] < 0.0f) != (kick[i] < 0.0f);
    return count;
  };
  EXPECT_GT(crossings(0), crossings(kSampleRate / 4));
}

TEST(SynthEffectsTest, ReverbAndEchoAddTailsAfterTheDrySignal) {
  StereoBuffer impulse(kSampleRate);
  impulse.left[100] = impulse.right[100] = 1.0f;
  const StereoBuffer wet = Reverb(impulse, ReverbSettings());
  EXPECT_EQ(wet.left[99], 0.0f);
  EXPECT_GT(Rms(wet.left, kSampleRate / 4, kSampleRate / 2), 1e-5);
  const StereoBuffer echo = PingPongDelay(impulse, 0.25, 0.5);
  const std::size_t delay = kSampleRate / 4;
  EXPECT_EQ(echo.right[100 + delay], 0.0f);  // the first repeat is on the left
  EXPECT_GT(Rms(echo.left, 100 + delay, 100 + delay + 200), 0.0);
  EXPECT_GT(Rms(echo.right, 100 + 2 * delay, 100 + 2 * delay + 200), 0.0);
}

}  // namespace
