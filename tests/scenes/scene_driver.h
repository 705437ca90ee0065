#pragma once
// Drives both scenes the way the controller does: loading in its order (the robot
// posed at 1000 in the breaking-wall animation, the breaking-wall scene set up and
// deactivated, the assembling scene set up, made current and activated), then per
// frame the scene choice and the current scene's update.
#include "scenes/assembling_scene.h"
#include "scenes/breaking_wall_scene.h"
#include "scenes/fake_world.h"

namespace scene_testing {

class SceneDriver {
 public:
  explicit SceneDriver(FakeWorld& world) : world_(world), a_(world), b_(world) {}

  bool Load() {
    world_.robot.animationIndex = Robot::kBreakingWall;
    world_.robot.Pose(1000.0f);
    world_.slots[kSlotRobotParts] = false;
    if (!b_.Setup()) return false;
    b_.SetActive(false);
    if (!a_.Setup()) return false;
    current_ = &a_;
    a_.SetActive(true);
    return true;
  }

  void Frame(float t, float dt) {
    if (a_.IsActiveAt(t) && current_ != &a_) {
      b_.SetActive(false);
      a_.SetActive(true);
      current_ = &a_;
    } else if (b_.IsActiveAt(t) && current_ != &b_) {
      a_.SetActive(false);
      b_.SetActive(true);
      current_ = &b_;
    }
    current_->Update(t, dt);
  }

  char Current() const { return current_ == &a_ ? 'A' : 'B'; }
  IScene& CurrentScene() { return *current_; }
  AssemblingScene& Assembling() { return a_; }
  BreakingWallScene& BreakingWall() { return b_; }

 private:
  FakeWorld& world_;
  AssemblingScene a_;
  BreakingWallScene b_;
  IScene* current_ = nullptr;
};

}  // namespace scene_testing
