// The music stream over MP3 files made by the encoder, played on SDL's dummy driver.
#include "platform/music_stream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/clock.h"
#include "platform/tools/mp3_encoder.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

// A tone per channel (440 Hz left, 660 Hz right), at half amplitude.
std::vector<std::int16_t> Tone(int frames, int sampleRate, int channels) {
  std::vector<std::int16_t> samples;
  samples.reserve(static_cast<std::size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double frequency = c == 0 ? 440.0 : 660.0;
      samples.push_back(static_cast<std::int16_t>(16000.0 * std::sin(2.0 * M_PI * frequency * i / sampleRate)));
    }
  }
  return samples;
}

double Seconds(std::int64_t counts) {
  return static_cast<double>(counts) / static_cast<double>(platform::PerformanceFrequency());
}

class MusicStream : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    work_ = new TempDir;
    std::string error;
    ASSERT_TRUE(platform::EncodeMp3(work_->File("stereo.mp3"), Tone(44100, 44100, 2), {}, error)) << error;
    platform::Mp3Settings mono;
    mono.sampleRate = 22050;
    mono.channels = 1;
    mono.bitrateKbps = 64;
    ASSERT_TRUE(platform::EncodeMp3(work_->File("mono.mp3"), Tone(11025, 22050, 1), mono, error)) << error;
  }
  static void TearDownTestSuite() {
    delete work_;
    work_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(platform::InitMusicOutput(44100)) << platform::MusicError(); }
  void TearDown() override { platform::FreeMusicOutput(); }

  static std::string File(const std::string& name) { return work_->File(name); }
  static TempDir* work_;
};

TempDir* MusicStream::work_ = nullptr;

TEST_F(MusicStream, LengthIsExactAndBytesCountStereoAtTheFileRate) {
  EXPECT_EQ(platform::MusicOutputDriver(), "dummy");
  const platform::MusicHandle stereo = platform::CreateLoopingMusicStream(File("stereo.mp3"));
  ASSERT_NE(stereo, 0u) << platform::MusicError();
  EXPECT_EQ(platform::MusicLengthBytes(stereo), 44100 * 4);
  EXPECT_EQ(platform::MusicSecondsToBytes(stereo, 0.5), 22050 * 4);
  EXPECT_EQ(platform::MusicSecondsToBytes(stereo, 1.0 / 3.0), 14700 * 4);
  EXPECT_EQ(platform::MusicSecondsToBytes(stereo, 0.016), 705 * 4);  // rounds down to a whole frame
  EXPECT_EQ(platform::MusicSecondsToBytes(stereo, -1.0), 0);
  EXPECT_DOUBLE_EQ(platform::MusicBytesToSeconds(stereo, 22050 * 4), 0.5);
  for (double seconds : {0.0, 0.001, 0.25, 0.7312, 0.999}) {
    const double back = platform::MusicBytesToSeconds(stereo, platform::MusicSecondsToBytes(stereo, seconds));
    EXPECT_LE(back, seconds);
    EXPECT_GT(back, seconds - 1.0 / 44100.0) << seconds;
  }

  // A mono file at another rate still counts 16-bit stereo frames at its own rate.
  const platform::MusicHandle mono = platform::CreateLoopingMusicStream(File("mono.mp3"));
  ASSERT_NE(mono, 0u) << platform::MusicError();
  EXPECT_EQ(platform::MusicLengthBytes(mono), 11025 * 4);
  EXPECT_EQ(platform::MusicSecondsToBytes(mono, 0.25), 5512 * 4);
  EXPECT_DOUBLE_EQ(platform::MusicBytesToSeconds(mono, 11025 * 4), 0.5);
  EXPECT_TRUE(platform::FreeMusicStream(mono));
  EXPECT_FALSE(platform::FreeMusicStream(mono));
  EXPECT_EQ(platform::MusicLengthBytes(mono), -1);
}

