// The robot: its pose files read into adjusted frames, the failures of a missing or
// damaged file or part, and the placing of the twelve parts from a pose.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "scenes/frames.h"
#include "scenes/log_capture.h"
#include "scenes/robot.h"
#include "scenes/scene_content.h"

namespace {

using namespace scene_testing;

void ExpectNear(const sm::Vec3& actual, const sm::Vec3& expected, float tolerance = 1e-3f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectMatrixNear(const sm::Mat4& actual, const sm::Mat4& expected, float tolerance = 1e-3f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.a[i], expected.a[i], tolerance) << "element " << i;
}

TEST(RobotFrame, AdjustingMovesTheHipsToTheOriginThenPlacesBothLegs) {
  Robot::Frame frame = StandingFrame();
  for (sm::Vec3& joint : frame.joints) joint = Plus(joint, sm::Vec3(5, 6, 7));
  const Robot::Frame before = frame;
  Robot::AdjustFrame(frame);
  ExpectNear(frame.joints[3], sm::Vec3(0, 0, 0));
  // Everything outside the legs is shifted by (-5, -6, -7).
  for (int j = 0; j < 12; ++j) ExpectNear(frame.joints[j], Minus(before.joints[j], sm::Vec3(5, 6, 7)));
  // The legs are moved as rigid chains.
  for (int j = 13; j < 16; ++j) {
    ExpectNear(Minus(frame.joints[j], frame.joints[12]), Minus(before.joints[j], before.joints[12]));
    ExpectNear(Minus(frame.joints[j + 4], frame.joints[16]), Minus(before.joints[j + 4], before.joints[16]));
  }
}

TEST(RobotFrame, TheRightHipGoesTwentyAndTheLeftFortyTowardsTheirShoulders) {
  Robot::Frame frame = StandingFrame();
  frame.joints[3] = sm::Vec3(0, 0, 0);
  frame.joints[1] = sm::Vec3(0, 300, 0);
  frame.joints[8] = sm::Vec3(3, 309, 4);  // j8 - j1 = (3, 9, 4): d1 = (0.6, 0, 0.8)
  frame.joints[4] = sm::Vec3(0, 280, -10);  // d2 = (0, 0, -1)
  const sm::Vec3 kneeFromHip = Minus(frame.joints[17], frame.joints[16]);
  Robot::AdjustFrame(frame);
  ExpectNear(frame.joints[16], sm::Vec3(12, 40, 46));
  ExpectNear(frame.joints[17], Plus(sm::Vec3(12, 40, 46), kneeFromHip));
  ExpectNear(frame.joints[12], sm::Vec3(0, 40, -10));
}

TEST(RobotFrame, ShouldersAboveTheNeckLeaveTheLegAtTheFixedOffset) {
  Robot::Frame frame = StandingFrame();
  frame.joints[8] = frame.joints[1];  // no horizontal direction: d1 stays zero
  Robot::AdjustFrame(frame);
  ExpectNear(frame.joints[16], sm::Vec3(0, 40, 30));
}

TEST(RobotLoopTime, WrapsByTheLengthAndGivesZeroForAnAnimationWithoutKeys) {
  EXPECT_FLOAT_EQ(Robot::LoopTime(3.5f, 1.5f), 0.5f);
  EXPECT_FLOAT_EQ(Robot::LoopTime(-0.5f, 2.0f), -0.5f);
  EXPECT_EQ(Robot::LoopTime(12.0f, 0.0f), 0.0f);
}

class RobotSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    AddRobotParts(world_);
    WriteRobotFiles(folder());
  }
  std::string folder() const { return log_.Dir().Path(); }
  std::string RobotFile(const char* name) const { return folder() + "/Robot/" + name; }

  LogCapture log_;
  FakeWorld world_;
  Robot::Character& robot_ = world_.robot;
};

