// The walk over a model's sub-meshes for the material pass.
#include "assets/material_resolution.h"
#include "assets/model.h"

void CollectMaterialSlots(Model&, std::vector<MaterialSlot>&) {
  // The placeholder model holds no meshes: there is no sub-mesh to list.
}
