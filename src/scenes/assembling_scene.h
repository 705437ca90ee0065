#pragma once
// The assembling scene: the factory hall with the two welding arms, the robot's
// release, its run to the doors and later its dance, the monitor screens and the
// credits. Current for 0 ≤ t ≤ 120 and from 200.598 s on.
#include <memory>
#include <vector>

#include "anim/math.h"
#include "render/scene_interface.h"

class ISceneWorld;

class AssemblingScene final : public IScene {
 public:
  explicit AssemblingScene(ISceneWorld& world);
  ~AssemblingScene();

  // Resolves arms, credits, monitors and the robot through the world (after the robot
  // is set up). False, with one log line naming what is missing, when anything is.
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
