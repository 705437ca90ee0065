#include "capture/frame_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace {

using testing_support::FileExists;
using testing_support::TempDir;
using testing_support::WriteFile;

Image Grey(int width, int height, unsigned char value) {
  Image image = Image::Allocate(width, height, 24);
  std::fill(image.pixels.get(), image.pixels.get() + image.Bytes(), value);
  return image;
}

TEST(FrameFolder, FramesAreNumberedByGridFrame) {
  EXPECT_EQ(FrameFolder::FileName(0), "frame_000000.png");
  EXPECT_EQ(FrameFolder::FileName(13379), "frame_013379.png");
  EXPECT_EQ(FrameFolder::FileName(1234567), "frame_1234567.png");
}

TEST(FrameFolder, AResumedCaptureStartsAtTheFirstMissingFrame) {
  TempDir dir;
  const std::string folder = dir.File("frames");
  std::string error;
  FrameFolder frames;
  ASSERT_TRUE(frames.Open(folder, 8, 4, 10, false, error)) << error;
  const FrameGrid grid = FrameGrid::ForSection(10, 10.0, 12.0);
  EXPECT_EQ(frames.FirstMissing(grid), 100);
  for (long frame : {100, 101, 102, 104}) ASSERT_TRUE(frames.Write(frame, Grey(8, 4, 50), error)) << error;
  // What an interrupted write leaves: a partial file under its temporary name.
  WriteFile(frames.PathOf(103) + ".part", "half a png");

  FrameFolder resumed;
  ASSERT_TRUE(resumed.Open(folder, 8, 4, 10, true, error)) << error;
  EXPECT_EQ(resumed.FirstMissing(grid), 103);
  EXPECT_FALSE(FileExists(frames.PathOf(103) + ".part"));
  Image back;
  ASSERT_TRUE(DecodePng(frames.PathOf(102), back));
  EXPECT_EQ(back.width, 8);
}

TEST(FrameFolder, ResumingWithOtherSettingsIsRefused) {
  TempDir dir;
  const std::string folder = dir.File("frames");
  std::string error;
  FrameFolder frames;
  ASSERT_TRUE(frames.Open(folder, 8, 4, 10, false, error)) << error;
  FrameFolder other;
  EXPECT_FALSE(other.Open(folder, 8, 4, 25, true, error));
  EXPECT_NE(error.find("other settings"), std::string::npos) << error;
  EXPECT_FALSE(other.Open(folder, 16, 4, 10, true, error));
  // A fresh capture into the folder takes it over.
  EXPECT_TRUE(other.Open(folder, 16, 4, 25, false, error)) << error;
  EXPECT_TRUE(other.Open(folder, 16, 4, 25, true, error)) << error;
}

TEST(FrameFolder, AFolderThatCannotBeMadeOrWrittenSaysSo) {
  TempDir dir;
  WriteFile(dir.File("a_file"), "x");
  std::string error;
  FrameFolder frames;
  EXPECT_FALSE(frames.Open(dir.File("a_file"), 8, 4, 10, false, error));
  EXPECT_NE(error.find("a_file"), std::string::npos) << error;

  ASSERT_TRUE(frames.Open(dir.File("frames"), 8, 4, 10, false, error)) << error;
  std::filesystem::create_directories(frames.PathOf(7));  // a folder where the frame goes
  EXPECT_FALSE(frames.Write(7, Grey(8, 4, 1), error));
  EXPECT_NE(error.find("frame_000007.png"), std::string::npos) << error;
  EXPECT_FALSE(FileExists(frames.PathOf(7) + ".part"));
}

}  // namespace
