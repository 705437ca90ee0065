#include "render/lighting.h"

#include "base/log.h"
#include "assets/demo_content.h"
#include "assets/effect.h"
#include "assets/material.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "render/fx/fx.h"
#include "render/render_targets.h"

namespace {

void CopyRgb(float (&target)[3], const float* source) {
  target[0] = source[0];
  target[1] = source[1];
  target[2] = source[2];
}

void SetVec3(Effect& effect, const char* name, const sm::Vec3& v) {
  const float values[3] = {v.x, v.y, v.z};
  effect.SetVector(name, values, 3);
}

// Draws one sub-mesh with the effect's first pass; a technique without passes draws
// nothing (the fixed-function pipeline would draw it unlit).
void DrawWithFirstPass(Effect& effect, const SubMesh& subMesh) {
  fx::Pass* pass = effect.FirstPass();
  if (pass == nullptr) return;
  pass->Set();
  subMesh.Draw();
  pass->Reset();
}

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

const float* WorldOf(const SubMesh& subMesh) {
  return subMesh.owner != nullptr ? subMesh.owner->GetTransform() : kIdentity;
}

}  // namespace

std::unique_ptr<SceneRenderer> PrepareSceneRenderer(const DemoContent& content) {
  LightingEffects effects;
  effects.standard = content.Get<Effect>("std_lighting");
  if (effects.standard == nullptr) {
    WriteLog("error: effect 'std_lighting' wasn't found");
    return nullptr;
  }
  effects.glowShadow = content.Get<Effect>("std_lighting_glow_shadow");
  if (effects.glowShadow == nullptr) WriteLog("error: effect 'std_lighting_glow_shadow' wasn't found");
  return std::make_unique<SceneRenderer>(effects);
}

MaterialView ViewOf(const Material& material) {
  MaterialView view;
  CopyRgb(view.ambient, material.ambient);
  CopyRgb(view.diffuse, material.diffuse);
  CopyRgb(view.specular, material.specular);
  CopyRgb(view.emissive, material.emissive);
  view.opacity = material.opacity;
  view.specularLevel = material.specularLevel;
  view.reflectionLevel = material.reflectionLevel;
  view.rimLevel = material.rimLevel;
  view.hasDiffuseMap = material.diffuseMap != nullptr;
  view.diffuseMap = view.hasDiffuseMap ? material.diffuseMap->GetName() : 0;
  view.hasBumpMap = material.bumpMap != nullptr;
  view.bumpMap = view.hasBumpMap ? material.bumpMap->GetName() : 0;
  view.hasOpacityMap = material.opacityMap != nullptr;
  view.environmentMap = material.GetEnvironmentMap();
  view.hasEnvironmentMap = view.environmentMap != 0;
  return view;
}

void BindMaterial(const Material* material, LightingEffects& effects) {
  if (effects.standard == nullptr) return;
  if (material == nullptr) {
    ApplyBinding(*effects.standard, StandardBinding(nullptr));
    return;
  }
  const MaterialView view = ViewOf(*material);
  ApplyBinding(*effects.standard, StandardBinding(&view));
}

void BindMaterialGlowShadow(const Material* material, LightingEffects& effects, unsigned shadowTexture,
                            const sm::Mat4& shadowMatrix) {
  Effect* effect = effects.glowShadow;
  if (effect == nullptr) return;
  effect->SetTexture("shadowMap", shadowTexture);
  effect->SetMatrix("shadowMapMatrix", shadowMatrix.a);
  if (material == nullptr) {
    ApplyBinding(*effect, GlowShadowBinding(nullptr));
    return;
  }
  const MaterialView view = ViewOf(*material);
  ApplyBinding(*effect, GlowShadowBinding(&view));
  effect->SetTexture("shadowMap", shadowTexture);
  effect->SetMatrix("shadowMapMatrix", shadowMatrix.a);
}

void BindTransforms(LightingEffects& effects, const sm::Mat4& projection, const sm::Mat4& view, const float* world,
                    const sm::Vec3& lightPosition, const sm::Vec3& eyePosition, bool glowShadow) {
  Effect* effect = glowShadow ? effects.glowShadow : effects.standard;
  if (effect == nullptr) return;
  sm::Mat4 worldMatrix;
  for (int i = 0; i < 16; ++i) worldMatrix.a[i] = world[i];
  const sm::Mat4 mvp = sm::Product(sm::Product(worldMatrix, view), projection);
  effect->SetMatrix("mvp", mvp.a);
  effect->SetMatrix("world", world);
  SetVec3(*effect, "lightPosition", lightPosition);
  SetVec3(*effect, "eyePosition", eyePosition);
}

void DrawGlowSourceList(const DrawList& list, SceneRenderer& renderer, const sm::Mat4& projection,
                        const sm::Mat4& view, const sm::Vec3& eyePosition) {
  LightingEffects& effects = renderer.Effects();
  if (list.empty() || effects.standard == nullptr) return;
  // One colour mask serves the whole list: that of the first element's mesh.
  if (const Mesh* owner = list.front()->owner) effects.standard->SetVector("colorMask", owner->colourMask, 4);
  for (const SubMesh* subMesh : list) {
    if (!subMesh->visible) continue;
    BindMaterial(subMesh->material, effects);
    BindTransforms(effects, projection, view, WorldOf(*subMesh), eyePosition, eyePosition, false);
    DrawWithFirstPass(*effects.standard, *subMesh);
  }
}

void DrawLitList(const DrawList& list, SceneRenderer& renderer, const sm::Mat4& projection, const sm::Mat4& view,
                 const sm::Vec3& lightPosition, const sm::Vec3& eyePosition, const sm::Mat4& lightView,
                 const sm::Mat4& lightProjection, unsigned shadowTexture) {
  LightingEffects& effects = renderer.Effects();
  if (effects.glowShadow == nullptr) return;
  const sm::Mat4 shadowMatrix = ShadowMatrix(lightProjection, lightView);
  for (const SubMesh* subMesh : list) {
    if (!subMesh->visible) continue;
    BindMaterialGlowShadow(subMesh->material, effects, shadowTexture, shadowMatrix);
    BindTransforms(effects, projection, view, WorldOf(*subMesh), lightPosition, eyePosition, true);
    DrawWithFirstPass(*effects.glowShadow, *subMesh);
  }
}

sm::Mat4 ShadowMatrix(const sm::Mat4& lightProjection, const sm::Mat4& lightView) {
  return sm::Product(sm::Product(lightView, lightProjection), ShadowBiasMatrix());
}

sm::Vec3 EyePosition(const sm::Mat4& view) {
  const sm::Mat4 inverse = sm::Inverted(view);
  return sm::Vec3(inverse.a[12], inverse.a[13], inverse.a[14]);
}
