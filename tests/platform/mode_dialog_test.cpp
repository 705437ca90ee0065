// The picture conversion of the start dialog and the loading of its toolkit at run time
// (the dialog itself is tested in gl/).
#include "platform/mode_dialog.h"

#include <gtest/gtest.h>

namespace {

platform::DialogPicture Picture(int width, int height) {
  platform::DialogPicture picture;
  picture.width = width;
  picture.height = height;
  picture.rgbBottomUp.resize(static_cast<std::size_t>(width) * height * 3);
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &picture.rgbBottomUp[(static_cast<std::size_t>(row) * width + x) * 3];
      p[0] = static_cast<unsigned char>(x);    // red: column
      p[1] = static_cast<unsigned char>(row);  // green: bottom-up row
      p[2] = 7;
    }
  }
  return picture;
}

TEST(DialogPicture, RowsAreTurnedTopDownWithRedInTheHighByte) {
  int width = 0, height = 0;
  const std::vector<std::uint32_t> pixels = platform::PicturePixelsTopDown(Picture(3, 2), width, height);
  ASSERT_EQ(width, 3);
  ASSERT_EQ(height, 2);
  // Top row first: that is bottom-up row 1.
  EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0x000107, 0x010107, 0x020107, 0x000007, 0x010007, 0x020007}));
}

TEST(DialogPicture, ALargerPictureIsClippedToTheAreaFromItsTopLeft) {
  int width = 0, height = 0;
  const std::vector<std::uint32_t> pixels = platform::PicturePixelsTopDown(Picture(450, 200), width, height);
  ASSERT_EQ(width, 400);
  ASSERT_EQ(height, 150);
  EXPECT_EQ(pixels.size(), 400u * 150u);
  EXPECT_EQ(pixels[0], 0x00c707u);                  // top row is bottom-up row 199
  EXPECT_EQ(pixels[149 * 400 + 399], 0x8f3207u);    // row 50, column 399 (low byte 0x8f)
}

TEST(DialogPicture, EmptyOrShortPicturesShowNothing) {
  int width = 1, height = 1;
  EXPECT_TRUE(platform::PicturePixelsTopDown(platform::DialogPicture{}, width, height).empty());
  EXPECT_EQ(width, 0);
  platform::DialogPicture shortBuffer = Picture(10, 10);
  shortBuffer.rgbBottomUp.pop_back();
  EXPECT_TRUE(platform::PicturePixelsTopDown(shortBuffer, width, height).empty());
  platform::DialogPicture negative = Picture(4, 4);
  negative.height = -4;
  EXPECT_TRUE(platform::PicturePixelsTopDown(negative, width, height).empty());
}

constexpr char kMissingToolkit[] = "libdrift-no-such-toolkit.so.0";

TEST(DialogToolkit, TheInstalledToolkitHasEveryFunctionTheDialogCalls) {
  // A misspelt name or one the toolkit does not export shows here, not on a user's desktop.
  EXPECT_EQ(platform::LoadModeDialogToolkit(), "");
  EXPECT_EQ(platform::LoadModeDialogToolkit(platform::kModeDialogToolkit), "") << "a second load";
}

TEST(DialogToolkit, AMissingOrWrongLibraryIsReportedByName) {
  const std::string missing = platform::LoadModeDialogToolkit(kMissingToolkit);
  EXPECT_NE(missing.find(kMissingToolkit), std::string::npos) << missing;
  // A library that is there but is not the toolkit: the first function it lacks is named.
  EXPECT_EQ(platform::LoadModeDialogToolkit("libz.so.1"), "libz.so.1 has no gtk_disable_setlocale");
}

TEST(DialogToolkit, WithoutTheToolkitTheDialogShowsNothingAndSaysWhy) {
  // Also after the real toolkit was loaded: the library asked for is the one that counts.
  platform::LoadModeDialogToolkit();
  const platform::ModeDialogResult result =
      platform::RunModeDialog({"640x480x32bpp 60Hz", "800x600x32bpp 60Hz"}, 1, Picture(4, 4), kMissingToolkit);
  EXPECT_EQ(result.outcome, platform::DialogOutcome::kNoToolkit);
  EXPECT_EQ(result.selected, -1);
  EXPECT_EQ(result.selectedText, "");
  EXPECT_NE(result.problem.find(kMissingToolkit), std::string::npos) << result.problem;
}

}  // namespace
