// The robot's rest frame and pose animation files.
#include "assets/robot_pose_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using bytes::ByteWriter;
using namespace robot_pose_file;

Joints MakeJoints(float base) {
  Joints joints;
  for (int i = 0; i < kJointCount; ++i) joints.joints[i] = sm::Vec3(base + i, base - i, base * i + 0.5f);
  return joints;
}

TEST(RobotPoseFile, RestFrameIsTwentyJointsWithZAsStored) {
  ByteWriter out;
  for (int i = 0; i < kJointCount * 3; ++i) out.WriteF32(static_cast<float>(i));
  out.WriteBytes("trailing", 8);  // ignored
  Joints joints;
  std::string error;
  ASSERT_TRUE(ParseRestFrame(out.Bytes().data(), out.Size(), joints, error)) << error;
  EXPECT_EQ(joints.joints[0].x, 0);
  EXPECT_EQ(joints.joints[3].z, 11);
  EXPECT_EQ(joints.joints[19].z, 59);
  EXPECT_EQ(joints.joints[19].w, 1);

  const std::string shortFrame = out.Bytes().substr(0, kJointsBytes - 1);
  EXPECT_FALSE(ParseRestFrame(shortFrame.data(), shortFrame.size(), joints, error));
  EXPECT_NE(error.find("240"), std::string::npos);
}

TEST(RobotPoseFile, AnimationKeysNegateZAndKeepFileOrder) {
  ByteWriter out;
  out.WriteI32(2);
  for (float time : {3.0f, 1.0f}) {
    out.WriteF32(time);
    for (int i = 0; i < kJointCount; ++i) {
      out.WriteF32(time);
      out.WriteF32(static_cast<float>(i));
      out.WriteF32(2.0f * i);
    }
  }
  std::vector<PoseKey> keys;
  std::string error;
  ASSERT_TRUE(ParseAnimation(out.Bytes().data(), out.Size(), keys, error)) << error;
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].time, 3);
  EXPECT_EQ(keys[1].time, 1);
  EXPECT_EQ(keys[0].frame.joints[5].x, 3);
  EXPECT_EQ(keys[0].frame.joints[5].y, 5);
  EXPECT_EQ(keys[0].frame.joints[5].z, -10);

  for (const std::int32_t none : {0, -8}) {
    ByteWriter empty;
    empty.WriteI32(none);
    EXPECT_TRUE(ParseAnimation(empty.Bytes().data(), empty.Size(), keys, error));
    EXPECT_TRUE(keys.empty());
  }
}

TEST(RobotPoseFile, WritersAndReadersRoundTrip) {
  testing_support::TempDir dir;
  std::string error;
  const Joints rest = MakeJoints(-3);
  ASSERT_TRUE(WriteRestFrameFile(dir.File("frame"), rest, error)) << error;
  Joints readRest;
  ASSERT_TRUE(ReadRestFrame(dir.File("frame"), readRest, error)) << error;
  EXPECT_EQ(WriteRestFrame(readRest), WriteRestFrame(rest));
  EXPECT_EQ(readRest.joints[7].z, rest.joints[7].z);

  std::vector<PoseKey> keys(3);
  for (int k = 0; k < 3; ++k) {
    keys[k].time = 0.25f * k;
    keys[k].frame = MakeJoints(static_cast<float>(k));
  }
  keys[1].frame.joints[2].z = -0.0f;
  ASSERT_TRUE(WriteAnimationFile(dir.File("run_anim"), keys, error)) << error;
  std::vector<PoseKey> readKeys;
  ASSERT_TRUE(ReadAnimation(dir.File("run_anim"), readKeys, error)) << error;
  EXPECT_EQ(WriteAnimation(readKeys), WriteAnimation(keys));
  EXPECT_EQ(readKeys[2].frame.joints[4].z, keys[2].frame.joints[4].z);
  EXPECT_EQ(readKeys.size() * kKeyBytes + 4, testing_support::ReadFile(dir.File("run_anim")).size());

  EXPECT_FALSE(ReadAnimation(dir.File("dance_anim"), readKeys, error));
  EXPECT_NE(error.find("dance_anim"), std::string::npos);
  EXPECT_FALSE(ReadRestFrame(dir.File("nothing"), readRest, error));
}

TEST(RobotPoseFile, ShortOrForgedAnimationsFail) {
  std::vector<PoseKey> keys(2);
  const std::string full = WriteAnimation(keys);
  std::string error;
  std::vector<PoseKey> read;
  for (std::size_t size = 0; size < full.size(); ++size) {
    const std::string prefix = full.substr(0, size);
    EXPECT_FALSE(ParseAnimation(prefix.data(), prefix.size(), read, error)) << size;
    EXPECT_TRUE(read.empty());
  }
  ByteWriter forged;
  forged.WriteI32(0x7fffffff);
  forged.WriteBytes(full.data() + 4, kKeyBytes);
  EXPECT_FALSE(ParseAnimation(forged.Bytes().data(), forged.Size(), read, error));
  EXPECT_NE(error.find("2147483647 keys"), std::string::npos);
}

}  // namespace
