#pragma once
// The two passes that run once every asset is loaded: materials get their map
// textures and environment cube maps, sub-meshes get their materials.
#include <functional>
#include <string>
#include <vector>

class Material;
class Model;
class Texture;

// Binds the diffuse, bump and opacity maps (in that order) of every registered
// material, in name order, to the registered textures of those names, and builds the
// environment cube maps from dataFolder + "images/" + map name. A missing texture
// writes "error: texture <name> wasn't fount" to the log and leaves the map empty.
// Every material is processed; true when every named map was found.
bool ResolveMaterialTextures(const std::string& dataFolder);

// Binds every sub-mesh of every registered model (models in name order, meshes and
// sub-meshes in file order) to the registered material its material name names. A
// missing one writes "error: material <name> wasn't fount" to the log and leaves the
// sub-mesh without a material. Always true: a sub-mesh can be drawn without one.
bool ResolveMeshMaterials();

// --- the same passes over plain lookups ---

using TextureLookup = std::function<Texture*(const std::string& name)>;
using CubeMapLoader = std::function<unsigned(const std::string& prefix)>;
using MaterialLookup = std::function<Material*(const std::string& name)>;

// One material's share of ResolveMaterialTextures.
bool BindMaterialTextures(Material& material, const std::string& dataFolder,
                          const TextureLookup& findTexture, const CubeMapLoader& loadCubeMap);

// What the mesh pass needs of a sub-mesh: the material name it was loaded with and
// the place its material pointer lives.
struct MaterialSlot {
  const std::string* materialName;
  Material** material;
};

// Every sub-mesh of the model, mesh by mesh and sub-mesh by sub-mesh in file order.
// Defined beside the model classes' walk in material_slots.cpp.
void CollectMaterialSlots(Model& model, std::vector<MaterialSlot>& slots);

// Binds each slot in order (see ResolveMeshMaterials).
void BindMeshMaterials(const std::vector<MaterialSlot>& slots, const MaterialLookup& findMaterial);
