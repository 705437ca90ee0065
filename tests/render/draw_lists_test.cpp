// Sorting sub-meshes into the draw lists, and culling them.
#include "render/draw_lists.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "assets/material.h"
#include "assets/model.h"

namespace {

std::unique_ptr<Material> MakeMaterial(const std::string& name, float opacity) {
  auto material = std::make_unique<Material>();
  material->name = name;
  material->opacity = opacity;
  return material;
}

// A model of meshes, each with sub-meshes of the given materials (null = none). Each
// sub-mesh's box is a unit cube at x = its index in the model.
std::unique_ptr<Model> MakeModel(const std::vector<std::pair<std::string, std::vector<Material*>>>& meshes) {
  auto model = std::make_unique<Model>();
  int index = 0;
  for (const auto& [name, materials] : meshes) {
    auto mesh = std::make_unique<Mesh>();
    mesh->name = name;
    for (Material* material : materials) {
      auto subMesh = std::make_unique<SubMesh>();
      subMesh->material = material;
      subMesh->owner = mesh.get();
      subMesh->boundingBox.minX = static_cast<float>(index);
      subMesh->boundingBox.maxX = static_cast<float>(index) + 1.0f;
      subMesh->boundingBox.minZ = -101.0f;
      subMesh->boundingBox.maxZ = -100.0f;
      ++index;
      mesh->subMeshes.push_back(std::move(subMesh));
    }
    model->meshes.push_back(std::move(mesh));
  }
  return model;
}

SubMesh* Sub(Model& model, int mesh, int subMesh) { return model.meshes[mesh]->subMeshes[subMesh].get(); }

TEST(DrawLists, GlowIsAMaterialNameStartingWithGlowAndOpacityBelowOneIsTranslucent) {
  auto glow = MakeMaterial("glow", 1.0f);
  auto glowing = MakeMaterial("glowing_sign", 0.5f);
  auto three = MakeMaterial("glo", 1.0f);
  auto upper = MakeMaterial("Glow", 1.0f);
  auto almost = MakeMaterial("almost", 0.999f);
  auto unset = MakeMaterial("unset", 0.0f);  // a material file without opacity
  auto nan = MakeMaterial("nan", std::numeric_limits<float>::quiet_NaN());
  auto model = MakeModel({{"a", {glow.get(), three.get(), nullptr}},
                          {"b", {glowing.get(), upper.get(), almost.get(), unset.get(), nan.get()}}});

  DrawList glowList, nonGlow, opaque, translucent;
  SplitByGlow({model.get()}, glowList, nonGlow);
  SplitByOpacity({model.get()}, opaque, translucent);
  EXPECT_EQ(glowList, (DrawList{Sub(*model, 0, 0), Sub(*model, 1, 0)}));
  EXPECT_EQ(nonGlow, (DrawList{Sub(*model, 0, 1), Sub(*model, 0, 2), Sub(*model, 1, 1), Sub(*model, 1, 2),
                               Sub(*model, 1, 3), Sub(*model, 1, 4)}));
  EXPECT_EQ(opaque, (DrawList{Sub(*model, 0, 0), Sub(*model, 0, 1), Sub(*model, 0, 2), Sub(*model, 1, 1),
                              Sub(*model, 1, 4)}));
  EXPECT_EQ(translucent, (DrawList{Sub(*model, 1, 0), Sub(*model, 1, 2), Sub(*model, 1, 3)}));
  EXPECT_FALSE(IsGlowMaterial(nullptr));
  EXPECT_FALSE(IsTranslucentMaterial(nullptr));
}

TEST(DrawLists, BuildFillsTheGlobalListsInModelOrderAndEachSlotFromItsOwnModels) {
  auto solid = MakeMaterial("steel", 1.0f);
  auto glass = MakeMaterial("glass", 0.3f);
  auto lamp = MakeMaterial("glow_lamp", 1.0f);
  auto doors = MakeModel({{"door", {solid.get(), glass.get()}}});
  auto credits = MakeModel({{"credits", {lamp.get()}}, {"credits_kestrel", {solid.get()}},
                            {"credit", {solid.get()}}, {"Credits", {solid.get()}}});
  auto hall = MakeModel({{"credits_in_a_slot", {solid.get(), lamp.get()}}});

  GlobalDrawLists global;
  ModelSlots slots;
  slots[2].AddModel(hall.get());
  slots[2].AddModel(nullptr);
  EXPECT_EQ(slots[2].models.size(), 1u);
  EXPECT_EQ(slots[2].all, (DrawList{Sub(*hall, 0, 0), Sub(*hall, 0, 1)}));
  BuildDrawLists({doors.get(), credits.get()}, global, slots);

  EXPECT_EQ(global.all, (DrawList{Sub(*doors, 0, 0), Sub(*doors, 0, 1), Sub(*credits, 0, 0), Sub(*credits, 1, 0),
                                  Sub(*credits, 2, 0), Sub(*credits, 3, 0)}));
  EXPECT_EQ(global.glow, (DrawList{Sub(*credits, 0, 0)}));
  EXPECT_EQ(global.nonGlow.size(), 5u);
  EXPECT_EQ(global.translucent, (DrawList{Sub(*doors, 0, 1)}));
  EXPECT_EQ(global.opaque.size(), 5u);

  // "credits" and "credits..." are exempt; "credit", "Credits" and slot models are not.
  EXPECT_TRUE(Sub(*credits, 0, 0)->cullExempt);
  EXPECT_TRUE(Sub(*credits, 1, 0)->cullExempt);
  EXPECT_FALSE(Sub(*credits, 2, 0)->cullExempt);
  EXPECT_FALSE(Sub(*credits, 3, 0)->cullExempt);
  EXPECT_FALSE(Sub(*doors, 0, 0)->cullExempt);
  EXPECT_FALSE(Sub(*hall, 0, 0)->cullExempt);

  EXPECT_EQ(slots[2].glow, (DrawList{Sub(*hall, 0, 1)}));
  EXPECT_EQ(slots[2].nonGlow, (DrawList{Sub(*hall, 0, 0)}));
  EXPECT_EQ(slots[2].opaque.size(), 2u);
  EXPECT_TRUE(slots[0].all.empty() && slots[0].opaque.empty());
  EXPECT_TRUE(slots[0].enabled);
}

TEST(DrawLists, CullingSetsVisibilityExceptForExemptSubMeshesAndDisabledSlots) {
  auto model = MakeModel({{"m", {nullptr, nullptr, nullptr}}});
  auto other = MakeModel({{"n", {nullptr}}});
  Frustum frustum;
  UpdateFrustum(frustum, sm::Mat4(), 10.0f, 1000.0f, 60.0f, 1.0f);  // looking down -z
  // Box 0 (x 0..1) is ahead; move box 2 behind the camera; exempt box 1 and hide it.
  Sub(*model, 0, 2)->boundingBox.minZ = 50.0f;
  Sub(*model, 0, 2)->boundingBox.maxZ = 60.0f;
  Sub(*model, 0, 1)->boundingBox.minZ = 50.0f;
  Sub(*model, 0, 1)->boundingBox.maxZ = 60.0f;
  Sub(*model, 0, 1)->cullExempt = true;
  Sub(*model, 0, 1)->visible = false;
  Sub(*model, 0, 0)->visible = false;

  GlobalDrawLists global;
  ModelSlots slots;
  slots[0].AddModel(other.get());
  BuildDrawLists({model.get()}, global, slots);
  Sub(*other, 0, 0)->boundingBox.minZ = 50.0f;  // behind, but its slot is off
  Sub(*other, 0, 0)->boundingBox.maxZ = 60.0f;
  slots[0].enabled = false;
  CullDrawLists(global, slots, frustum);
  EXPECT_TRUE(Sub(*model, 0, 0)->visible);
  EXPECT_FALSE(Sub(*model, 0, 1)->visible);  // exempt: as the scene left it
  EXPECT_FALSE(Sub(*model, 0, 2)->visible);
  EXPECT_TRUE(Sub(*other, 0, 0)->visible);  // disabled slot: unchanged

  slots[0].enabled = true;
  CullDrawLists(global, slots, frustum);
  EXPECT_FALSE(Sub(*other, 0, 0)->visible);
  const Box box = BoxOf(*Sub(*model, 0, 0));
  EXPECT_EQ(box.minX, 0.0f);
  EXPECT_EQ(box.maxX, 1.0f);
  EXPECT_EQ(box.minZ, -101.0f);
}

}  // namespace