TEST_F(MusicStream, PositionIsSetBeforePlayAndHeldUntilThen) {
  const platform::MusicHandle stream = platform::CreateLoopingMusicStream(File("stereo.mp3"));
  ASSERT_NE(stream, 0u) << platform::MusicError();
  EXPECT_EQ(platform::MusicPosition(stream), 0);
  const std::int64_t bytes = platform::MusicSecondsToBytes(stream, 0.25);
  ASSERT_TRUE(platform::SetMusicPosition(stream, bytes));
  EXPECT_EQ(platform::MusicPosition(stream), bytes);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(platform::MusicPosition(stream), bytes);
  EXPECT_TRUE(platform::SetMusicPosition(stream, bytes + 3));  // rounded down to the frame
  EXPECT_EQ(platform::MusicPosition(stream), bytes);
  EXPECT_FALSE(platform::SetMusicPosition(stream, platform::MusicLengthBytes(stream)));
  EXPECT_FALSE(platform::SetMusicPosition(stream, -4));
  EXPECT_EQ(platform::MusicPosition(stream), bytes);

  ASSERT_TRUE(platform::PlayMusic(stream));
  const std::int64_t first = platform::MusicPosition(stream);
  EXPECT_GE(first, bytes);
  EXPECT_LT(first, bytes + platform::MusicSecondsToBytes(stream, 0.05));
}

TEST_F(MusicStream, PauseHoldsThePositionAndPlayGoesOnFromIt) {
  const platform::MusicHandle stream = platform::CreateLoopingMusicStream(File("stereo.mp3"));
  ASSERT_NE(stream, 0u) << platform::MusicError();
  EXPECT_TRUE(platform::PauseMusic(stream));  // paused before playing: nothing changes
  EXPECT_EQ(platform::MusicPosition(stream), 0);
  ASSERT_TRUE(platform::PlayMusic(stream));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(platform::PauseMusic(stream));
  const std::int64_t paused = platform::MusicPosition(stream);
  EXPECT_GT(paused, platform::MusicSecondsToBytes(stream, 0.05));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(platform::MusicPosition(stream), paused) << "a paused stream stands still";
  ASSERT_TRUE(platform::PlayMusic(stream));
  EXPECT_GE(platform::MusicPosition(stream), paused) << "playing goes on from the pause";
  EXPECT_LT(platform::MusicPosition(stream), paused + platform::MusicSecondsToBytes(stream, 0.05));

  // Seeking while playing moves the playing position there at once.
  const std::int64_t target = platform::MusicSecondsToBytes(stream, 0.5);
  ASSERT_TRUE(platform::SetMusicPosition(stream, target));
  EXPECT_GE(platform::MusicPosition(stream), target);
  EXPECT_LT(platform::MusicPosition(stream), target + platform::MusicSecondsToBytes(stream, 0.05));
  EXPECT_FALSE(platform::PauseMusic(0));
}

