// Model loading without the GPU upload: a model file of one million vertices (20
// meshes of 50,000 vertices, 44 MB) parsed from memory, read from a file, and loaded
// by the model loader into meshes (no GL context here, so nothing is uploaded).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "assets/model.h"
#include "assets/model_file.h"

namespace {

constexpr int kMeshes = 20;
constexpr int kVerticesPerMesh = 50000;

const std::string& MillionVertexFile() {
  static const std::string bytes = [] {
    model_file::ModelData model;
    model.hasHeader = true;
    model.version = 1;
    for (int m = 0; m < kMeshes; ++m) {
      model_file::MeshData mesh;
      mesh.nodeId = m + 1;
      mesh.name = "part_" + std::to_string(m);
      model_file::SubMeshData subMesh;
      subMesh.materialName = "metal";
      subMesh.vertices.resize(static_cast<std::size_t>(kVerticesPerMesh) * model_file::kFloatsPerVertex);
      for (std::size_t i = 0; i < subMesh.vertices.size(); ++i) {
        subMesh.vertices[i] = static_cast<float>((i * 2654435761u) % 10007) * 0.01f;
      }
      mesh.subMeshes.push_back(std::move(subMesh));
      model.meshes.push_back(std::move(mesh));
    }
    return model_file::Write(model);
  }();
  return bytes;
}

void BM_ParseModelBuffer(benchmark::State& state) {
  const std::string& bytes = MillionVertexFile();
  for (auto _ : state) {
    model_file::ModelData model;
    std::string error;
    if (!model_file::Parse(bytes.data(), bytes.size(), model, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(model.meshes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
  state.counters["vertices"] = kMeshes * kVerticesPerMesh;
}
BENCHMARK(BM_ParseModelBuffer)->Unit(benchmark::kMillisecond);

// A temporary copy of the file, removed at the end.
class TempModelFile {
 public:
  TempModelFile() {
    const int fd = mkstemp(path_);
    if (fd >= 0) close(fd);
    std::string error;
    ok_ = fd >= 0 && bytes::WriteWholeFile(path_, MillionVertexFile(), error);
  }
  ~TempModelFile() { std::remove(path_); }
  bool Ok() const { return ok_; }
  const char* Path() const { return path_; }

 private:
  char path_[64] = "/tmp/drift_bench_model_XXXXXX";
  bool ok_ = false;
};

void BM_ReadModelFile(benchmark::State& state) {
  TempModelFile file;
  if (!file.Ok()) state.SkipWithError("no temporary file");
  for (auto _ : state) {
    model_file::ModelData model;
    std::string error;
    if (!model_file::ReadFile(file.Path(), model, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(model.meshes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(MillionVertexFile().size()));
}
BENCHMARK(BM_ReadModelFile)->Unit(benchmark::kMillisecond);

void BM_ModelLoaderWithoutUpload(benchmark::State& state) {
  TempModelFile file;
  if (!file.Ok()) state.SkipWithError("no temporary file");
  ContentObservers observers;
  ModelLoader loader(observers);
  for (auto _ : state) {
    std::string error;
    std::unique_ptr<Model> model = loader.LoadModel(file.Path(), error);
    if (!model) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(model.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(MillionVertexFile().size()));
}
BENCHMARK(BM_ModelLoaderWithoutUpload)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
