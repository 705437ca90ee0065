#pragma once
// The breaking-wall scene: the robot runs down the passage to a glass wall that shows
// the greetings in time with the music, breaks through it and runs on while the shards
// fly and bounce. Current after show::kSceneSwitch and before show::kBackToHall.
#include <memory>
#include <vector>

#include "anim/math.h"
#include "render/scene_interface.h"
#include "scenes/robot_path.h"

class ISceneWorld;
class KeyedValue;
class Mesh;
class Model;
class Texture;
namespace Robot {
class Character;
}

class BreakingWallScene final : public IScene {
 public:
  static constexpr int kGreetingCount = 59;
  // A greeting fades out by this much per second, and the follow light sits this far
  // above the path, unless the property script says otherwise.
  static constexpr float kGreetingFadePerSecond = 1.2f;
  static constexpr float kFollowLightHeight = 400.0f;
  // The side walls that keep the shards in the world, on z (see docs/scenes.md).
  static constexpr float kSideWallLow = -21650.75f;
  static constexpr float kSideWallHigh = 5540.82f;

  // One flying piece of the broken wall.
  struct Shard {
    Mesh* mesh = nullptr;
    sm::Vec3 offset;    // moved from where the wall stood
    sm::Vec3 velocity;  // velocity units; × 40 per second in world units
    sm::Vec3 spinAxis;
    float angle = 0.0f;      // radians turned about the shard's centre
    float spinSpeed = 0.0f;  // radians per second, slowing by 1 per second
  };

  explicit BreakingWallScene(ISceneWorld& world);
  ~BreakingWallScene();

  // Attaches the path animations, makes one shard record per mesh of
  // "glass_wall_broken" (eight draws of the random generator each, in mesh order) and
  // builds the greetings signal. False, with one log line naming what is missing.
  bool Setup();
  void SetGreetingFadePerSecond(float perSecond) { greetingFadePerSecond_ = perSecond; }
  void SetFollowLightHeight(float height) { followLightHeight_ = height; }

  void Update(float time, float step) override;
  void DrawOpaque(float time, float step) override;
  void DrawGlow(float time, float step) override;
  void DrawTranslucent(float time, float step) override;
  void SetActive(bool active) override;
  bool IsActiveAt(float time) override;
  std::vector<Model*>& GetModels() override;
  void AdjustLight(sm::Mat4& lightView) override;

  // Moves, spins and bounces every shard by dt seconds and sets its mesh's transform.
  // Allocates nothing.
  void StepShards(float dt);

  // P · turn: the robot faces along the path, turned round.
  static const sm::Mat4& WallTurn();

  const std::vector<Shard>& Shards() const { return shards_; }
  std::vector<Shard>& Shards() { return shards_; }
  // The greeting shown (-1 before the first) and its opacity.
  int GreetingIndex() const { return greetingIndex_; }
  float GreetingAlpha() const { return greetingAlpha_; }
  const Texture* GreetingTexture() const { return greetingIndex_ >= 0 ? greetingTextures_[greetingIndex_] : nullptr; }
  // The signal the greetings change on (null before Setup); the editing aids may add
  // keys to it.
  KeyedValue* GreetingsSignal() { return greetingsSignal_.get(); }
  // The robot's hips as of the last Update.
  const sm::Vec3& RobotPosition() const { return robotPosition_; }

  // What the updates carry from frame to frame (the greetings' counter, the flying
  // shards), so a player can rewind the scene to a moment it saved.
  struct State {
    int lastGreetingsValue = 0;
    int greetingIndex = -1;
    float greetingAlpha = 0.0f;
    std::vector<Shard> shards;
    float sceneTime = 0.0f;
    sm::Vec3 robotPosition;
  };
  void SaveState(State& out) const;
  void RestoreState(const State& state);

 private:
  void UpdateRobot(float t, const sm::Mat4& path);
  void DrawGreeting();
  void UpdateGreetings(float t, float dt);

  ISceneWorld& world_;
  bool ready_ = false;  // set up completely; until then updates and draws do nothing
  std::vector<Model*> models_;  // the broken wall
  Robot::Character* robot_ = nullptr;
  Model* greetingsWall_ = nullptr;
  Mesh* greetingsSurface_ = nullptr;
  Model* brokenWall_ = nullptr;
  Texture* greetingTextures_[kGreetingCount] = {};
  RobotPath path_;
  std::unique_ptr<KeyedValue> greetingsSignal_;
  int lastGreetingsValue_ = 0;
  int greetingIndex_ = -1;
  float greetingAlpha_ = 0.0f;
  float greetingFadePerSecond_ = kGreetingFadePerSecond;
  float followLightHeight_ = kFollowLightHeight;
  std::vector<Shard> shards_;
  float sceneTime_ = 0.0f;
  sm::Vec3 robotPosition_;
};
