#include "datagen/geometry/model_builder.h"

namespace datagen {

model_file::NodeValue IntTrack(const std::string& name, std::uint8_t mode, const std::vector<IntKey>& keys) {
  model_file::NodeValue value;
  value.name = name;
  value.type = model_file::kInt;
  value.mode = mode;
  for (const IntKey& key : keys) value.keys.push_back({key.time, key.value, 0.0f});
  return value;
}

model_file::NodeValue FloatTrack(const std::string& name, std::uint8_t mode, const std::vector<FloatKey>& keys) {
  model_file::NodeValue value;
  value.name = name;
  value.type = model_file::kFloat;
  value.mode = mode;
  for (const FloatKey& key : keys) value.keys.push_back({key.time, 0, key.value});
  return value;
}

model_file::MeshData& ModelBuilder::AddMesh(const std::string& name, const MeshBuilder& geometry, std::int32_t nodeId,
                                            float cellSize) {
  model_file::MeshData& mesh = AddEmptyMesh(name, nodeId);
  mesh.subMeshes = geometry.Build(cellSize);
  return mesh;
}

model_file::MeshData& ModelBuilder::AddEmptyMesh(const std::string& name, std::int32_t nodeId) {
  model_file::MeshData mesh;
  mesh.name = name;
  mesh.nodeId = nodeId;
  model_.meshes.push_back(std::move(mesh));
  return model_.meshes.back();
}

std::size_t ModelBuilder::TriangleCount() const {
  std::size_t count = 0;
  for (const auto& mesh : model_.meshes) {
    for (const auto& subMesh : mesh.subMeshes) count += subMesh.VertexCount() / 3;
  }
  return count;
}

}  // namespace datagen
