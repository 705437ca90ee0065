#include "capture/frame_hashes.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// A 24-bit picture of the given rows, top row first (stored bottom-up).
Image Picture(int width, const std::vector<std::string>& rowsTopDown) {
  Image image = Image::Allocate(width, static_cast<int>(rowsTopDown.size()), 24);
  for (std::size_t i = 0; i < rowsTopDown.size(); ++i) {
    const std::size_t row = rowsTopDown.size() - 1 - i;
    std::memcpy(image.pixels.get() + row * image.RowBytes(), rowsTopDown[i].data(), image.RowBytes());
  }
  return image;
}

TEST(PixelHash, IsFnv1aOverTheRowsFromTheTop) {
  // The published FNV-1a 64 value of "foobar": the bytes are taken row by row from
  // the picture's top, whatever the layout in memory.
  EXPECT_EQ(PixelHash(Picture(2, {"foobar"})), 0x85944171f73967e8ull);
  EXPECT_EQ(PixelHash(Picture(1, {"foo", "bar"})), 0x85944171f73967e8ull);
  EXPECT_NE(PixelHash(Picture(1, {"bar", "foo"})), 0x85944171f73967e8ull);
}

TEST(HashLines, ReadBackWhatIsWritten) {
  const HashLine line{7380, 123.0, 0x9f0c1e2d3b4a5968ull};
  EXPECT_EQ(FormatHashLine(line), "7380 123.000000 9f0c1e2d3b4a5968");
  HashLine parsed;
  ASSERT_TRUE(ParseHashLine(FormatHashLine(line), parsed));
  EXPECT_EQ(parsed.frame, line.frame);
  EXPECT_DOUBLE_EQ(parsed.seconds, line.seconds);
  EXPECT_EQ(parsed.hash, line.hash);
  for (const char* bad : {"", "7380 123.000000", "7380 123.000000 9f0c1e2d3b4a596", "7380 123.0 9f0c1e2d3b4a5968 x",
                          "7380 123.0 9F0C1E2D3B4A5968", "x 1 0000000000000000",
                          "-1 0.0 0000000000000000", "1 nan 0000000000000000", "1 -0.5 0000000000000000",
                          "1 1e300 0000000000000000"}) {
    EXPECT_FALSE(ParseHashLine(bad, parsed)) << bad;
  }
}

TEST(HashLines, AFileCutOffMidLineKeepsItsCompleteLines) {
  TempDir dir;
  const std::string path = dir.File("hashes.txt");
  HashFileWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Create(path, error)) << error;
  for (long frame = 10; frame < 14; ++frame) ASSERT_TRUE(writer.Write({frame, frame / 10.0, 0x10ull + frame}));
  ASSERT_TRUE(writer.Close());
  const std::string text = ReadFile(path);
  WriteFile(path, text.substr(0, text.size() - 5));  // the last line lost its end

  const std::map<long, HashLine> lines = ReadHashFile(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines.begin()->first, 10);
  EXPECT_EQ(lines.at(12).hash, 0x1cull);
  EXPECT_TRUE(ReadHashFile(dir.File("missing.txt")).empty());
}

TEST(HashLines, AFileThatCannotBeCreatedSaysWhy) {
  HashFileWriter writer;
  std::string error;
  EXPECT_FALSE(writer.Create("/nonexistent-folder/hashes.txt", error));
  EXPECT_NE(error.find("/nonexistent-folder/hashes.txt"), std::string::npos) << error;
  EXPECT_FALSE(writer.Write({1, 0.1, 1}));
}

}  // namespace
