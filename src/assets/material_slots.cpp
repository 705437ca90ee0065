// The walk over a model's sub-meshes for the material pass.
#include "assets/material_resolution.h"
#include "assets/model.h"

void CollectMaterialSlots(Model& model, std::vector<MaterialSlot>& slots) {
  for (const auto& mesh : model.meshes) {
    for (const auto& subMesh : mesh->subMeshes) slots.push_back({&subMesh->materialName, &subMesh->material});
  }
}
