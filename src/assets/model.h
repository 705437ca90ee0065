#pragma once
// Models: meshes of sub-meshes read from model files.
// (Placeholder until the model reader lands: files the name, reads no geometry.)
#include <string>

#include "assets/interfaces.h"

class Model : public IDisposable {};

class ModelLoader : public IAssetLoader {
 public:
  explicit ModelLoader(ContentObservers& observers) : observers_(observers) {}
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;

 private:
  ContentObservers& observers_;
};

// The mesh count a model file announces (for progress); 0 when it cannot be read.
int PeekMeshCount(const std::string& path);
