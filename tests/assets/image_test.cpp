// PNG and JPEG decoding and encoding.
#include "assets/image.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/test_images.h"
#include "support/temp_dir.h"

namespace {

using test_images::PngPicture;
using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<unsigned char> Bytes(const Image& image) {
  return std::vector<unsigned char>(image.pixels.get(), image.pixels.get() + image.Bytes());
}

class PngDecode : public ::testing::Test {
 protected:
  // Decodes picture written as a PNG; fails the test if decoding fails.
  Image Decode(const PngPicture& picture) {
    test_images::WritePng(path_, picture);
    Image image;
    EXPECT_TRUE(DecodePng(path_, image));
    return image;
  }
  TempDir dir_;
  std::string path_ = dir_.File("image.png");
};

TEST_F(PngDecode, RgbRowsComeOutBottomUp) {
  PngPicture picture;
  picture.width = 2;
  picture.height = 2;
  picture.rows = {{255, 0, 0, 255, 0, 0}, {0, 0, 255, 0, 0, 255}};  // red over blue
  const Image image = Decode(picture);
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.bitsPerPixel, 24);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0}));
}

TEST_F(PngDecode, GreyStaysOneBytePerPixelAndRgbaFour) {
  PngPicture grey;
  grey.width = 3;
  grey.height = 2;
  grey.colorType = PNG_COLOR_TYPE_GRAY;
  grey.rows = {{1, 2, 3}, {4, 5, 6}};
  Image image = Decode(grey);
  EXPECT_EQ(image.bitsPerPixel, 8);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{4, 5, 6, 1, 2, 3}));

  PngPicture rgba;
  rgba.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.rows = {{10, 20, 30, 40}};
  image = Decode(rgba);
  EXPECT_EQ(image.bitsPerPixel, 32);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{10, 20, 30, 40}));
}

TEST_F(PngDecode, KindsWithoutATextureLayoutAreConverted) {
  PngPicture palette;
  palette.width = 2;
  palette.colorType = PNG_COLOR_TYPE_PALETTE;
  palette.palette = {{9, 8, 7}, {200, 100, 50}};
  palette.rows = {{1, 0}};
  Image image = Decode(palette);
  EXPECT_EQ(image.bitsPerPixel, 24);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{200, 100, 50, 9, 8, 7}));

  palette.paletteAlpha = {0, 128};
  image = Decode(palette);
  EXPECT_EQ(image.bitsPerPixel, 32);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{200, 100, 50, 128, 9, 8, 7, 0}));

  PngPicture greyAlpha;
  greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  greyAlpha.rows = {{77, 33}};
  image = Decode(greyAlpha);
  EXPECT_EQ(image.bitsPerPixel, 32);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{77, 77, 77, 33}));

  PngPicture deep;  // 16 bits per channel, big-endian in the file
  deep.bitDepth = 16;
  deep.rows = {{0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00}};
  image = Decode(deep);
  EXPECT_EQ(image.bitsPerPixel, 24);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{255, 128, 0}));

  PngPicture bits;  // 1-bit grey, interlaced
  bits.width = 9;
  bits.height = 2;
  bits.colorType = PNG_COLOR_TYPE_GRAY;
  bits.bitDepth = 1;
  bits.interlaced = true;
  bits.rows = {{0xAA, 0x80}, {0x00, 0x00}};
  image = Decode(bits);
  EXPECT_EQ(image.bitsPerPixel, 8);
  EXPECT_EQ(Bytes(image), (std::vector<unsigned char>{0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                                     255, 0, 255, 0, 255, 0, 255, 0, 255}));
}

