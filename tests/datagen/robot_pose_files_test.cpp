// The robot's pose files as the program reads them: rigid bones in every frame, frames
// the program's adjustment leaves where they are, keys dense and long enough for every
// moment the timeline shows, and no bone the part frames cannot take.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "anim/show_times.h"
#include "assets/robot_pose_file.h"
#include "datagen/robot/motions.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/robot_engine.h"

namespace {

using namespace datagen::robot;
using robot_testing::Loaded;
using robot_testing::Track;

struct Bone {
  int from, to;
  float length;
};

const Bone kBones[] = {
    {kNeck, kHeadTop, kHead},           {kHips, kNeck, kTorso},
    {kLeftShoulder, kLeftElbow, kUpperArm},   {kLeftElbow, kLeftHand, kForearm},
    {kRightShoulder, kRightElbow, kUpperArm}, {kRightElbow, kRightHand, kForearm},
    {kLeftHip, kLeftKnee, kThigh},      {kLeftKnee, kLeftAnkle, kTibia},   {kLeftAnkle, kLeftToes, kFoot},
    {kRightHip, kRightKnee, kThigh},    {kRightKnee, kRightAnkle, kTibia}, {kRightAnkle, kRightToes, kFoot},
};

struct AnimationFacts {
  int index;
  const char* name;
  float shownKeySpacing;  // the longest key gap that still gives every 60 Hz frame its own key
};

const AnimationFacts kAnimations[] = {
    {Robot::kReleasing, "releasing", 2.5f / 60.0f},
    {Robot::kRun, "run", 2.0f / 60.0f},
    {Robot::kBreakingWall, "breaking wall", 1.0f / 60.0f},
    {Robot::kDance, "dance", 1.0f / 60.0f},
};

float Distance(const sm::Vec3& a, const sm::Vec3& b) { return sm::Length(Minus(a, b)); }

// Every frame of the rest frame and the four animations, as the robot adjusted them.
std::vector<const Robot::Frame*> AllFrames() {
  std::vector<const Robot::Frame*> frames;
  for (const AnimationFacts& animation : kAnimations) {
    for (const auto& key : Track(animation.index).Keys()) frames.push_back(key.value);
  }
  return frames;
}

TEST(RobotPoseFiles, EveryFrameOfEveryFileHasTheSkeletonsBoneLengths) {
  ASSERT_TRUE(Loaded().Ready());
  Robot::Frame rest;
  std::string error;
  ASSERT_TRUE(robot_pose_file::ReadRestFrame(Loaded().Folder() + "/Robot/frame", rest, error)) << error;
  Robot::AdjustFrame(rest);
  std::vector<const Robot::Frame*> frames = AllFrames();
  frames.push_back(&rest);
  for (const Robot::Frame* frame : frames) {
    for (const Bone& bone : kBones) {
      ASSERT_NEAR(Distance(frame->joints[bone.from], frame->joints[bone.to]), bone.length, 0.02f)
          << "bone " << bone.from << "-" << bone.to;
    }
  }
}

TEST(RobotPoseFiles, TheProgramsAdjustmentMovesNoJoint) {
  for (const Robot::AnimationFile& file : Robot::kAnimationFiles) {
    std::vector<robot_pose_file::PoseKey> keys;
    std::string error;
    ASSERT_TRUE(robot_pose_file::ReadAnimation(Loaded().Folder() + "/" + file.file, keys, error)) << error;
    for (const robot_pose_file::PoseKey& key : keys) {
      Robot::Frame adjusted = key.frame;
      Robot::AdjustFrame(adjusted);
      for (int j = 0; j < kJointCount; ++j) {
        ASSERT_LT(Distance(adjusted.joints[j], key.frame.joints[j]), 1e-3f)
            << file.file << " at " << key.time << ", joint " << j;
      }
    }
  }
}

TEST(RobotPoseFiles, KeysAscendAndEveryShownFrameHasItsOwn) {
  for (const AnimationFacts& animation : kAnimations) {
    const auto& keys = Track(animation.index).Keys();
    ASSERT_GT(keys.size(), 1u) << animation.name;
    EXPECT_EQ(keys.front().time, 0.0f) << animation.name;
    for (std::size_t i = 1; i < keys.size(); ++i) {
      ASSERT_GT(keys[i].time, keys[i - 1].time) << animation.name;
      ASSERT_LE(keys[i].time - keys[i - 1].time, animation.shownKeySpacing + 1e-4f) << animation.name << " at " << keys[i].time;
    }
  }
}

TEST(RobotPoseFiles, EachAnimationLastsAsLongAsTheTimelineShowsIt) {
  // Releasing is shown for 10.1 s of its time and must not loop back into the limp pose.
  EXPECT_GT(Loaded().Robot().LastKeyTime(Robot::kReleasing), 10.1f);
  // The run's last key closes the loop: it repeats the first at the period.
  const auto& run = Track(Robot::kRun).Keys();
  EXPECT_FLOAT_EQ(run.back().time, metrics::kRunPeriod);
  for (int j = 0; j < kJointCount; ++j) EXPECT_LT(Distance(run.back().value->joints[j], run.front().value->joints[j]), 1e-4f);
  EXPECT_FLOAT_EQ(Loaded().Robot().LastKeyTime(Robot::kBreakingWall), metrics::kBreakLength);
  // The dance must reach the end of the music.
  EXPECT_GE(Loaded().Robot().LastKeyTime(Robot::kDance), show::AsFloat(show::kMusicEnd - show::kDanceStart));
}

TEST(RobotPoseFiles, NoArmOrFootBoneIsCloseToVertical) {
  // The arm and foot parts are placed by look-at frames, which have no sideways axis for
  // a vertical bone and spin quickly near one.
  const Bone lookAtBones[] = {{kLeftShoulder, kLeftElbow, 0},  {kLeftElbow, kLeftHand, 0},
                              {kRightShoulder, kRightElbow, 0}, {kRightElbow, kRightHand, 0},
                              {kLeftAnkle, kLeftToes, 0},       {kRightAnkle, kRightToes, 0}};
  for (const Robot::Frame* frame : AllFrames()) {
    for (const Bone& bone : lookAtBones) {
      const sm::Vec3 d = Minus(frame->joints[bone.to], frame->joints[bone.from]);
      const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
      ASSERT_GT(horizontal / sm::Length(d), 0.03f) << "bone " << bone.from << "-" << bone.to;
    }
  }
}

TEST(RobotPoseFiles, AreTheSameBytesOnEveryRun) {
  const std::vector<PoseFile> first = PoseFiles();
  const std::vector<PoseFile> second = PoseFiles();
  ASSERT_EQ(first.size(), 5u);
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].path;
}

}  // namespace
