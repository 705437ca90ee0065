#pragma once
// Node animations: trees of animated nodes that move meshes and cameras.
// (Placeholder until the animation reader lands.)
#include "assets/interfaces.h"

class Animation : public IDisposable {};

class AnimationLoader : public IAssetLoader {
 public:
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
};
