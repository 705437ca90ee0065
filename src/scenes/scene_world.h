#pragma once
// What a scene may reach of the world it plays in: named content, the model slots, the
// shared robot and the camera of the frame. The controller implements it over the
// content registry and its own state; tests hand in their own, so every scene (and the
// robot and arms) runs without the controller, the window or GL.
#include <string>

#include "anim/math.h"

class Animation;
class Model;
class Texture;
namespace Robot {
class Character;
}

// The model slots the scenes switch on and off.
enum SceneSlot : int {
  kSlotHall = 0,           // "factory_hal"
  kSlotPassage = 1,        // "factory_passage", "robot_path"
  kSlotLyingRobot = 2,     // "robot_lying"
  kSlotRobotParts = 3,     // the robot's twelve part models
  kSlotArms = 4,           // the two welding arms
};

class ISceneWorld {
 public:
  // Content by name; null when the data set lacks it (callers log the miss).
  virtual Model* FindModel(const std::string& name) = 0;
  virtual Texture* FindTexture(const std::string& name) = 0;
  virtual Animation* FindAnimation(const std::string& name) = 0;

  // Switches one of the five model slots (SceneSlot) on or off.
  virtual void SetSlotEnabled(int slot, bool enabled) = 0;

  // The one robot of the demo, shared by both scenes.
  virtual Robot::Character& GetRobot() = 0;

  // The camera of the current frame, which the scenes' own layers are drawn with.
  virtual const sm::Mat4& CameraProjection() = 0;
  virtual const sm::Mat4& CameraView() = 0;

 protected:
  ~ISceneWorld() = default;
};
