// Decoding speed of the texture formats and the material reader: everything the
// loading screen waits for apart from the GL uploads.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/image.h"
#include "assets/material.h"

namespace {

// A folder with one 1024 x 1024 picture in each format and one material file.
class Files {
 public:
  Files() {
    char pattern[] = "/tmp/bench_assets.XXXXXX";
    if (mkdtemp(pattern) != nullptr) folder_ = pattern;
    Image picture = Image::Allocate(1024, 1024, 24);
    for (size_t i = 0; i < picture.Bytes(); ++i) {
      const size_t pixel = i / 3;
      picture.pixels[i] = static_cast<unsigned char>((pixel % 1024) ^ (pixel / 1024) ^ (i % 3) * 85);
    }
    EncodePng(Png(), picture);
    EncodeJpeg(Jpeg(), picture, 90);
    Material material;
    material.name = "steel";
    material.diffuseMapName = "steel_d";
    material.environmentMapName = "env_";
    std::string error;
    WriteMaterialFile(Mat(), material, error);
  }
  ~Files() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string Png() const { return folder_ + "/picture.png"; }
  std::string Jpeg() const { return folder_ + "/picture.jpg"; }
  std::string Mat() const { return folder_ + "/steel.mat"; }

 private:
  std::string folder_ = "/tmp";
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

void BM_DecodePng1024(benchmark::State& state) {
  const std::string path = TheFiles().Png();
  for (auto _ : state) {
    Image image;
    benchmark::DoNotOptimize(DecodePng(path, image));
  }
}
BENCHMARK(BM_DecodePng1024)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg1024(benchmark::State& state) {
  const std::string path = TheFiles().Jpeg();
  for (auto _ : state) {
    Image image;
    benchmark::DoNotOptimize(DecodeJpeg(path, image));
  }
}
BENCHMARK(BM_DecodeJpeg1024)->Unit(benchmark::kMillisecond);

void BM_ReadMaterial(benchmark::State& state) {
  const std::string path = TheFiles().Mat();
  for (auto _ : state) {
    std::string error;
    benchmark::DoNotOptimize(ReadMaterialFile(path, error));
  }
}
BENCHMARK(BM_ReadMaterial)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
