// The effect files of content/effects: each compiles on the driver, offers the
// techniques and parameters the drawing code asks for, and every lighting technique
// draws a lit object.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "gl/offscreen_target.h"
#include "render/fx/fx.h"
#include "platform/gl.h"
#include "support/gl_test.h"

namespace {

using testing_support::OffscreenTarget;
using testing_support::PixelAt;
using Type = fx::ParameterType;

const std::string kEffectsFolder = std::string(DRIFT_SOURCE_DIR) + "/content/effects/";

struct Expected {
  std::vector<std::string> techniques;
  std::map<std::string, Type> parameters;
};

const std::map<std::string, Type> kLightingParameters = {
    {"ambientColor", Type::kVec4}, {"diffuseColor", Type::kVec4},   {"specularColor", Type::kVec4},
    {"emissiveColor", Type::kVec4}, {"opacity", Type::kFloat},      {"glossiness", Type::kFloat},
    {"specularLevel", Type::kFloat}, {"diffTex", Type::kSampler2D}, {"normTex", Type::kSampler2D},
    {"mvp", Type::kMat4},           {"world", Type::kMat4},         {"lightPosition", Type::kVec3},
    {"eyePosition", Type::kVec3},   {"rimLevel", Type::kFloat},
};

std::map<std::string, Expected> ExpectedEffects() {
  std::map<std::string, Expected> effects;
  Expected standard{{"NoTexTech", "DiffTexTech", "BumpTech", "DiffTexBumpTech", "BlendNoTexTech", "BlendTexTech"},
                    kLightingParameters};
  standard.parameters["colorMask"] = Type::kVec4;
  effects["std_lighting"] = standard;

  Expected glowShadow{{"NoTexTech_GlowShadow", "DiffTexTech_GlowShadow", "BumpTech_GlowShadow",
                       "DiffTexBumpTech_GlowShadow", "DiffEnvTech_GlowShadow", "BlendNoTexTech_GlowShadow",
                       "BlendTexTech_GlowShadow"},
                      kLightingParameters};
  glowShadow.parameters["envTex"] = Type::kSamplerCube;
  glowShadow.parameters["reflectionLevel"] = Type::kFloat;
  glowShadow.parameters["shadowMap"] = Type::kSampler2DShadow;
  glowShadow.parameters["shadowMapMatrix"] = Type::kMat4;
  effects["std_lighting_glow_shadow"] = glowShadow;

  effects["shadow_mapping"] = {{"ShadowMapping"}, {{"mvp", Type::kMat4}}};
  effects["blur"] = {{"BlurGlowTech", "BlurDofTech"},
                     {{"texToBlur", Type::kSampler2D}, {"scanStep", Type::kVec2}, {"mvp", Type::kMat4}}};
  effects["post_process"] = {{"DofGlowTech"},
                             {{"focal", Type::kFloat},
                              {"fade", Type::kFloat},
                              {"focalFalloff", Type::kFloat},
                              {"noiseStrength", Type::kFloat},
                              {"depthTex", Type::kSampler2D},
                              {"sharpTex", Type::kSampler2D},
                              {"blurTex", Type::kSampler2D},
                              {"noiseTex", Type::kSampler1D},
                              {"mvp", Type::kMat4}}};
  return effects;
}

class EffectFilesTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    std::string error;
    context = fx::Context::Create(&error);
    ASSERT_NE(context, nullptr) << error;
  }
  void TearDown() override {
    context.reset();
    GlTest::TearDown();
  }
  std::unique_ptr<fx::Effect> Load(const std::string& name) {
    std::string error;
    auto effect = context->CreateEffectFromFile(kEffectsFolder + name + ".cfx", &error);
    EXPECT_NE(effect, nullptr) << error;
    return effect;
  }
  std::unique_ptr<fx::Context> context;
};

TEST_F(EffectFilesTest, EveryEffectFileCompilesAndOffersTheNamesTheDrawingCodeUses) {
  const auto expected = ExpectedEffects();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kEffectsFolder)) {
    if (entry.path().extension() != ".cfx") continue;
    ++files;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    auto effect = Load(name);
    if (effect == nullptr) continue;
    const auto found = expected.find(name);
    ASSERT_NE(found, expected.end()) << "an effect file nothing uses";
    for (const std::string& technique : found->second.techniques) {
      fx::Technique* t = effect->FindTechnique(technique);
      ASSERT_NE(t, nullptr) << technique;
      EXPECT_FALSE(t->Passes().empty()) << technique;
    }
    EXPECT_EQ(effect->Techniques().size(), found->second.techniques.size());
    for (const auto& [parameter, type] : found->second.parameters) {
      const fx::Parameter* p = effect->GetNamedParameter(parameter.c_str());
      ASSERT_NE(p, nullptr) << parameter;
      EXPECT_EQ(p->Type(), type) << parameter << " is a " << fx::ParameterTypeName(p->Type());
    }
  }
  EXPECT_EQ(files, static_cast<int>(expected.size()));
}