TEST_F(RobotSetup, ReadsTheRestFrameAndFourAnimationsIntoTheirIndices) {
  ASSERT_TRUE(robot_.Setup(world_, folder() + "/"));
  EXPECT_TRUE(log_.Lines().empty());
  ASSERT_EQ(robot_.Models().size(), 12u);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(robot_.Models()[i], world_.FindModel(Robot::kPartNames[i].model));
  EXPECT_EQ(robot_.Models()[2], world_.FindModel("robot_shoulder_right"));
  EXPECT_EQ(robot_.PoseTrack(Robot::kUnused), nullptr);
  for (int index : {0, 1, 3, 4}) {
    ASSERT_NE(robot_.PoseTrack(index), nullptr);
    EXPECT_FLOAT_EQ(robot_.LastKeyTime(index), DefaultShape(index).length);
  }
  // The rest frame is current until the first pose; the files' z comes back as written.
  ASSERT_NE(robot_.CurrentFrame(), nullptr);
  ExpectNear(robot_.CurrentFrame()->joints[0], StandingFrame().joints[0]);
  robot_.animationIndex = Robot::kBreakingWall;
  robot_.Pose(1.0f);
  EXPECT_FLOAT_EQ(robot_.CurrentFrame()->joints[2].x, 3.0f);
  EXPECT_NEAR(robot_.CurrentFrame()->joints[2].y, 1.0f, 1e-5f);
  EXPECT_NEAR(robot_.CurrentFrame()->joints[6].z, StandingFrame().joints[6].z, 1e-4f);
}

TEST_F(RobotSetup, AFolderWithoutATrailingSeparatorWorksToo) { EXPECT_TRUE(robot_.Setup(world_, folder())); }

TEST_F(RobotSetup, AMissingPartModelFailsWithOneLineNamingIt) {
  world_.Remove("robot_tibia_left");
  EXPECT_FALSE(robot_.Setup(world_, folder()));
  ExpectOneErrorNaming(log_, "robot_tibia_left");
}

