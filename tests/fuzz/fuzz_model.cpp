// Model geometry files: the reader must reject or accept any bytes without reading
// past them, what it accepts must survive a write and a second read unchanged, and
// the meshes built from it (node values included) must come out whole.
#include <cstddef>
#include <cstdint>

#include "assets/model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  model_file::ModelData model;
  std::string error;
  if (!model_file::Parse(data, size, model, error)) return 0;
  const std::string written = model_file::Write(model);
  model_file::ModelData again;
  if (!model_file::Parse(written.data(), written.size(), again, error)) __builtin_trap();
  if (model_file::Write(again) != written) __builtin_trap();
  for (model_file::MeshData& data : model.meshes) {
    const std::size_t subMeshes = data.subMeshes.size();
    const std::size_t values = data.values.size();
    const std::unique_ptr<Mesh> mesh = MakeMesh(std::move(data));
    if (mesh->subMeshes.size() != subMeshes || mesh->values.size() > values) __builtin_trap();
    for (auto& value : mesh->values) {
      value.second.IntAt(0.5f);
      value.second.FloatAt(1e30f);
    }
  }
  return 0;
}