// --- every lighting technique draws a lit object ---

// A unit sphere in immediate mode with normals and texture coordinates.
void DrawSphere(int slices = 24, int stacks = 16) {
  const float pi = 3.14159265f;
  for (int i = 0; i < stacks; ++i) {
    const float t0 = pi * i / stacks;
    const float t1 = pi * (i + 1) / stacks;
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= slices; ++j) {
      const float p = 2.0f * pi * j / slices;
      for (float t : {t0, t1}) {
        const float x = std::sin(t) * std::cos(p);
        const float y = std::cos(t);
        const float z = std::sin(t) * std::sin(p);
        glMultiTexCoord2f(GL_TEXTURE0, static_cast<float>(j) / slices, t / pi);
        glNormal3f(x, y, z);
        glVertex3f(x, y, z);
      }
    }
    glEnd();
  }
}

GLuint MakeTexture2D(const unsigned char rgba[4]) {
  std::vector<unsigned char> texels;
  for (int i = 0; i < 16; ++i) texels.insert(texels.end(), rgba, rgba + 4);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

// A lighting effect's material colours (alpha 1), no emission.
void SetColours(fx::Effect& effect, const std::array<float, 3>& ambient, const std::array<float, 3>& diffuse,
                const std::array<float, 3>& specular) {
  const auto set = [&](const char* name, const std::array<float, 3>& c) {
    effect.GetNamedParameter(name)->Set4f(c[0], c[1], c[2], 1.0f);
  };
  set("ambientColor", ambient);
  set("diffuseColor", diffuse);
  set("specularColor", specular);
  set("emissiveColor", {0.0f, 0.0f, 0.0f});
}

TEST_F(EffectFilesTest, EveryLightingTechniqueDrawsALitObject) {
  const int size = 64;
  OffscreenTarget target(size, size);
  ASSERT_TRUE(target.Complete());
  const unsigned char grey[4] = {200, 200, 200, 255};
  const unsigned char flatNormal[4] = {128, 128, 255, 255};
  const GLuint diffuse = MakeTexture2D(grey);
  const GLuint normals = MakeTexture2D(flatNormal);
  GLuint cube = 0;
  glGenTextures(1, &cube);
  glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  for (int face = 0; face < 6; ++face) {
    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, grey);
  }
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  // A shadow map that holds "far" everywhere: nothing is in shadow.
  GLuint shadow = 0;
  glGenTextures(1, &shadow);
  glBindTexture(GL_TEXTURE_2D, shadow);
  const std::vector<float> far(16, 1.0f);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, 4, 4, 0, GL_DEPTH_COMPONENT, GL_FLOAT, far.data());
  glBindTexture(GL_TEXTURE_2D, 0);

  // The camera looks down -z at a unit sphere 4 units away; the light sits at the eye.
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float f = 1.0f / std::tan(0.5f * 40.0f * 3.14159265f / 180.0f);
  const float n = 1.0f;
  const float fa = 100.0f;
  const float mvp[16] = {f, 0, 0, 0, 0, f, 0, 0, 0, 0, (fa + n) / (n - fa), -1, 0, 0, -4.0f * (fa + n) / (n - fa) + 2 * fa * n / (n - fa), 4.0f};
  // mvp = projection · translation(0, 0, -4)

  for (const char* name : {"std_lighting", "std_lighting_glow_shadow"}) {
    auto effect = Load(name);
    ASSERT_NE(effect, nullptr);
    SetColours(*effect, {0.1f, 0.1f, 0.1f}, {0.8f, 0.3f, 0.2f}, {1.0f, 1.0f, 1.0f});
    effect->GetNamedParameter("opacity")->Set1f(0.5f);
    effect->GetNamedParameter("glossiness")->Set1f(64.0f);
    effect->GetNamedParameter("specularLevel")->Set1f(0.4f);
    effect->GetNamedParameter("mvp")->SetMatrix(mvp);
    effect->GetNamedParameter("world")->SetMatrix(identity);
    effect->GetNamedParameter("lightPosition")->Set3f(0.0f, 0.0f, 4.0f);
    effect->GetNamedParameter("eyePosition")->Set3f(0.0f, 0.0f, 4.0f);
    effect->GetNamedParameter("diffTex")->SetTexture(diffuse);
    effect->GetNamedParameter("normTex")->SetTexture(normals);
    if (fx::Parameter* p = effect->GetNamedParameter("envTex")) p->SetTexture(cube);
    if (fx::Parameter* p = effect->GetNamedParameter("reflectionLevel")) p->Set1f(0.3f);
    if (fx::Parameter* p = effect->GetNamedParameter("shadowMap")) p->SetTexture(shadow);
    if (fx::Parameter* p = effect->GetNamedParameter("shadowMapMatrix")) p->SetMatrix(identity);

    for (const auto& technique : effect->Techniques()) {
      SCOPED_TRACE(std::string(name) + " " + technique->Name());
      target.Bind();
      glClearColor(0, 0, 0, 0);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      glEnable(GL_DEPTH_TEST);
      fx::Pass& pass = *technique->Passes().front();
      pass.Set();
      DrawSphere();
      pass.Reset();
      const auto pixels = target.Pixels();
      const auto centre = PixelAt(pixels, size, size / 2, size / 2);
      const auto corner = PixelAt(pixels, size, 2, 2);
      // Lit: the middle of the sphere faces the light and is clearly red, its rim
      // darker, the background untouched.
      EXPECT_GT(centre.r, 60);
      EXPECT_GT(centre.r, centre.b);
      const auto rim = PixelAt(pixels, size, size / 2, size / 2 + 11);
      EXPECT_LT(rim.r + rim.g + rim.b, centre.r + centre.g + centre.b);
      EXPECT_EQ(corner.r + corner.g + corner.b, 0);
      CheckGlError("drawing");
    }
  }
  glDisable(GL_DEPTH_TEST);
  const GLuint textures[] = {diffuse, normals, cube, shadow};
  glDeleteTextures(4, textures);
}

