// Encodes a few frames with the real ffmpeg and reads the file back with ffprobe and
// ffmpeg: size, rate, length, the sound track, and that the picture is upright.
#include "capture/video_encoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "capture/soundtrack.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ProcessOptions;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;

// A frame whose top half is red and bottom half blue (rows bottom-up).
Image RedOverBlue(int width, int height) {
  Image image = Image::Allocate(width, height, 24);
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = image.pixels.get() + (static_cast<std::size_t>(row) * width + x) * 3;
      p[0] = row >= height / 2 ? 230 : 0;
      p[1] = 0;
      p[2] = row >= height / 2 ? 0 : 230;
    }
  }
  return image;
}

std::string Output(const std::vector<std::string>& command, const TempDir& dir) {
  ProcessOptions options;
  options.stdoutPath = dir.File("stdout.txt");
  EXPECT_EQ(RunCommand(command, 60, options), 0);
  return ReadFile(options.stdoutPath);
}

TEST(VideoEncoder, WritesAnUprightH264VideoWithItsSound) {
  TempDir dir;
  SoundSection sound;
  sound.sampleRate = 44100;
  sound.stereo.assign(44100 * 2, 1000);  // one second
  std::string error;
  ASSERT_TRUE(WriteWav(dir.File("sound.wav"), sound, error)) << error;

  VideoSettings settings{dir.File("clip.mp4"), 64, 48, 25, dir.File("sound.wav")};
  VideoEncoder video;
  ASSERT_TRUE(video.Open(settings, error)) << error;
  const Image frame = RedOverBlue(64, 48);
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(video.Write(frame));
  ASSERT_TRUE(video.Close(error)) << error;

  const std::string streams =
      Output({"ffprobe", "-v", "error", "-show_entries", "stream=codec_name,width,height,r_frame_rate,nb_frames",
              "-of", "compact", settings.path},
             dir);
  EXPECT_NE(streams.find("codec_name=h264|width=64|height=48|r_frame_rate=25/1|nb_frames=25"), std::string::npos)
      << streams;
  EXPECT_NE(streams.find("codec_name=aac"), std::string::npos) << streams;

  // The first frame as raw RGB, top row first.
  Output({"ffmpeg", "-v", "error", "-i", settings.path, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24",
          dir.File("first.rgb")},
         dir);
  const std::string rgb = ReadFile(dir.File("first.rgb"));
  ASSERT_EQ(rgb.size(), 64u * 48 * 3);
  const auto red = [&](int y) { return static_cast<unsigned char>(rgb[(static_cast<std::size_t>(y) * 64 + 32) * 3]); };
  EXPECT_GT(red(4), 180) << "red at the top";
  EXPECT_LT(red(44), 60) << "blue at the bottom";
}

TEST(VideoEncoder, WithoutFfmpegOpeningSaysWhatToInstall) {
  TempDir dir;
  const char* path = std::getenv("PATH");
  const std::string saved = path != nullptr ? path : "";
  setenv("PATH", dir.Path().c_str(), 1);
  VideoEncoder video;
  std::string error;
  const bool opened = video.Open(VideoSettings{dir.File("clip.mp4"), 64, 48, 25, ""}, error);
  setenv("PATH", saved.c_str(), 1);
  EXPECT_FALSE(opened);
  EXPECT_NE(error.find("ffmpeg is not installed"), std::string::npos) << error;
}

TEST(VideoEncoder, AFailingFfmpegIsReported) {
  TempDir dir;
  VideoEncoder video;
  std::string error;
  // ffmpeg cannot write into a folder that does not exist.
  ASSERT_TRUE(video.Open(VideoSettings{dir.File("no/such/clip.mp4"), 64, 48, 25, ""}, error)) << error;
  const Image frame = RedOverBlue(64, 48);
  for (int i = 0; i < 3; ++i) video.Write(frame);
  EXPECT_FALSE(video.Close(error));
  EXPECT_NE(error.find("ffmpeg failed"), std::string::npos) << error;
}

}  // namespace
