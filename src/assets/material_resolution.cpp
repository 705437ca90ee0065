#include "assets/material_resolution.h"

#include "base/log.h"
#include "assets/demo_content.h"
#include "assets/material.h"
#include "assets/model.h"
#include "assets/texture.h"

namespace {

bool BindMap(const std::string& name, Texture*& map, const TextureLookup& findTexture) {
  if (name.empty()) return true;
  map = findTexture(name);
  if (map != nullptr) return true;
  WriteLog("error: texture %s wasn't fount", name.c_str());
  return false;
}

}  // namespace

bool BindMaterialTextures(Material& material, const std::string& dataFolder,
                          const TextureLookup& findTexture, const CubeMapLoader& loadCubeMap) {
  bool ok = BindMap(material.diffuseMapName, material.diffuseMap, findTexture);
  ok = BindMap(material.bumpMapName, material.bumpMap, findTexture) && ok;
  ok = BindMap(material.opacityMapName, material.opacityMap, findTexture) && ok;
  if (!material.environmentMapName.empty()) {
    material.SetEnvironmentMap(loadCubeMap(dataFolder + "images/" + material.environmentMapName));
  }
  return ok;
}

void BindMeshMaterials(const std::vector<MaterialSlot>& slots, const MaterialLookup& findMaterial) {
  for (const MaterialSlot& slot : slots) {
    if (slot.materialName->empty()) continue;
    *slot.material = findMaterial(*slot.materialName);
    if (*slot.material == nullptr) {
      WriteLog("error: material %s wasn't fount", slot.materialName->c_str());
    }
  }
}

bool ResolveMaterialTextures(const std::string& dataFolder) {
  DemoContent* content = DemoContent::Instance();
  if (content == nullptr) return false;
  std::vector<Material*> materials;
  content->GetAll(materials);
  const TextureLookup findTexture = [content](const std::string& name) {
    return content->Get<Texture>(name);
  };
  bool ok = true;
  for (Material* material : materials) {
    ok = BindMaterialTextures(*material, dataFolder, findTexture, LoadCubeMap) && ok;
  }
  return ok;
}

bool ResolveMeshMaterials() {
  DemoContent* content = DemoContent::Instance();
  if (content == nullptr) return true;
  std::vector<Model*> models;
  content->GetAll(models);
  std::vector<MaterialSlot> slots;
  for (Model* model : models) CollectMaterialSlots(*model, slots);
  BindMeshMaterials(slots, [content](const std::string& name) {
    return content->Get<Material>(name);
  });
  return true;
}
