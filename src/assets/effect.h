#pragma once
// Effects: shading programs with named techniques and parameters.
// (Placeholder until the effect runtime lands: loads nothing but files the name.)
#include "assets/interfaces.h"

class Effect : public IDisposable {};

class EffectLoader : public IAssetLoader {
 public:
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
};