TEST_F(PngDecode, BrokenFilesFailWithALineNamingThemAndLeaveTheImageAlone) {
  PngPicture picture;
  picture.width = 64;
  picture.height = 64;
  picture.rows.assign(64, std::vector<png_byte>(64 * 3, 0x5A));
  test_images::WritePng(path_, picture);
  const std::string good = ReadFile(path_);

  std::vector<std::string> broken = {
      "",                                    // empty
      "not a png at all",                    // wrong signature
      good.substr(0, good.size() / 2),       // cut off inside the pixel data
      good.substr(0, 30),                    // cut off inside the header
  };
  std::string badCrc = good;
  badCrc[29] = static_cast<char>(badCrc[29] ^ 0x01);  // IHDR's checksum
  broken.push_back(badCrc);
  std::string huge = good;  // IHDR width 0x00010000 = 65536, beyond the limit
  huge[16] = 0;
  huge[17] = 1;
  huge[18] = 0;
  huge[19] = 0;
  broken.push_back(huge);

  for (const std::string& bytes : broken) {
    WriteFile(path_, bytes);
    Image image;
    image.width = 7;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodePng(path_, image)) << bytes.size() << " bytes";
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("can't decode " + path_));
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.pixels, nullptr);
  }

  Image image;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(DecodePng(dir_.File("missing.png"), image));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open " + dir_.File("missing.png") + "\n");
}

TEST(PngEncode, WritesWhatTheDecoderReadsBack) {
  TempDir dir;
  for (const int bpp : {8, 24, 32}) {
    for (const PngCompression compression : {PngCompression::kSmallest, PngCompression::kFast}) {
      Image image = Image::Allocate(5, 3, bpp);  // odd row lengths on purpose
      for (size_t i = 0; i < image.Bytes(); ++i) image.pixels[i] = static_cast<unsigned char>(i * 7);
      const std::string path = dir.File("out" + std::to_string(bpp) + ".png");
      ASSERT_TRUE(EncodePng(path, image, compression));
      Image back;
      ASSERT_TRUE(DecodePng(path, back));
      EXPECT_EQ(back.width, 5);
      EXPECT_EQ(back.height, 3);
      EXPECT_EQ(back.bitsPerPixel, bpp);
      EXPECT_EQ(Bytes(back), Bytes(image));
    }
  }
  Image odd = Image::Allocate(2, 2, 16);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(EncodePng(dir.File("odd.png"), odd));
  EXPECT_FALSE(EncodePng(dir.File("no/such/folder.png"), Image::Allocate(1, 1, 24)));
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(testing_support::FileExists(dir.File("odd.png")));
}

// JPEG is lossy: colours are compared with a tolerance.
void ExpectPixelNear(const Image& image, int x, int y, int r, int g, int b) {
  const unsigned char* p = image.pixels.get() + (static_cast<size_t>(y) * image.width + x) * 3;
  EXPECT_NEAR(p[0], r, 6) << "at " << x << "," << y;
  EXPECT_NEAR(p[1], g, 6) << "at " << x << "," << y;
  EXPECT_NEAR(p[2], b, 6) << "at " << x << "," << y;
}

TEST(JpegDecode, ColourGreyAndCmykFilesComeOutAsBottomUpRgb) {
  TempDir dir;
  const int w = 16, h = 16;
  std::vector<unsigned char> rgb, grey, cmyk;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool top = y < h / 2;  // red over blue; light over dark
      rgb.insert(rgb.end(), {static_cast<unsigned char>(top ? 255 : 0), 0,
                             static_cast<unsigned char>(top ? 0 : 255)});
      grey.push_back(top ? 200 : 40);
      // Adobe CMYK, inverted: 255 means no ink. Red over green.
      cmyk.insert(cmyk.end(), {static_cast<unsigned char>(top ? 255 : 0), static_cast<unsigned char>(top ? 0 : 255),
                               0, 255});
    }
  }
  test_images::WriteJpeg(dir.File("rgb.jpg"), w, h, 3, rgb);
  test_images::WriteJpeg(dir.File("grey.jpg"), w, h, 1, grey);
  test_images::WriteJpeg(dir.File("cmyk.jpg"), w, h, 4, cmyk);

  Image image;
  ASSERT_TRUE(DecodeJpeg(dir.File("rgb.jpg"), image));
  EXPECT_EQ(image.width, w);
  EXPECT_EQ(image.height, h);
  EXPECT_EQ(image.bitsPerPixel, 24);
  ExpectPixelNear(image, 3, 0, 0, 0, 255);      // first row in memory: bottom, blue
  ExpectPixelNear(image, 3, h - 1, 255, 0, 0);  // last row: top, red

  ASSERT_TRUE(DecodeJpeg(dir.File("grey.jpg"), image));
  EXPECT_EQ(image.bitsPerPixel, 24);
  ExpectPixelNear(image, 0, 0, 40, 40, 40);
  ExpectPixelNear(image, 0, h - 1, 200, 200, 200);

  ASSERT_TRUE(DecodeJpeg(dir.File("cmyk.jpg"), image));
  ExpectPixelNear(image, 0, 0, 0, 255, 0);
  ExpectPixelNear(image, 0, h - 1, 255, 0, 0);
}

