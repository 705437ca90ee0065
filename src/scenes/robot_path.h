#pragma once
// The path the robot runs along from show::kRunStart: the node animation "robot_path" moving the
// first mesh of the model "robot_path". Both scenes read it; its base transform P is
// where the robot's hips are.
#include "anim/math.h"

class Animation;
class ISceneWorld;
class Mesh;

// The robot's turn on the path, applied before P: a quarter-turn's half about −y
// (0.785375 rad), then a lean of 0.3926875 rad about z.
const sm::Mat4& PathTurn();

class RobotPath {
 public:
  // Looks up the model and the animation "robot_path" and attaches the animation to
  // the model's meshes (attaching twice is harmless: each scene may be set up alone).
  // False, with one log line naming what is missing.
  bool Setup(ISceneWorld& world, const char* user);

  // Updates the animation at time (identity parent, the given step) and returns the
  // base transform of the path's carrier mesh.
  const sm::Mat4& Evaluate(float time, float step);

  bool Ready() const { return carrier_ != nullptr; }

 private:
  Animation* animation_ = nullptr;
  Mesh* carrier_ = nullptr;
};
