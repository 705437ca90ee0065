#pragma once
// The assembling scene: the factory hall with the two welding arms, the robot's
// release, its run to the doors and later its dance, the monitor screens and the
// credits. Current from 0 up to show::kSceneSwitch and from show::kBackToHall on.
#include <memory>
#include <vector>

#include "anim/math.h"
#include "anim/show_times.h"
#include "render/scene_interface.h"
#include "scenes/robot_path.h"
#include "scenes/spark_emitter.h"

class ISceneWorld;
class KeyedValue;
class MechanicalArm;
class Mesh;
class Model;
class Texture;
namespace Robot {
class Character;
}

// The breaking-wall scene takes the timeline after kHandOverSeconds and hands it back
// at kDanceClaimSeconds.
constexpr float kHandOverSeconds = show::AsFloat(show::kSceneSwitch);
constexpr float kDanceClaimSeconds = show::AsFloat(show::kBackToHall);

// Whether the assembling scene claims the timeline at t (seconds); the breaking-wall
// scene claims exactly the other times.
bool AssemblingSceneClaims(float t);

class AssemblingScene final : public IScene {
 public:
  static constexpr int kCreditCount = 3;
  static constexpr int kMonitorFrameCount = 99;
  static constexpr float kMonitorFramesPerSecond = 25.0f;
  // A credit fades out over this long, unless the property script says otherwise.
  static constexpr float kCreditFadeSeconds = 6.0f;

  explicit AssemblingScene(ISceneWorld& world);
  ~AssemblingScene();

  // Resolves arms, credits, monitors and the robot through the world (after the robot
  // is set up). False, with one log line naming what is missing, when anything is.
  bool Setup();
  // How long a credit takes to fade out (seconds, above 0).
  void SetCreditFadeSeconds(float seconds) { creditFadeSeconds_ = seconds; }

  void Update(float time, float step) override;
  void DrawOpaque(float time, float step) override;
  void DrawGlow(float time, float step) override;
  void DrawTranslucent(float time, float step) override;
  void SetActive(bool active) override;
  bool IsActiveAt(float time) override;
  std::vector<Model*>& GetModels() override;
  void AdjustLight(sm::Mat4& lightView) override;

  // Where the robot is released (A) and where it dances (B).
  const sm::Mat4& PlacementA() const { return placementA_; }
  const sm::Mat4& PlacementB() const { return placementB_; }
  // The credit shown (0 "kestrel", 1 "marlin", 2 "osprey"; -1 before the first) and
  // its opacity.
  int CreditIndex() const { return creditIndex_; }
  float CreditAlpha() const { return creditAlpha_; }
  const Texture* CreditTexture() const { return creditIndex_ >= 0 ? creditTextures_[creditIndex_] : nullptr; }
  int MonitorFrame() const { return monitorFrame_; }
  const Texture* MonitorTexture() const { return monitorTextures_[monitorFrame_]; }
  bool Switched() const { return switched_; }
  const MechanicalArm& FirstArm() const { return *firstArm_; }
  const MechanicalArm& SecondArm() const { return *secondArm_; }

  // What the updates carry from frame to frame (the credits' and monitors' counters,
  // the sparks), so a player can rewind the scene to a moment it saved.
  struct State {
    bool switched = false;
    int lastCreditsValue = 0;
    int creditIndex = -1;
    float creditAlpha = 0.0f;
    int monitorFrame = 0;
    float monitorClock = 0.0f;
    float sceneTime = 0.0f;
    SparkEmitter firstSparks;
    SparkEmitter secondSparks;
  };
  void SaveState(State& out) const;
  void RestoreState(const State& state);

 private:
  void UpdateRobot(float t);
  void UpdateCredits(float t, float dt);
  void DrawCredits();
  // The sparks and the credits: what the glow image gets of this scene.
  void DrawGlowSources();

  ISceneWorld& world_;
  bool ready_ = false;  // set up completely; until then updates and draws do nothing
  bool switched_ = false;
  std::vector<Model*> models_;  // stays empty: the scene adds nothing to the global lists
  Texture* creditTextures_[kCreditCount] = {};
  std::unique_ptr<MechanicalArm> firstArm_;
  std::unique_ptr<MechanicalArm> secondArm_;
  Robot::Character* robot_ = nullptr;
  Model* creditsModel_ = nullptr;
  Mesh* creditsMesh_ = nullptr;
  const KeyedValue* creditsSignal_ = nullptr;
  int lastCreditsValue_ = 0;
  int creditIndex_ = -1;
  float creditAlpha_ = 0.0f;
  float creditFadeSeconds_ = kCreditFadeSeconds;
  sm::Mat4 placementA_;
  sm::Mat4 placementB_;
  Texture* monitorTextures_[kMonitorFrameCount] = {};
  Model* screensModel_ = nullptr;
  Mesh* screenMeshes_[2] = {};
  int monitorFrame_ = 0;
  float monitorClock_ = 0.0f;  // monitor frames played, kept within one loop
  float sceneTime_ = 0.0f;
  RobotPath path_;  // the breaking-wall scene's path, which the robot follows from the run's start
};
