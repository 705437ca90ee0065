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
constexpr int kJointCount = 20;
constexpr int kPartCount = 12;

// The part models by joint number, in the order of the models list. This table and the
// pose files' below are defined in the header: the data generator writes these files
// with the same names and so needs none of the robot's run-time code.
struct PartName {
  int joint;
  const char* model;
};
inline constexpr PartName kPartNames[kPartCount] = {
    {0, "robot_head"},          {1, "robot_corpse"},       {8, "robot_shoulder_right"},
    {4, "robot_shoulder_left"}, {9, "robot_elbow_right"},  {5, "robot_elbow_left"},
    {17, "robot_thigh_right"},  {13, "robot_thigh_left"},  {18, "robot_tibia_right"},
    {14, "robot_tibia_left"},   {19, "robot_foot_right"},  {15, "robot_foot_left"},
};

// The pose files, relative to the data folder.
constexpr const char* kRestFrameFile = "Robot/frame";
struct AnimationFile {
  int index;
  const char* file;
};
// In the order they are read.
inline constexpr AnimationFile kAnimationFiles[4] = {
    {kBreakingWall, "Robot/breaking_wall_anim"},
    {kReleasing, "Robot/releasing_anim"},
    {kRun, "Robot/run_anim"},
    {kDance, "Robot/dance_anim"},
};

// Puts a frame as read from a file into the robot's pose space: joint 3 (the hips'
// centre) becomes the origin, then the right leg (joints 16-19) is moved so that its
// hip sits at 20 · d1 + (0, 40, 30) and the left leg (12-15) so that its hip sits at
// 40 · d2 + (0, 40, 30), d1 and d2 being the horizontal directions from the neck to
// the right and the left shoulder.
void AdjustFrame(Frame& frame);

// The time within a looping animation of the given length: the floating-point
// remainder of time by length (the sign of time), or 0 for an animation without keys
// (length 0), whose remainder would not be a number.
float LoopTime(float time, float length);

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
  // transform of every mesh of every part model to placement · local frame. An
  // animation without keys (or none at the index) keeps the current frame. Allocates
  // nothing.
  void Pose(float time);

  // The time of the animation's last key; 0 when it has none (or no such animation).
  float LastKeyTime(int animation) const;
  // The animation at index; null for index 2, an index out of range or before Setup.
  const StateInterpolator<Frame*>* PoseTrack(int index) const;

  // The twelve part models in slot order: head, corpse, shoulder right, shoulder left,
  // elbow right, elbow left, thigh right, thigh left, tibia right, tibia left, foot
  // right, foot left.
  const std::vector<Model*>& Models() const { return models_; }

  sm::Mat4 placement;
  int animationIndex = 0;
  const Frame* CurrentFrame() const { return current_; }

  // The pose the scenes left the robot in, so a player can rewind it to a saved moment.
  struct State {
    sm::Mat4 placement;
    int animationIndex = 0;
    const Frame* current = nullptr;
  };
  State SaveState() const { return State{placement, animationIndex, current_}; }
  void RestoreState(const State& state) {
    placement = state.placement;
    animationIndex = state.animationIndex;
    current_ = state.current;
  }

 private:
  bool ReadPoseTrack(int index, const std::string& path);

  Model* parts_[kJointCount] = {};
  std::vector<Model*> models_;
  std::unique_ptr<Frame> rest_;
  const Frame* current_ = nullptr;
  std::vector<std::unique_ptr<Frame>> frames_;  // every animation frame, owned
  std::unique_ptr<StateInterpolator<Frame*>> animations_[kAnimationCount];
};

}  // namespace Robot
