// The technique rule and the values a material gives the two lighting effects.
#include "render/material_binding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

MaterialView Material(bool diffuse, bool bump, float opacity, bool environment = false, bool opacityMap = false) {
  MaterialView m;
  m.hasDiffuseMap = diffuse;
  m.diffuseMap = diffuse ? 11 : 0;
  m.hasBumpMap = bump;
  m.bumpMap = bump ? 12 : 0;
  m.hasEnvironmentMap = environment;
  m.environmentMap = environment ? 13 : 0;
  m.hasOpacityMap = opacityMap;
  m.opacity = opacity;
  m.reflectionLevel = 0.35f;
  return m;
}

struct Row {
  bool diffuse;
  bool bump;
  float opacity;
  const char* technique;
};

TEST(TechniqueRule, PicksTheTechniqueFromDiffuseMapBumpMapAndOpacity) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Row rows[] = {
      {false, false, 0.5f, "BlendNoTexTech"},
      {false, true, 0.5f, "BlendNoTexTech"},  // translucency beats the bump map
      {true, false, 0.5f, "BlendTexTech"},
      {true, true, 0.999f, "BlendTexTech"},
      {false, false, 0.0f, "BlendNoTexTech"},  // the material default opacity
      {false, false, 1.0f, "NoTexTech"},       // exactly 1 is opaque
      {false, true, 1.0f, "BumpTech"},
      {true, false, 1.0f, "DiffTexTech"},
      {true, true, 1.0f, "DiffTexBumpTech"},
      {true, true, 2.0f, "DiffTexBumpTech"},
      {false, false, nan, "NoTexTech"},  // NaN counts as opaque
      {true, true, nan, "DiffTexBumpTech"},
  };
  for (const Row& row : rows) {
    const MaterialView m = Material(row.diffuse, row.bump, row.opacity);
    const LightingBinding standard = StandardBinding(&m);
    SCOPED_TRACE(std::string(row.technique) + " opacity " + std::to_string(row.opacity));
    EXPECT_STREQ(standard.technique, row.technique);
    const LightingBinding shadowed = GlowShadowBinding(&m);
    EXPECT_EQ(std::string(shadowed.technique), std::string(row.technique) + "_GlowShadow");

    // The textures bound are exactly those the technique reads.
    for (const LightingBinding* b : {&standard, &shadowed}) {
      const std::string t = b->technique;
      EXPECT_EQ(b->bindDiffuse, t.find("Tex") != std::string::npos && t.find("NoTex") == std::string::npos);
      EXPECT_EQ(b->diffuseMap, b->bindDiffuse ? 11u : 0u);
      EXPECT_EQ(b->bindBump, t.find("Bump") != std::string::npos);
      EXPECT_EQ(b->bumpMap, b->bindBump ? 12u : 0u);
      EXPECT_FALSE(b->bindEnvironment);
    }
  }
}

TEST(TechniqueRule, ReflectiveMaterialsNeedADiffuseMapAndNoBumpOrOpacityMap) {
  // Diffuse and environment maps only: reflective, whatever the opacity.
  for (float opacity : {1.0f, 0.5f, 0.0f}) {
    const MaterialView m = Material(true, false, opacity, true);
    const LightingBinding b = GlowShadowBinding(&m);
    EXPECT_STREQ(b.technique, "DiffEnvTech_GlowShadow");
    EXPECT_TRUE(b.bindDiffuse);
    EXPECT_EQ(b.diffuseMap, 11u);
    EXPECT_TRUE(b.bindEnvironment);
    EXPECT_EQ(b.environmentMap, 13u);
    EXPECT_FLOAT_EQ(b.reflectionLevel, 0.35f);
    EXPECT_FALSE(b.bindBump);
    // The glow sources know no reflection.
    EXPECT_STREQ(StandardBinding(&m).technique, IsTranslucent(opacity) ? "BlendTexTech" : "DiffTexTech");
  }
  struct Case {
    MaterialView m;
    const char* technique;
  };
  const Case fallbacks[] = {
      {Material(true, false, 1.0f, true, true), "DiffTexTech_GlowShadow"},   // opacity map
      {Material(true, false, 0.5f, true, true), "BlendTexTech_GlowShadow"},  // ... and translucent
      {Material(true, true, 1.0f, true), "DiffTexBumpTech_GlowShadow"},      // bump map
      {Material(true, true, 0.5f, true), "BlendTexTech_GlowShadow"},
      {Material(false, false, 1.0f, true), "NoTexTech_GlowShadow"},  // no diffuse map
  };
  for (const Case& c : fallbacks) {
    const LightingBinding b = GlowShadowBinding(&c.m);
    EXPECT_STREQ(b.technique, c.technique);
    EXPECT_FALSE(b.bindEnvironment) << c.technique;
  }
}

TEST(MaterialValues, ColoursGetAlphaOneGlossinessIsFixedAndSpecularLevelScaled) {
  MaterialView m = Material(false, false, 0.75f);
  m.ambient[0] = 0.1f;
  m.diffuse[1] = 0.2f;
  m.specular[2] = 0.3f;
  m.emissive[0] = 0.4f;
  m.specularLevel = 2.5f;
  for (const LightingBinding& b : {StandardBinding(&m), GlowShadowBinding(&m)}) {
    EXPECT_FLOAT_EQ(b.ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(b.diffuse[1], 0.2f);
    EXPECT_FLOAT_EQ(b.specular[2], 0.3f);
    EXPECT_TRUE(b.setEmissive);
    EXPECT_FLOAT_EQ(b.emissive[0], 0.4f);
    for (const float* colour : {b.ambient, b.diffuse, b.specular, b.emissive}) EXPECT_EQ(colour[3], 1.0f);
    EXPECT_FLOAT_EQ(b.opacity, 0.75f);
    EXPECT_EQ(b.glossiness, 64.0f);
    EXPECT_FLOAT_EQ(b.specularLevel, 1.0f);  // 2.5 × 0.4
  }
}

TEST(MaterialValues, NoMaterialDrawsGreyOpaqueAndLeavesTheEmissiveColourAlone) {
  for (const LightingBinding& b : {StandardBinding(nullptr), GlowShadowBinding(nullptr)}) {
    EXPECT_FLOAT_EQ(b.ambient[0], 0.2f);
    EXPECT_FLOAT_EQ(b.diffuse[2], 0.6f);
    EXPECT_FLOAT_EQ(b.specular[1], 1.0f);
    EXPECT_EQ(b.ambient[3], 1.0f);
    EXPECT_FALSE(b.setEmissive);
    EXPECT_EQ(b.opacity, 1.0f);
    EXPECT_EQ(b.glossiness, 64.0f);
    EXPECT_EQ(b.specularLevel, 1.0f);
    EXPECT_FALSE(b.bindDiffuse || b.bindBump || b.bindEnvironment);
  }
  EXPECT_STREQ(StandardBinding(nullptr).technique, "NoTexTech");
  EXPECT_STREQ(GlowShadowBinding(nullptr).technique, "NoTexTech_GlowShadow");
}

}  // namespace
