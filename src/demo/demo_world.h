#pragma once
// The world as the scenes and the robot see it (scenes/scene_world.h), over the
// content registry and the controller's model slots, robot and camera.
#include "render/draw_lists.h"
#include "scenes/scene_world.h"

class DemoTimeline;

class DemoWorld final : public ISceneWorld {
 public:
  DemoWorld(ModelSlots& slots, const DemoTimeline& timeline) : slots_(slots), timeline_(timeline) {}

  // From the content registry; null when it has no such asset (or nothing is loaded).
  Model* FindModel(const std::string& name) override;
  Texture* FindTexture(const std::string& name) override;
  Animation* FindAnimation(const std::string& name) override;

  // Slots outside 0..4 are ignored.
  void SetSlotEnabled(int slot, bool enabled) override;

  // The robot must be set (SetRobot) before anyone asks for it.
  Robot::Character& GetRobot() override { return *robot_; }
  void SetRobot(Robot::Character* robot) { robot_ = robot; }

  const sm::Mat4& CameraProjection() override;
  const sm::Mat4& CameraView() override;

 private:
  ModelSlots& slots_;
  const DemoTimeline& timeline_;
  Robot::Character* robot_ = nullptr;
};
