#include "assets/model.h"

#include <fstream>

IDisposable* ModelLoader::Load(const char* path, sm::IServiceProvider*) {
  std::ifstream file(path, std::ios::binary);
  (void)observers_;
  return file ? new Model() : nullptr;
}

int PeekMeshCount(const std::string&) { return 0; }
