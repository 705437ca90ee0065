#include "scenes/lookups.h"

#include "anim/keyed_value.h"
#include "base/log.h"
#include "assets/model.h"
#include "scenes/scene_world.h"

namespace {

template <typename T>
T* Reported(T* found, const char* kind, const std::string& name, const char* user) {
  if (found == nullptr) WriteLog("error: the %s needs the %s '%s', which wasn't found", user, kind, name.c_str());
  return found;
}

}  // namespace

Model* RequireModel(ISceneWorld& world, const std::string& name, const char* user) {
  return Reported(world.FindModel(name), "model", name, user);
}

Texture* RequireTexture(ISceneWorld& world, const std::string& name, const char* user) {
  return Reported(world.FindTexture(name), "texture", name, user);
}

Animation* RequireAnimation(ISceneWorld& world, const std::string& name, const char* user) {
  return Reported(world.FindAnimation(name), "node animation", name, user);
}

Mesh* RequireMesh(Model& model, const std::string& modelName, const std::string& meshName, const char* user) {
  for (const auto& mesh : model.meshes) {
    if (mesh->name == meshName) return mesh.get();
  }
  WriteLog("error: the %s needs the mesh '%s' in the model '%s', which wasn't found", user, meshName.c_str(),
           modelName.c_str());
  return nullptr;
}

Mesh* RequireMeshAt(Model& model, const std::string& modelName, int index, bool withSubMesh, const char* user) {
  if (index < 0 || static_cast<std::size_t>(index) >= model.meshes.size()) {
    WriteLog("error: the %s needs mesh %d of the model '%s', which has %zu", user, index, modelName.c_str(),
             model.meshes.size());
    return nullptr;
  }
  Mesh* mesh = model.meshes[static_cast<std::size_t>(index)].get();
  if (withSubMesh && mesh->subMeshes.empty()) {
    WriteLog("error: the %s draws mesh %d of the model '%s', which has no sub-mesh", user, index,
             modelName.c_str());
    return nullptr;
  }
  return mesh;
}

KeyedValue* RequireValue(Mesh& mesh, const std::string& valueName, const char* user) {
  KeyedValue* value = mesh.FindValue(valueName);
  if (value == nullptr) {
    WriteLog("error: the %s needs the node value '%s' of the mesh '%s', which wasn't found", user,
             valueName.c_str(), mesh.name.c_str());
  }
  return value;
}

std::string NumberedName(const char* prefix, int number) { return prefix + std::to_string(number); }
