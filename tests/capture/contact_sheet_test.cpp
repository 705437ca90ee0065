#include "capture/contact_sheet.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Rgb = std::array<int, 3>;

// A frame whose top half is one colour and bottom half another.
Image TwoBands(int width, int height, Rgb top, Rgb bottom) {
  Image image = Image::Allocate(width, height, 24);
  for (int row = 0; row < height; ++row) {  // bottom-up
    const Rgb& colour = row < height / 2 ? bottom : top;
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) image.pixels[(static_cast<std::size_t>(row) * width + x) * 3 + c] =
          static_cast<unsigned char>(colour[c]);
    }
  }
  return image;
}

// The sheet's pixel at (x, y), y counted from the top.
Rgb At(const ContactSheet& sheet, int x, int y) {
  const Image& image = sheet.Picture();
  const unsigned char* p = image.pixels.get() + (static_cast<std::size_t>(image.height - 1 - y) * image.width + x) * 3;
  return {p[0], p[1], p[2]};
}

TEST(ContactSheet, TwentyFourWideFramesMakeSixByFourThumbnails) {
  const ContactSheet sheet(24, 1280, 720);
  EXPECT_EQ(sheet.Columns(), 6);
  EXPECT_EQ(sheet.Rows(), 4);
  EXPECT_EQ(sheet.ThumbnailWidth(), 320);
  EXPECT_EQ(sheet.ThumbnailHeight(), 180);
  const int gap = ContactSheet::kGap;
  EXPECT_EQ(sheet.Picture().width, gap + 6 * (320 + gap));
  EXPECT_EQ(sheet.Picture().height, gap + 4 * (180 + ContactSheet::kLabelBand + gap));

  const ContactSheet one(1, 160, 96);
  EXPECT_EQ(one.Columns(), 1);
  EXPECT_EQ(one.Rows(), 1);
  EXPECT_EQ(one.ThumbnailWidth(), 160) << "small frames are not enlarged";
  EXPECT_EQ(one.ThumbnailHeight(), 96);
}

TEST(ContactSheet, AFrameLandsUprightInItsCellWithItsLabelBelow) {
  ContactSheet sheet(5, 64, 32);  // three columns, two rows of 64 × 32
  const Rgb red = {250, 0, 0};
  const Rgb blue = {0, 0, 250};
  const Rgb background = At(sheet, 0, 0);
  std::string labelled;
  ASSERT_EQ(sheet.Columns(), 3);
  sheet.Place(3, TwoBands(64, 32, red, blue), "t = 1.000 s", [&](const std::string& text, int, LabelBitmap& label) {
    labelled = text;
    label.width = 10;
    label.height = 4;
    label.coverage.assign(40, 255);
    return true;
  });
  EXPECT_EQ(labelled, "t = 1.000 s");

  // Cell 3 is the first of the second row.
  const int left = ContactSheet::kGap;
  const int top = ContactSheet::kGap + 32 + ContactSheet::kLabelBand + ContactSheet::kGap;
  EXPECT_EQ(At(sheet, left + 5, top + 2), red) << "the frame's top at the cell's top";
  EXPECT_EQ(At(sheet, left + 60, top + 29), blue);
  EXPECT_EQ(At(sheet, left + 5, ContactSheet::kGap + 2), background) << "cell 0 is still empty";
  // The label is centred in the band under the thumbnail, in a light colour.
  const Rgb text = At(sheet, left + 32, top + 32 + ContactSheet::kLabelBand / 2);
  EXPECT_GT(text[0], 200);
  EXPECT_EQ(At(sheet, left + 2, top + 32 + ContactSheet::kLabelBand / 2), background);
}

TEST(ContactSheet, ThumbnailsAverageThePixelsTheyCover) {
  ContactSheet sheet(1, 1280, 720);
  Image frame = Image::Allocate(1280, 720, 24);
  // Alternating black and white columns average to mid grey.
  for (int row = 0; row < 720; ++row) {
    for (int x = 0; x < 1280; ++x) {
      for (int c = 0; c < 3; ++c) frame.pixels[(static_cast<std::size_t>(row) * 1280 + x) * 3 + c] = x % 2 ? 255 : 0;
    }
  }
  sheet.Place(0, frame, "", {});
  const Rgb grey = At(sheet, ContactSheet::kGap + 100, ContactSheet::kGap + 90);
  EXPECT_EQ(grey, (Rgb{128, 128, 128}));
}

TEST(ContactSheet, FramesOfAnotherSizeOrAMissingCellAreIgnored) {
  ContactSheet sheet(2, 64, 32);
  const Rgb background = At(sheet, ContactSheet::kGap + 1, ContactSheet::kGap + 1);
  sheet.Place(0, TwoBands(32, 32, {255, 0, 0}, {255, 0, 0}), "", {});
  sheet.Place(5, TwoBands(64, 32, {255, 0, 0}, {255, 0, 0}), "", {});
  EXPECT_EQ(At(sheet, ContactSheet::kGap + 1, ContactSheet::kGap + 1), background);
}

TEST(ContactSheet, LabelsGiveTheTimeInSeconds) {
  EXPECT_EQ(SheetLabel(123.45), "t = 123.450 s");
  EXPECT_EQ(SheetLabel(0.0), "t = 0.000 s");
}

}  // namespace
