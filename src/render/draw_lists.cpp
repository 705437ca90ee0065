#include "render/draw_lists.h"

#include "assets/material.h"
#include "assets/model.h"

void ModelSlot::AddModel(Model* model) {
  if (model == nullptr) return;
  models.push_back(model);
  AppendSubMeshes(*model, all);
}

bool IsGlowMaterial(const Material* material) {
  return material != nullptr && material->name.compare(0, 4, "glow") == 0;
}

bool IsTranslucentMaterial(const Material* material) {
  return material != nullptr && material->opacity < 1.0f;
}

bool IsCreditsMesh(const std::string& meshName) { return meshName.compare(0, 7, "credits") == 0; }

void AppendSubMeshes(const Model& model, DrawList& list) {
  for (const auto& mesh : model.meshes) {
    for (const auto& subMesh : mesh->subMeshes) list.push_back(subMesh.get());
  }
}

void SplitByGlow(const std::vector<Model*>& models, DrawList& glow, DrawList& nonGlow) {
  for (const Model* model : models) {
    if (model == nullptr) continue;
    for (const auto& mesh : model->meshes) {
      for (const auto& subMesh : mesh->subMeshes) {
        (IsGlowMaterial(subMesh->material) ? glow : nonGlow).push_back(subMesh.get());
      }
    }
  }
}

void SplitByOpacity(const std::vector<Model*>& models, DrawList& opaque, DrawList& translucent) {
  for (const Model* model : models) {
    if (model == nullptr) continue;
    for (const auto& mesh : model->meshes) {
      for (const auto& subMesh : mesh->subMeshes) {
        (IsTranslucentMaterial(subMesh->material) ? translucent : opaque).push_back(subMesh.get());
      }
    }
  }
}

void BuildDrawLists(const std::vector<Model*>& globalModels, GlobalDrawLists& global, ModelSlots& slots) {
  for (const Model* model : globalModels) {
    if (model != nullptr) AppendSubMeshes(*model, global.all);
  }
  SplitByGlow(globalModels, global.glow, global.nonGlow);
  SplitByOpacity(globalModels, global.opaque, global.translucent);
  for (const Model* model : globalModels) {
    if (model == nullptr) continue;
    for (const auto& mesh : model->meshes) {
      if (!IsCreditsMesh(mesh->name)) continue;
      for (const auto& subMesh : mesh->subMeshes) subMesh->cullExempt = true;
    }
  }
  for (ModelSlot& slot : slots) {
    SplitByGlow(slot.models, slot.glow, slot.nonGlow);
    SplitByOpacity(slot.models, slot.opaque, slot.translucent);
  }
}

Box BoxOf(const SubMesh& subMesh) {
  const auto& b = subMesh.boundingBox;
  return {b.minX, b.maxX, b.minY, b.maxY, b.minZ, b.maxZ};
}

void CullList(const DrawList& list, const Frustum& frustum) {
  for (SubMesh* subMesh : list) {
    if (!subMesh->cullExempt) subMesh->visible = BoxInFrustum(frustum, BoxOf(*subMesh));
  }
}

void CullDrawLists(const GlobalDrawLists& global, const ModelSlots& slots, const Frustum& frustum) {
  CullList(global.all, frustum);
  for (const ModelSlot& slot : slots) {
    if (slot.enabled) CullList(slot.all, frustum);
  }
}
