#include "render/material_binding.h"

#include "assets/effect.h"

namespace {

void SetColour(float (&target)[4], const float (&rgb)[3]) {
  target[0] = rgb[0];
  target[1] = rgb[1];
  target[2] = rgb[2];
  target[3] = 1.0f;
}

void SetColour(float (&target)[4], float r, float g, float b) {
  target[0] = r;
  target[1] = g;
  target[2] = b;
  target[3] = 1.0f;
}

LightingBinding Defaults(const char* technique) {
  LightingBinding b;
  b.technique = technique;
  SetColour(b.ambient, 0.2f, 0.2f, 0.2f);
  SetColour(b.diffuse, 0.6f, 0.6f, 0.6f);
  SetColour(b.specular, 1.0f, 1.0f, 1.0f);
  b.opacity = 1.0f;
  b.glossiness = kLightingGlossiness;
  b.specularLevel = 1.0f;
  return b;
}

LightingBinding FromMaterial(const MaterialView& m) {
  LightingBinding b;
  SetColour(b.ambient, m.ambient);
  SetColour(b.diffuse, m.diffuse);
  SetColour(b.specular, m.specular);
  SetColour(b.emissive, m.emissive);
  b.setEmissive = true;
  b.opacity = m.opacity;
  b.glossiness = kLightingGlossiness;
  b.specularLevel = m.specularLevel * kSpecularLevelScale;
  b.rimLevel = m.rimLevel;
  return b;
}

// The shared table: technique names for the standard effect (suffix "") and the
// glow-shadow effect (suffix "_GlowShadow").
struct Names {
  const char* blendNoTex;
  const char* blendTex;
  const char* noTex;
  const char* bump;
  const char* diffTex;
  const char* diffTexBump;
};
constexpr Names kStandard = {"BlendNoTexTech", "BlendTexTech", "NoTexTech",
                             "BumpTech",       "DiffTexTech",  "DiffTexBumpTech"};
constexpr Names kGlowShadow = {"BlendNoTexTech_GlowShadow", "BlendTexTech_GlowShadow",
                               "NoTexTech_GlowShadow",      "BumpTech_GlowShadow",
                               "DiffTexTech_GlowShadow",    "DiffTexBumpTech_GlowShadow"};

void ChooseByTable(const MaterialView& m, const Names& names, LightingBinding& b) {
  const bool diffuse = m.hasDiffuseMap;
  const bool bump = m.hasBumpMap && !IsTranslucent(m.opacity);
  if (IsTranslucent(m.opacity)) {
    b.technique = diffuse ? names.blendTex : names.blendNoTex;
  } else if (diffuse) {
    b.technique = bump ? names.diffTexBump : names.diffTex;
  } else {
    b.technique = bump ? names.bump : names.noTex;
  }
  if (diffuse) {
    b.bindDiffuse = true;
    b.diffuseMap = m.diffuseMap;
  }
  if (bump) {
    b.bindBump = true;
    b.bumpMap = m.bumpMap;
  }
}

}  // namespace

LightingBinding StandardBinding(const MaterialView* material) {
  if (material == nullptr) return Defaults(kStandard.noTex);
  LightingBinding b = FromMaterial(*material);
  ChooseByTable(*material, kStandard, b);
  return b;
}

LightingBinding GlowShadowBinding(const MaterialView* material) {
  if (material == nullptr) return Defaults(kGlowShadow.noTex);
  LightingBinding b = FromMaterial(*material);
  const MaterialView& m = *material;
  if (m.hasDiffuseMap && !m.hasBumpMap && !m.hasOpacityMap && m.hasEnvironmentMap) {
    b.technique = "DiffEnvTech_GlowShadow";
    b.bindDiffuse = true;
    b.diffuseMap = m.diffuseMap;
    b.bindEnvironment = true;
    b.environmentMap = m.environmentMap;
    b.reflectionLevel = m.reflectionLevel;
    return b;
  }
  ChooseByTable(m, kGlowShadow, b);
  return b;
}

void ApplyBinding(Effect& effect, const LightingBinding& b) {
  effect.SetTechnique(b.technique);
  effect.SetVector("ambientColor", b.ambient, 4);
  effect.SetVector("diffuseColor", b.diffuse, 4);
  effect.SetVector("specularColor", b.specular, 4);
  if (b.setEmissive) effect.SetVector("emissiveColor", b.emissive, 4);
  effect.SetFloat("opacity", b.opacity);
  effect.SetFloat("glossiness", b.glossiness);
  effect.SetFloat("specularLevel", b.specularLevel);
  effect.SetFloat("rimLevel", b.rimLevel);
  if (b.bindDiffuse) effect.SetTexture("diffTex", b.diffuseMap);
  if (b.bindBump) effect.SetTexture("normTex", b.bumpMap);
  if (b.bindEnvironment) {
    effect.SetTexture("envTex", b.environmentMap);
    effect.SetFloat("reflectionLevel", b.reflectionLevel);
  }
}
