#include "capture/soundtrack.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace {

// One second at 100 samples a second: left = n, right = -n.
std::vector<std::int16_t> Ramp() {
  std::vector<std::int16_t> music;
  for (int n = 0; n < 100; ++n) {
    music.push_back(static_cast<std::int16_t>(n));
    music.push_back(static_cast<std::int16_t>(-n));
  }
  return music;
}

TEST(SoundSection, StartsAtTheSectionsTimeAndLoopsLikeTheDemosStream) {
  const SoundSection sound = CutSoundSection(Ramp(), 100, 0.5, 2.2, 223.0);
  ASSERT_EQ(sound.stereo.size(), 170u * 2);
  EXPECT_EQ(sound.sampleRate, 100);
  EXPECT_EQ(sound.stereo[0], 50);
  EXPECT_EQ(sound.stereo[1], -50);
  EXPECT_EQ(sound.stereo[2 * 49], 99);
  EXPECT_EQ(sound.stereo[2 * 50], 0) << "the stream loops at its end";
  EXPECT_EQ(sound.stereo[2 * 169 + 1], -19);
}

TEST(SoundSection, IsSilentFromWhereTheDemoStopsTheMusic) {
  const SoundSection sound = CutSoundSection(Ramp(), 100, 1.0, 3.0, 1.5);
  ASSERT_EQ(sound.stereo.size(), 200u * 2);
  EXPECT_EQ(sound.stereo[2 * 49], 49);
  for (std::size_t i = 2 * 50; i < sound.stereo.size(); ++i) EXPECT_EQ(sound.stereo[i], 0) << i;
  EXPECT_EQ(CutSoundSection({}, 100, 0.0, 1.0, 223.0).stereo, std::vector<std::int16_t>(200, 0));
}

TEST(SoundSection, IsWrittenAsAPcmWaveFile) {
  testing_support::TempDir dir;
  SoundSection sound;
  sound.sampleRate = 44100;
  sound.stereo = {1, -1, 0x1234, -2};
  std::string error;
  ASSERT_TRUE(WriteWav(dir.File("s.wav"), sound, error)) << error;
  const std::string bytes = testing_support::ReadFile(dir.File("s.wav"));
  ASSERT_EQ(bytes.size(), 44u + 8u);
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(u32(4), 36u + 8u);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(u32(24), 44100u);
  EXPECT_EQ(u32(28), 44100u * 4);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  EXPECT_EQ(u32(40), 8u);
  EXPECT_EQ(bytes.substr(44), std::string("\x01\x00\xff\xff\x34\x12\xfe\xff", 8));

  EXPECT_FALSE(WriteWav(dir.File("no/such/folder.wav"), sound, error));
  EXPECT_NE(error.find("no/such/folder.wav"), std::string::npos);
}

}  // namespace
