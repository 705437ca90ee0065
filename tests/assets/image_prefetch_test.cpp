// Pictures decoded ahead on worker threads come back exactly as the loader's own
// decode gives them, whichever order they are asked for in.
#include "assets/image_prefetch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "assets/texture.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

class ImagePrefetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 12; ++i) {
      const bool png = i % 3 != 0;
      Image image = Image::Allocate(8 + i, 5, png && i % 2 ? 32 : 24);
      for (std::size_t b = 0; b < image.Bytes(); ++b) image.pixels[b] = static_cast<unsigned char>(b * 7 + i);
      const std::string path = dir_.File("picture" + std::to_string(i) + (png ? ".png" : ".jpg"));
      ASSERT_TRUE(png ? EncodePng(path, image) : EncodeJpeg(path, image));
      paths_.push_back(path);
    }
  }

  static void ExpectSame(const std::string& path, const Image& got) {
    Image direct;
    ASSERT_TRUE(DecodeTextureFile(path, direct)) << path;
    ASSERT_EQ(got.width, direct.width) << path;
    ASSERT_EQ(got.height, direct.height) << path;
    ASSERT_EQ(got.bitsPerPixel, direct.bitsPerPixel) << path;
    EXPECT_EQ(std::memcmp(got.pixels.get(), direct.pixels.get(), direct.Bytes()), 0) << path;
  }

  TempDir dir_;
  std::vector<std::string> paths_;
};

TEST_F(ImagePrefetchTest, GivesEveryPictureInOrderOutOfOrderAndAgain) {
  for (int workers : {1, 3}) {
    ImagePrefetch prefetch(paths_, workers, 2);
    for (std::size_t i = 0; i < paths_.size(); ++i) {
      // Every third one is asked for out of turn, the rest in order.
      const std::string& path = paths_[i % 3 == 0 ? paths_.size() - 1 - i : i];
      Image image;
      ASSERT_TRUE(prefetch.Decode(path, image)) << path;
      ExpectSame(path, image);
    }
    Image again;
    ASSERT_TRUE(prefetch.Decode(paths_[1], again)) << "a second request decodes the file again";
    ExpectSame(paths_[1], again);
  }
}

TEST_F(ImagePrefetchTest, AFileThatDoesNotDecodeFailsAsTheDecoderDoes) {
  const std::string broken = dir_.File("broken.png");
  std::ofstream(broken) << "not a picture";
  std::vector<std::string> paths = {broken, dir_.File("missing.png"), paths_[1]};
  ImagePrefetch prefetch(paths, 2);
  Image image;
  EXPECT_FALSE(prefetch.Decode(broken, image));
  EXPECT_FALSE(prefetch.Decode(dir_.File("missing.png"), image));
  ASSERT_TRUE(prefetch.Decode(paths_[1], image)) << "a failure does not stop the rest";
  ExpectSame(paths_[1], image);
  EXPECT_FALSE(prefetch.Decode(dir_.File("never-listed.png"), image));
}

TEST_F(ImagePrefetchTest, EndingALoadEarlyDropsWhatNobodyTook) {
  // Loading stops after the first picture (a stop request): the destructor must not
  // wait for the rest, nor leave a worker behind.
  ImagePrefetch prefetch(paths_, 2, 3);
  Image image;
  ASSERT_TRUE(prefetch.Decode(paths_[0], image));
}

TEST(ImagePrefetch, AnEmptyListStartsNoWorker) {
  ImagePrefetch prefetch({}, 4);
  Image image;
  EXPECT_FALSE(prefetch.Decode("/no/such/file.png", image));
}

}  // namespace
