#pragma once
// The breaking-wall scene: the robot runs down the passage to a glass wall that shows
// the greetings in time with the music, breaks through it and runs on while the shards
// fly and bounce. Current for 120 < t < 200.598.
#include <memory>
#include <vector>

#include "anim/math.h"
#include "render/scene_interface.h"

class ISceneWorld;

class BreakingWallScene final : public IScene {
 public:
  explicit BreakingWallScene(ISceneWorld& world);
  ~BreakingWallScene();

  // Attaches the path animations, makes one shard record per mesh of
  // "glass_wall_broken" (eight draws of the random generator each, in mesh order) and
  // builds the greetings signal. False, with one log line naming what is missing.
  bool Setup();

  void Update(float time, float step) override;
  void DrawOpaque(float time, float step) override;
  void DrawGlow(float time, float step) override;
  void DrawTranslucent(float time, float step) override;
  void SetActive(bool active) override;
  bool IsActiveAt(float time) override;
  std::vector<Model*>& GetModels() override;
  void AdjustLight(sm::Mat4& lightView) override;
};
