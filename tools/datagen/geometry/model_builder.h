#pragma once
// Assembles a model file: named meshes of sub-meshes, node ids, pivots and node values.
// Every model is written with the header, version 1, and every mesh carries a pivot
// (the identity unless one is given), so no mesh is left with an undefined pivot.
#include <cstdint>
#include <string>
#include <vector>

#include "anim/math.h"
#include "assets/model_file.h"
#include "datagen/geometry/mesh_builder.h"

namespace datagen {

// Node value helpers: an int or float track of (time, value) keys.
struct IntKey {
  float time;
  std::int32_t value;
};
struct FloatKey {
  float time;
  float value;
};
model_file::NodeValue IntTrack(const std::string& name, std::uint8_t mode, const std::vector<IntKey>& keys);
model_file::NodeValue FloatTrack(const std::string& name, std::uint8_t mode, const std::vector<FloatKey>& keys);

class ModelBuilder {
 public:
  // A mesh from the builder's triangles (cellSize > 0 splits them for culling, see
  // MeshBuilder::Build). Returns the mesh for adding values or a pivot.
  model_file::MeshData& AddMesh(const std::string& name, const MeshBuilder& geometry, std::int32_t nodeId = 0,
                                float cellSize = 0.0f);
  // A mesh without geometry: carriers of node values or of an animated transform.
  model_file::MeshData& AddEmptyMesh(const std::string& name, std::int32_t nodeId = 0);

  std::size_t TriangleCount() const;
  const model_file::ModelData& Data() const { return model_; }
  model_file::ModelData& Data() { return model_; }

 private:
  model_file::ModelData model_{true, 1, {}};
};

}  // namespace datagen
