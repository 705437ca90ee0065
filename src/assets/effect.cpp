#include "assets/effect.h"

#include <fstream>

IDisposable* EffectLoader::Load(const char* path, sm::IServiceProvider*) {
  std::ifstream file(path);
  return file ? new Effect() : nullptr;
}
