// The camera file: value block forms, round trip and malformed input.
#include "assets/camera_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using bytes::ByteWriter;
using namespace camera_file;

TEST(CameraFile, ReadsConstantAndAnimatedBlocks) {
  ByteWriter out;
  out.WriteI32(2);
  out.WriteI32(11);
  out.WriteU8(0);    // constant field of view
  out.WriteF32(0.8f);
  out.WriteU8(7);    // any non-zero flag is a track
  out.WriteI32(2);
  for (float v : {0.0f, 10.0f, 4.0f, 20.0f}) out.WriteF32(v);
  out.WriteI32(12);
  out.WriteU8(1);    // a track with no keys
  out.WriteI32(0);
  out.WriteU8(1);    // a negative count: no keys either
  out.WriteI32(-4);
  std::vector<CameraRecord> cameras;
  std::string error;
  ASSERT_TRUE(Parse(out.Bytes().data(), out.Size(), cameras, error)) << error;
  ASSERT_EQ(cameras.size(), 2u);
  EXPECT_EQ(cameras[0].id, 11);
  EXPECT_FALSE(cameras[0].fieldOfView.animated);
  EXPECT_EQ(cameras[0].fieldOfView.constant, 0.8f);
  EXPECT_TRUE(cameras[0].second.animated);
  ASSERT_EQ(cameras[0].second.keys.size(), 2u);
  EXPECT_EQ(cameras[0].second.keys[1].time, 4);
  EXPECT_EQ(cameras[0].second.keys[1].value, 20);
  EXPECT_TRUE(cameras[1].fieldOfView.animated);
  EXPECT_TRUE(cameras[1].fieldOfView.keys.empty());
  EXPECT_TRUE(cameras[1].second.animated);
}

TEST(CameraFile, WriterAndReaderRoundTripAndEveryTruncationFails) {
  std::vector<CameraRecord> cameras(3);
  for (int i = 0; i < 3; ++i) {
    cameras[i].id = 100 + i;
    cameras[i].fieldOfView.animated = i != 1;
    cameras[i].fieldOfView.constant = i != 1 ? 0.0f : 1.1f;
    for (int k = 0; k < i + 1 && i != 1; ++k) cameras[i].fieldOfView.keys.push_back({1.0f * k, 0.5f + k});
    cameras[i].second.constant = 10.0f + i;
  }
  testing_support::TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteFile(dir.File("cameras.cam"), cameras, error)) << error;
  std::vector<CameraRecord> read;
  ASSERT_TRUE(ReadFile(dir.File("cameras.cam"), read, error)) << error;
  const std::string written = Write(cameras);
  EXPECT_EQ(Write(read), written);
  EXPECT_EQ(read[2].fieldOfView.keys.size(), 3u);
  EXPECT_EQ(read[1].fieldOfView.constant, 1.1f);

  for (std::size_t size = 0; size < written.size(); ++size) {
    const std::string prefix = written.substr(0, size);
    EXPECT_FALSE(Parse(prefix.data(), prefix.size(), read, error)) << size;
    EXPECT_TRUE(read.empty());
  }
  EXPECT_FALSE(ReadFile(dir.File("gone.cam"), read, error));
  EXPECT_NE(error.find("gone.cam"), std::string::npos);
}

TEST(CameraFile, ForgedCountsFail) {
  ByteWriter manyCameras;
  manyCameras.WriteI32(0x7fffffff);
  manyCameras.WriteI32(1);
  manyCameras.WriteU8(0);
  manyCameras.WriteF32(1);
  manyCameras.WriteU8(0);
  manyCameras.WriteF32(1);
  std::vector<CameraRecord> cameras;
  std::string error;
  EXPECT_FALSE(Parse(manyCameras.Bytes().data(), manyCameras.Size(), cameras, error));

  ByteWriter manyKeys;
  manyKeys.WriteI32(1);
  manyKeys.WriteI32(1);
  manyKeys.WriteU8(1);
  manyKeys.WriteI32(0x20000000);  // 8 bytes each: the product overflows 32 bits
  manyKeys.WriteBytes(std::string(16, '\0').data(), 16);
  EXPECT_FALSE(Parse(manyKeys.Bytes().data(), manyKeys.Size(), cameras, error));
  EXPECT_NE(error.find("do not fit"), std::string::npos);
}

}  // namespace
