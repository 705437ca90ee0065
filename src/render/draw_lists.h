#pragma once
// Flat lists of sub-meshes, sorted once after loading by whether their material glows
// (its name starts with "glow") and whether it is translucent (opacity below 1), so
// every frame pass is a plain loop with one visibility test per element. The lists
// refer to sub-meshes owned by the content registry.
#include <array>
#include <string>
#include <vector>

#include "render/frustum.h"

class Material;
class Model;
class SubMesh;

using DrawList = std::vector<SubMesh*>;

// A group of models that the scenes switch on and off as one.
struct ModelSlot {
  std::vector<Model*> models;
  DrawList all;  // every sub-mesh of the models, in model, mesh, sub-mesh order
  DrawList glow;
  DrawList nonGlow;
  DrawList translucent;
  DrawList opaque;
  bool enabled = true;  // only enabled slots are drawn, shadowed and culled

  // Appends the model and all its sub-meshes.
  void AddModel(Model* model);
};

constexpr int kModelSlotCount = 5;
using ModelSlots = std::array<ModelSlot, kModelSlotCount>;

// The lists that are always drawn.
struct GlobalDrawLists {
  DrawList all;
  DrawList glow;
  DrawList nonGlow;
  DrawList translucent;
  DrawList opaque;
};

// A material glows when its own name (not its file name) starts with "glow".
bool IsGlowMaterial(const Material* material);
// Drawn blended: a material with opacity below 1 (a NaN opacity counts as opaque);
// no material is opaque.
bool IsTranslucentMaterial(const Material* material);
// Meshes named "credits..." move with the credits and are never culled.
bool IsCreditsMesh(const std::string& meshName);

void AppendSubMeshes(const Model& model, DrawList& list);
// Every sub-mesh of the models, in order, into exactly one list of the pair.
void SplitByGlow(const std::vector<Model*>& models, DrawList& glow, DrawList& nonGlow);
void SplitByOpacity(const std::vector<Model*>& models, DrawList& opaque, DrawList& translucent);

// Fills the global lists from globalModels (the global model list followed by the
// scenes' models), marks their credits sub-meshes exempt from culling, and splits each
// slot's models into its lists. Lists are appended to; call once.
void BuildDrawLists(const std::vector<Model*>& globalModels, GlobalDrawLists& global, ModelSlots& slots);

// The sub-mesh's stored bounding box.
Box BoxOf(const SubMesh& subMesh);

// Sets every element's visible flag from its box and the frustum; elements exempt from
// culling keep theirs.
void CullList(const DrawList& list, const Frustum& frustum);

// The per-frame culling: the global list of all sub-meshes, then each enabled slot's.
void CullDrawLists(const GlobalDrawLists& global, const ModelSlots& slots, const Frustum& frustum);
