#pragma once
// A scene of the timeline as the frame passes see it: it animates the shared world,
// draws its own layers at fixed points of the frame and may move the light.
#include <vector>

#include "anim/math.h"

class Model;

class IScene {
 public:
  // Times and steps in seconds.
  virtual void Update(float time, float step) = 0;
  // After the lit opaque lists of the main scene.
  virtual void DrawOpaque(float time, float step) = 0;
  // Inside the glow pass, after the glow sources (time is 0 there).
  virtual void DrawGlow(float time, float step) = 0;
  // After the lit translucent lists.
  virtual void DrawTranslucent(float time, float step) = 0;
  virtual void SetActive(bool active) = 0;
  virtual bool IsActiveAt(float time) = 0;
  // The models the scene adds to the global draw lists.
  virtual std::vector<Model*>& GetModels() = 0;
  // May replace the light's view matrix before the shadow pass.
  virtual void AdjustLight(sm::Mat4& lightView) = 0;

 protected:
  ~IScene() = default;
};