TEST_F(RobotSetup, MissingOrShortFilesFailWithOneLineNamingTheFile) {
  struct Case {
    const char* file;
    std::string bytes;  // empty: the file is removed
  };
  const std::string oneKeyShort = robot_pose_file::WriteAnimation(TaggedKeys(1, {1.0f, 0.5f})).substr(0, 300);
  const Case cases[] = {
      {"frame", ""},
      {"frame", std::string(239, '\0')},
      {"dance_anim", ""},
      {"run_anim", oneKeyShort},
      {"releasing_anim", std::string(3, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " with " + std::to_string(c.bytes.size()) + " bytes");
    WriteRobotFiles(folder());
    if (c.bytes.empty()) {
      std::remove(RobotFile(c.file).c_str());
    } else {
      testing_support::WriteFile(RobotFile(c.file), c.bytes);
    }
    LogCapture log;
    Robot::Character robot;
    EXPECT_FALSE(robot.Setup(world_, folder() + "/"));
    ExpectOneErrorNaming(log, std::string("Robot/") + c.file);
  }
}

TEST_F(RobotSetup, AnAnimationWithoutKeysKeepsTheCurrentFrameAndHasLengthZero) {
  testing_support::WriteFile(RobotFile("dance_anim"), std::string(4, '\0'));  // N = 0
  ASSERT_TRUE(robot_.Setup(world_, folder()));
  EXPECT_EQ(robot_.PoseTrack(Robot::kDance)->KeyCount(), 0);
  EXPECT_EQ(robot_.LastKeyTime(Robot::kDance), 0.0f);
  robot_.animationIndex = Robot::kRun;
  robot_.Pose(0.5f);
  const Robot::Frame* running = robot_.CurrentFrame();
  robot_.animationIndex = Robot::kDance;
  robot_.Pose(Robot::LoopTime(3.0f, robot_.LastKeyTime(Robot::kDance)));
  EXPECT_EQ(robot_.CurrentFrame(), running);
  // Index 2 and indices out of range have no animation either.
  robot_.animationIndex = Robot::kUnused;
  robot_.Pose(1.0f);
  robot_.animationIndex = 17;
  robot_.Pose(1.0f);
  EXPECT_EQ(robot_.CurrentFrame(), running);
}

TEST_F(RobotSetup, ARepeatedKeyTimeKeepsTheLaterFrame) {
  std::vector<robot_pose_file::PoseKey> keys = TaggedKeys(Robot::kRun, {1.0f, 0.5f});
  robot_pose_file::PoseKey repeat = keys[1];
  repeat.frame.joints[2] = sm::Vec3(99, 99, 0);
  keys.push_back(repeat);  // time 0.5 again, last in the file
  std::string error;
  ASSERT_TRUE(robot_pose_file::WriteAnimationFile(RobotFile("run_anim"), keys, error)) << error;
  ASSERT_TRUE(robot_.Setup(world_, folder()));
  EXPECT_EQ(robot_.PoseTrack(Robot::kRun)->KeyCount(), 3);
  robot_.animationIndex = Robot::kRun;
  robot_.Pose(0.6f);
  EXPECT_EQ(robot_.CurrentFrame()->joints[2].x, 99.0f);
}

TEST_F(RobotSetup, PosePlacesEveryMeshOfEveryPartFromTheFrameAndPlacement) {
  ASSERT_TRUE(robot_.Setup(world_, folder()));
  robot_.placement = sm::Product(sm::RotationMatrix(3.1415f, 0, 1, 0), sm::Translation(-6.859f, 380.929f, 1694.074f));
  robot_.animationIndex = Robot::kReleasing;
  robot_.Pose(2.0f);
  const sm::Vec3* j = robot_.CurrentFrame()->joints;
  const sm::Vec3 u = Scaled(sm::Normalized(sm::Vec3(j[8].x - j[1].x, 0, j[8].z - j[1].z)), -1.0f);
  const auto transformOf = [&](const char* name, int mesh) {
    return world_.FindModel(name)->meshes[static_cast<std::size_t>(mesh)]->transform;
  };
  struct Expected {
    const char* part;
    sm::Mat4 local;
  };
  const Expected expected[] = {
      {"robot_head", RiseFrame(u, j[1], j[0])},
      {"robot_corpse", RiseFrame(u, j[3], j[1])},
      {"robot_shoulder_left", LookAt(j[5], j[4])},
      {"robot_shoulder_right", LookAt(j[9], j[8])},
      {"robot_elbow_left", sm::Product(sm::RotationMatrix(3.1415f, 0, 0, 1), LookAt(j[6], j[5]))},
      {"robot_elbow_right", LookAt(j[10], j[9])},
      {"robot_thigh_right", AimFrame(j[16], j[17], u)},
      {"robot_thigh_left", AimFrame(j[12], j[13], u)},
      {"robot_tibia_right", AimFrame(j[17], j[18], u)},
      {"robot_tibia_left", AimFrame(j[13], j[14], u)},
      {"robot_foot_right", LookAt(j[19], j[18])},
      {"robot_foot_left", LookAt(j[15], j[14])},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.part);
    const sm::Mat4 world = sm::Product(e.local, robot_.placement);
    ExpectMatrixNear(transformOf(e.part, 0), world);
    ExpectMatrixNear(transformOf(e.part, 1), world);
  }
  // The hips' centre lands on the placement's origin.
  ExpectNear(Origin(transformOf("robot_corpse", 0)), sm::Vec3(-6.859f, 380.929f, 1694.074f));
}

TEST(RobotWithoutSetup, PosingDoesNothing) {
  Robot::Character robot;
  robot.Pose(1.0f);
  EXPECT_EQ(robot.CurrentFrame(), nullptr);
  EXPECT_EQ(robot.LastKeyTime(Robot::kRun), 0.0f);
}

}  // namespace
