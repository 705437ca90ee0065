#include "anim/node_animation.h"

#include <fstream>

IDisposable* AnimationLoader::Load(const char* path, sm::IServiceProvider*) {
  std::ifstream file(path, std::ios::binary);
  return file ? new Animation() : nullptr;
}