// Over two seconds of a one-second stream: the position follows the wall clock within
// 10 ms, never steps back except where the stream starts over, and loops.
TEST_F(MusicStream, PlaysOnTheWallClockAndLoops) {
  const platform::MusicHandle stream = platform::CreateLoopingMusicStream(File("stereo.mp3"));
  ASSERT_NE(stream, 0u) << platform::MusicError();
  const double length = platform::MusicBytesToSeconds(stream, platform::MusicLengthBytes(stream));
  const double start = 0.1;
  ASSERT_TRUE(platform::SetMusicPosition(stream, platform::MusicSecondsToBytes(stream, start)));
  const std::int64_t t0 = platform::PerformanceCounter();
  ASSERT_TRUE(platform::PlayMusic(stream));
  const std::int64_t t1 = platform::PerformanceCounter();

  int loops = 0;
  double previous = start;
  double worst = 0.0;
  for (;;) {
    const std::int64_t before = platform::PerformanceCounter();
    const double position = platform::MusicBytesToSeconds(stream, platform::MusicPosition(stream));
    const std::int64_t after = platform::PerformanceCounter();
    if (Seconds(before - t0) > 2.0) break;
    ASSERT_GE(position, 0.0);
    ASSERT_LT(position, length);
    if (position < previous) {
      // Only the loop point may take the position back: from near the end to near the start.
      ASSERT_GT(previous, length - 0.05) << "stepped back from " << previous << " to " << position;
      ASSERT_LT(position, 0.05);
      ++loops;
    }
    previous = position;
    // The wall-clock time since Play, bracketed by the counter reads around the call.
    const double unwrapped = position + loops * length - start;
    const double earliest = Seconds(before - t1);
    const double latest = Seconds(after - t0);
    const double off = unwrapped < earliest ? earliest - unwrapped : unwrapped > latest ? unwrapped - latest : 0.0;
    worst = std::max(worst, off);
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
  EXPECT_EQ(loops, 2);
  EXPECT_LE(worst, 0.010);
}

TEST_F(MusicStream, DecodesWhatTheEncoderWrote) {
  const std::vector<std::int16_t> tone = Tone(44100, 44100, 2);
  std::vector<std::int16_t> decoded;
  int rate = 0;
  ASSERT_TRUE(platform::DecodeMp3File(File("stereo.mp3"), decoded, rate)) << platform::MusicError();
  EXPECT_EQ(rate, 44100);
  ASSERT_EQ(decoded.size(), tone.size());
  // Sample-aligned (no encoder delay left) and close to the original.
  double signal = 0.0, noise = 0.0;
  for (std::size_t i = 0; i < tone.size(); ++i) {
    const double original = tone[i];
    const double difference = decoded[i] - original;
    signal += original * original;
    noise += difference * difference;
  }
  EXPECT_LT(noise / signal, 0.005);

  // Mono is played on both channels.
  ASSERT_TRUE(platform::DecodeMp3File(File("mono.mp3"), decoded, rate)) << platform::MusicError();
  EXPECT_EQ(rate, 22050);
  ASSERT_EQ(decoded.size(), 11025u * 2);
  EXPECT_EQ(decoded[2000], decoded[2001]);
}

TEST_F(MusicStream, UnreadableFilesGiveNoStream) {
  WriteFile(File("noise.mp3"), std::string(5000, '\x42'));
  WriteFile(File("empty.mp3"), "");
  // Half a file: its header still declares the whole second.
  const std::string whole = testing_support::ReadFile(File("stereo.mp3"));
  WriteFile(File("half.mp3"), whole.substr(0, whole.size() / 2));
  for (const char* name : {"missing.mp3", "noise.mp3", "empty.mp3", "half.mp3"}) {
    EXPECT_EQ(platform::CreateLoopingMusicStream(File(name)), 0u) << name;
    EXPECT_NE(platform::MusicError().find(name), std::string::npos) << platform::MusicError();
  }
  EXPECT_NE(platform::MusicError().find("cut short (it holds 0.5 s of the 1.0 s its header declares)"),
            std::string::npos)
      << platform::MusicError();
  std::vector<std::int16_t> decoded;
  int rate = 0;
  EXPECT_FALSE(platform::DecodeMp3File(File("half.mp3"), decoded, rate));
  EXPECT_EQ(platform::MusicPosition(0), -1);
  EXPECT_FALSE(platform::PlayMusic(0));
  EXPECT_LT(platform::MusicBytesToSeconds(0, 0), 0.0);

  platform::FreeMusicOutput();
  EXPECT_EQ(platform::CreateLoopingMusicStream(File("stereo.mp3")), 0u) << "no stream without an output";
}

TEST(Mp3Encoder, RefusesWhatItCannotWrite) {
  TempDir work;
  std::string error;
  platform::Mp3Settings settings;
  settings.channels = 3;
  EXPECT_FALSE(platform::EncodeMp3(work.File("a.mp3"), Tone(100, 44100, 3), settings, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(platform::EncodeMp3(work.File("no/such/folder/a.mp3"), Tone(100, 44100, 2), {}, error));
  EXPECT_NE(error.find("a.mp3"), std::string::npos);
}

}  // namespace
