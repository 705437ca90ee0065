#pragma once
// The robot: twelve rigid part models placed every frame from a pose of 20 joints.
// Poses come from the robot's own files (a rest frame and four animations, played
// with step interpolation); the scenes choose the animation, the time within it and
// where in the world the robot stands.
#include <memory>
#include <string>
#include <vector>

#include "anim/interpolators.h"
#include "anim/math.h"
#include "anim/robot_frame.h"

class ISceneWorld;
class Model;

namespace Robot {

// Animation indices; index 2 is never used.
enum AnimationIndex : int { kReleasing = 0, kRun = 1, kUnused = 2, kBreakingWall = 3, kDance = 4 };
constexpr int kAnimationCount = 5;

class Character {
 public:
  Character();
  ~Character();
  Character(const Character&) = delete;
  Character& operator=(const Character&) = delete;

  // Resolves the twelve part models through the world and reads "Robot/frame" and the
  // four animations from dataFolder (ending with '/'). False, with one log line naming
  // the missing model or the missing or damaged file, when anything is absent.
  bool Setup(ISceneWorld& world, const std::string& dataFolder);

  // Selects the current frame of the current animation at time (seconds) and sets the
  // transform of every mesh of every part model to placement · local frame.
  void Pose(float time);

  // The time of the animation's last key; 0 when it has none.
  float LastKeyTime(int animation) const;

  // The twelve part models in slot order: head, corpse, shoulder right, shoulder left,
  // elbow right, elbow left, thigh right, thigh left, tibia right, tibia left, foot
  // right, foot left.
  const std::vector<Model*>& Models() const { return models_; }

  sm::Mat4 placement;
  int animationIndex = 0;
  const Frame* CurrentFrame() const { return current_; }

 private:
  Model* parts_[20] = {};
  std::vector<Model*> models_;
  std::unique_ptr<Frame> rest_;
  const Frame* current_ = nullptr;
  std::vector<std::unique_ptr<Frame>> frames_;  // every animation frame, owned
  std::unique_ptr<StateInterpolator<Frame*>> animations_[kAnimationCount];
};

}  // namespace Robot