TEST(JpegDecode, FailuresLeaveTheCallersValuesAndSayWhy) {
  TempDir dir;
  Image image;
  image.width = 3;
  image.height = 4;
  image.bitsPerPixel = 99;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(DecodeJpeg(dir.File("none.jpg"), image));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open " + dir.File("none.jpg") + "\n");

  test_images::WriteSolidJpeg(dir.File("good.jpg"), 8, 8, 1, 2, 3);
  const std::string good = ReadFile(dir.File("good.jpg"));
  std::string huge = good;  // SOF0 height and width forged to 65000 x 65000
  const size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = huge[sof + 7] = static_cast<char>(0xFD);
  huge[sof + 6] = huge[sof + 8] = static_cast<char>(0xE8);
  // A file cut short in its picture data: the library would fill the rest with grey.
  std::vector<unsigned char> noise(64 * 64 * 3);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<unsigned char>(i * 37 % 251);
  test_images::WriteJpeg(dir.File("noise.jpg"), 64, 64, 3, noise);
  const std::string noisy = ReadFile(dir.File("noise.jpg"));
  const std::string cutShort = noisy.substr(0, noisy.size() * 3 / 5);
  for (const std::string& bytes : {std::string("GIF89a not a jpeg"), good.substr(0, 40), huge, cutShort}) {
    WriteFile(dir.File("bad.jpg"), bytes);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodeJpeg(dir.File("bad.jpg"), image));
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("can't decode " + dir.File("bad.jpg")));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.bitsPerPixel, 99);
  }
  WriteFile(dir.File("bad.jpg"), "GIF89a not a jpeg");
  testing::internal::CaptureStderr();
  DecodeJpeg(dir.File("bad.jpg"), image);
  // The library's own message comes first, through its error manager.
  EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("Not a JPEG file"));
}

TEST(JpegEncode, WritesWhatTheDecoderReadsBack) {
  TempDir dir;
  Image image = Image::Allocate(24, 16, 24);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 24; ++x) {
      unsigned char* p = image.pixels.get() + (y * 24 + x) * 3;
      p[0] = y < 8 ? 250 : 10;  // bottom half light red, top dark
      p[1] = 60;
      p[2] = x < 8 ? 30 : 220;
    }
  }
  ASSERT_TRUE(EncodeJpeg(dir.File("out.jpg"), image, 95));
  Image back;
  ASSERT_TRUE(DecodeJpeg(dir.File("out.jpg"), back));
  EXPECT_EQ(back.width, 24);
  EXPECT_EQ(back.height, 16);
  for (const auto& [x, y] : {std::pair{2, 2}, {20, 3}, {3, 13}, {21, 14}}) {
    const unsigned char* p = image.pixels.get() + (y * 24 + x) * 3;
    ExpectPixelNear(back, x, y, p[0], p[1], p[2]);
  }

  Image grey = Image::Allocate(8, 8, 8);
  std::fill(grey.pixels.get(), grey.pixels.get() + grey.Bytes(), 128);
  ASSERT_TRUE(EncodeJpeg(dir.File("grey.jpg"), grey));
  ASSERT_TRUE(DecodeJpeg(dir.File("grey.jpg"), back));
  ExpectPixelNear(back, 4, 4, 128, 128, 128);

  testing::internal::CaptureStderr();
  EXPECT_FALSE(EncodeJpeg(dir.File("rgba.jpg"), Image::Allocate(2, 2, 32)));
  testing::internal::GetCapturedStderr();
}

}  // namespace
