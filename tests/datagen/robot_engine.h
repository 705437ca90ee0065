#pragma once
// The generated robot as the demo sees it: the five pose files written by the generator
// into a temporary data folder and read back by the program's own robot (stand-in part
// models), so tests pose it exactly as the scenes do and look at the joints in the world.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "anim/math.h"
#include "datagen/robot/pose_files.h"
#include "datagen/robot/skeleton.h"
#include "scenes/fake_world.h"
#include "scenes/frames.h"
#include "scenes/robot.h"
#include "scenes/scene_content.h"
#include "support/temp_dir.h"

namespace robot_testing {

using datagen::V3;

class LoadedRobot {
 public:
  LoadedRobot() {
    scene_testing::AddRobotParts(world_);
    std::string error;
    written_ = datagen::robot::WritePoseFiles(folder_.Path(), error);
    EXPECT_TRUE(written_) << error;
    set_ = written_ && world_.robot.Setup(world_, folder_.Path());
  }

  bool Ready() const { return set_; }
  Robot::Character& Robot() { return world_.robot; }
  scene_testing::FakeWorld& World() { return world_; }
  const std::string& Folder() const { return folder_.Path(); }

  // The robot's joints in the world after posing animation at time in placement.
  datagen::robot::Joints Posed(int animation, float time, const sm::Mat4& placement) {
    Robot::Character& robot = world_.robot;
    robot.animationIndex = animation;
    robot.placement = placement;
    robot.Pose(time);
    datagen::robot::Joints joints;
    for (int j = 0; j < datagen::robot::kJointCount; ++j) {
      joints[static_cast<std::size_t>(j)] = V3(sm::Transformed(placement, robot.CurrentFrame()->joints[j]));
    }
    return joints;
  }

 private:
  testing_support::TempDir folder_;
  scene_testing::FakeWorld world_;
  bool written_ = false;
  bool set_ = false;
};

// One robot for a whole test program: the files take a moment to generate.
inline LoadedRobot& Loaded() {
  static LoadedRobot robot;
  return robot;
}

// The key times and frames of an animation, as the robot holds them.
inline const StateInterpolator<Robot::Frame*>& Track(int animation) { return *Loaded().Robot().PoseTrack(animation); }

}  // namespace robot_testing