// The light falls straight along -z and the map's depth lies in front of the sphere
// (shadowed) or behind it (lit). Opaque surfaces darken in shadow; a translucent one as
// much as it covers what lies behind it, so a pane in front of the robot takes no dark
// print of it.
TEST_F(EffectFilesTest, AShadowDarkensOpaqueSurfacesAndBarelyTouchesClearOnes) {
  const int size = 64;
  OffscreenTarget target(size, size);
  ASSERT_TRUE(target.Complete());
  const unsigned char grey[4] = {200, 200, 200, 255};
  const GLuint diffuse = MakeTexture2D(grey);
  const auto shadowMapHolding = [](float depth) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::vector<float> texels(16, depth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, 4, 4, 0, GL_DEPTH_COMPONENT, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
  };
  const GLuint litMap = shadowMapHolding(1.0f), shadowedMap = shadowMapHolding(0.0f);
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  // The shadow map's coordinates: x and y from -1..1 to 0..1, z to 0.25..0.75.
  const float toMap[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.25f, 0, 0.5f, 0.5f, 0.5f, 1};
  const float mvp[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, -0.1f, 0, 0, 0, 0, 1};

  auto effect = Load("std_lighting_glow_shadow");
  ASSERT_NE(effect, nullptr);
  SetColours(*effect, {0.1f, 0.1f, 0.1f}, {0.8f, 0.8f, 0.8f}, {0.0f, 0.0f, 0.0f});
  effect->GetNamedParameter("specularLevel")->Set1f(0.0f);
  effect->GetNamedParameter("mvp")->SetMatrix(mvp);
  effect->GetNamedParameter("world")->SetMatrix(identity);
  effect->GetNamedParameter("shadowMapMatrix")->SetMatrix(toMap);
  effect->GetNamedParameter("lightPosition")->Set3f(0.0f, 0.0f, 100.0f);
  effect->GetNamedParameter("eyePosition")->Set3f(0.0f, 0.0f, 100.0f);
  effect->GetNamedParameter("diffTex")->SetTexture(diffuse);

  const auto centreBrightness = [&](const char* technique, float opacity, GLuint map) {
    effect->GetNamedParameter("opacity")->Set1f(opacity);
    effect->GetNamedParameter("shadowMap")->SetTexture(map);
    target.Bind();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    fx::Pass& pass = *effect->FindTechnique(technique)->Passes().front();
    pass.Set();
    DrawSphere();
    pass.Reset();
    glDisable(GL_DEPTH_TEST);
    const auto centre = PixelAt(target.Pixels(), size, size / 2, size / 2);
    return static_cast<float>(centre.r + centre.g + centre.b);
  };
  for (const char* technique : {"NoTexTech_GlowShadow", "DiffTexTech_GlowShadow"}) {
    SCOPED_TRACE(technique);
    const float lit = centreBrightness(technique, 1.0f, litMap);
    ASSERT_GT(lit, 300.0f);
    EXPECT_LT(centreBrightness(technique, 1.0f, shadowedMap), 0.6f * lit);
  }
  for (const char* technique : {"BlendNoTexTech_GlowShadow", "BlendTexTech_GlowShadow"}) {
    SCOPED_TRACE(technique);
    // The glass's own opacity.
    const float lit = centreBrightness(technique, 0.24f, litMap);
    ASSERT_GT(lit, 80.0f);
    EXPECT_GT(centreBrightness(technique, 0.24f, shadowedMap), 0.9f * lit);
    // A see-through surface that covers nearly everything shades nearly like an opaque one.
    const float dense = centreBrightness(technique, 0.95f, litMap);
    EXPECT_LT(centreBrightness(technique, 0.95f, shadowedMap), 0.7f * dense);
  }
  CheckGlError("drawing");
  const GLuint textures[] = {diffuse, litMap, shadowedMap};
  glDeleteTextures(3, textures);
}

}  // namespace
