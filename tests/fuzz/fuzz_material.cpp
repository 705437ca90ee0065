// Material files: whatever the reader accepts must also survive a write and a
// second read unchanged.
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "assets/material.h"
#include "fuzz/quiet_stderr.h"

namespace {

std::string TempFile() {
  char path[] = "/tmp/fuzz_material.XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) abort();
  close(fd);
  return path;
}

const std::string& InputPath() {
  static const std::string path = TempFile();
  return path;
}

const std::string& OutputPath() {
  static const std::string path = TempFile();
  return path;
}

void RemoveTempFiles() {
  std::remove(InputPath().c_str());
  std::remove(OutputPath().c_str());
}

bool Same(float a, float b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

void Check(bool condition) {
  if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz_support::QuietStderr(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int registered = std::atexit(RemoveTempFiles);
  (void)registered;
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (file == nullptr) abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  std::string error;
  const auto material = ReadMaterialFile(InputPath(), error);
  if (material == nullptr) {
    Check(!error.empty());
    return 0;
  }
  Check(WriteMaterialFile(OutputPath(), *material, error));
  const auto back = ReadMaterialFile(OutputPath(), error);
  Check(back != nullptr);
  Check(back->name == material->name);
  for (int i = 0; i < 4; ++i) {
    Check(Same(back->ambient[i], material->ambient[i]));
    Check(Same(back->diffuse[i], material->diffuse[i]));
    Check(Same(back->specular[i], material->specular[i]));
    Check(Same(back->emissive[i], material->emissive[i]));
  }
  Check(Same(back->opacity, material->opacity));
  Check(Same(back->glossiness, material->glossiness));
  Check(Same(back->specularLevel, material->specularLevel));
  Check(Same(back->emissiveAmount, material->emissiveAmount));
  Check(Same(back->reflectionLevel, material->reflectionLevel));
  Check(back->diffuseMapName == material->diffuseMapName);
  Check(back->opacityMapName == material->opacityMapName);
  Check(back->bumpMapName == material->bumpMapName);
  Check(back->environmentMapName == material->environmentMapName);
  return 0;
}
