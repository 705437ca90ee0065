// The lighting effects as the program finds them: loaded by the content registry from
// the data folder, looked up by the renderer, and bound from materials.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/log.h"
#include "assets/demo_content.h"
#include "assets/effect.h"
#include "assets/material.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "render/fx/fx.h"
#include "platform/gl.h"
#include "render/cg_context.h"
#include "render/lighting.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class LightingSetupTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    OpenLog(dir.File("log.txt"));
    ASSERT_TRUE(CreateCgContext(context));
    service = std::make_unique<CgContextService>(context.get());
    provider.Register(TypeKey<ICgContextService>(), static_cast<ICgContextService*>(service.get()));
    fs::create_directories(dir.File("data/effects"));
  }
  void TearDown() override {
    if (DemoContent::Exists()) {
      DemoContent::Instance()->ReleaseAll();
      DemoContent::Destroy();
    }
    CloseLog();
    context.reset();
    GlTest::TearDown();
  }
  void CopyEffect(const std::string& file) {
    fs::copy_file(std::string(DRIFT_SOURCE_DIR) + "/content/effects/" + file, dir.File("data/effects/" + file));
  }
  bool LoadAll() { return DemoContent::Instance()->LoadAll(dir.File("data/"), &provider); }
  std::string Log() { return testing_support::ReadFile(dir.File("log.txt")); }

  testing_support::TempDir dir;
  std::unique_ptr<fx::Context> context;
  std::unique_ptr<CgContextService> service;
  ServiceProvider provider;
};

TEST_F(LightingSetupTest, TheRendererTakesBothLightingEffectsFromTheRegistry) {
  CopyEffect("lighting.glsl");
  CopyEffect("std_lighting.cfx");
  CopyEffect("std_lighting_glow_shadow.cfx");
  ASSERT_TRUE(LoadAll()) << Log();
  auto renderer = PrepareSceneRenderer(*DemoContent::Instance());
  ASSERT_NE(renderer, nullptr);
  EXPECT_EQ(renderer->Effects().standard, DemoContent::Instance()->Get<Effect>("std_lighting"));
  EXPECT_EQ(renderer->Effects().glowShadow, DemoContent::Instance()->Get<Effect>("std_lighting_glow_shadow"));
  EXPECT_NE(renderer->Effects().standard, nullptr);
  EXPECT_NE(renderer->Effects().glowShadow, nullptr);
  // The shared GLSL file is not an effect of its own.
  EXPECT_EQ(DemoContent::Instance()->Get<Effect>("lighting"), nullptr);
}

TEST_F(LightingSetupTest, WithoutStdLightingPreparationFailsWithItsLogLine) {
  CopyEffect("lighting.glsl");
  CopyEffect("std_lighting_glow_shadow.cfx");
  ASSERT_TRUE(LoadAll());
  EXPECT_EQ(PrepareSceneRenderer(*DemoContent::Instance()), nullptr);
  EXPECT_NE(Log().find("error: effect 'std_lighting' wasn't found\n"), std::string::npos) << Log();
}

TEST_F(LightingSetupTest, AMissingGlowShadowEffectIsLoggedButNotFatal) {
  CopyEffect("lighting.glsl");
  CopyEffect("std_lighting.cfx");
  ASSERT_TRUE(LoadAll());
  auto renderer = PrepareSceneRenderer(*DemoContent::Instance());
  ASSERT_NE(renderer, nullptr);
  EXPECT_EQ(renderer->Effects().glowShadow, nullptr);
  EXPECT_NE(Log().find("error: effect 'std_lighting_glow_shadow' wasn't found"), std::string::npos);
  // The lit pass then draws nothing rather than failing.
  DrawLitList({}, *renderer, sm::Mat4(), sm::Mat4(), {}, {}, sm::Mat4(), sm::Mat4(), 0);
  BindMaterialGlowShadow(nullptr, renderer->Effects(), 0, sm::Mat4());
}

TEST_F(LightingSetupTest, AnEffectThatDoesNotCompileIsReportedAndNotFiled) {
  CopyEffect("lighting.glsl");
  CopyEffect("std_lighting.cfx");
  testing_support::WriteFile(dir.File("data/effects/broken.cfx"),
                             "effect 1\nglsl b\nvoid main() { gl_Position = oops; }\nend\n"
                             "technique T\n  pass\n    vertex b\n    fragment b\n  end\nend\n");
  EXPECT_FALSE(LoadAll());
  EXPECT_EQ(DemoContent::Instance()->Get<Effect>("broken"), nullptr);
  EXPECT_NE(DemoContent::Instance()->Get<Effect>("std_lighting"), nullptr);
  const std::string log = Log();
  EXPECT_NE(log.find("broken.cfx: technique 'T', pass 'p0': the vertex stage does not compile"), std::string::npos)
      << log;
}

TEST_F(LightingSetupTest, MaterialsAreSeenWithTheirResolvedMapsAndBoundToTheirTechnique) {
  const unsigned char texel[4] = {255, 255, 255, 255};
  Texture diffuse(1, 1, 32, texel, GL_REPEAT, GL_NEAREST, GL_NEAREST, false);
  Texture bump(1, 1, 32, texel, GL_REPEAT, GL_NEAREST, GL_NEAREST, false);
  Material material;
  material.ambient[1] = 0.125f;
  material.emissive[2] = 0.5f;
  material.opacity = 1.0f;
  material.specularLevel = 2.0f;
  material.reflectionLevel = 0.75f;
  material.rimLevel = 0.6f;
  material.diffuseMap = &diffuse;
  material.opacityMapName = "unresolved";  // a name alone does not count
  GLuint cube = 0;
  glGenTextures(1, &cube);
  material.SetEnvironmentMap(cube);

  const MaterialView seen = ViewOf(material);
  EXPECT_FLOAT_EQ(seen.ambient[1], 0.125f);
  EXPECT_FLOAT_EQ(seen.emissive[2], 0.5f);
  EXPECT_TRUE(seen.hasDiffuseMap);
  EXPECT_EQ(seen.diffuseMap, diffuse.GetName());
  EXPECT_FALSE(seen.hasOpacityMap);
  EXPECT_FALSE(seen.hasBumpMap);
  EXPECT_TRUE(seen.hasEnvironmentMap);
  EXPECT_EQ(seen.environmentMap, cube);
  EXPECT_FLOAT_EQ(seen.reflectionLevel, 0.75f);

  CopyEffect("lighting.glsl");
  CopyEffect("std_lighting.cfx");
  CopyEffect("std_lighting_glow_shadow.cfx");
  ASSERT_TRUE(LoadAll());
  auto renderer = PrepareSceneRenderer(*DemoContent::Instance());
  ASSERT_NE(renderer, nullptr);
  LightingEffects& effects = renderer->Effects();
  sm::Mat4 shadowMatrix;
  shadowMatrix.a[12] = 0.5f;
  BindMaterialGlowShadow(&material, effects, 77, shadowMatrix);
  EXPECT_EQ(effects.glowShadow->CurrentTechnique()->Name(), "DiffEnvTech_GlowShadow");
  fx::Effect& fxEffect = *effects.glowShadow->Handle();
  EXPECT_EQ(fxEffect.GetNamedParameter("envTex")->Texture(), cube);
  EXPECT_EQ(fxEffect.GetNamedParameter("diffTex")->Texture(), diffuse.GetName());
  EXPECT_EQ(fxEffect.GetNamedParameter("shadowMap")->Texture(), 77u);
  EXPECT_FLOAT_EQ(fxEffect.GetNamedParameter("shadowMapMatrix")->Values()[12], 0.5f);
  EXPECT_FLOAT_EQ(fxEffect.GetNamedParameter("reflectionLevel")->Values()[0], 0.75f);
  EXPECT_FLOAT_EQ(fxEffect.GetNamedParameter("specularLevel")->Values()[0], 0.8f);
  EXPECT_FLOAT_EQ(fxEffect.GetNamedParameter("glossiness")->Values()[0], 64.0f);
  EXPECT_FLOAT_EQ(fxEffect.GetNamedParameter("rimLevel")->Values()[0], 0.6f);

  material.bumpMap = &bump;
  BindMaterial(&material, effects);
  EXPECT_EQ(effects.standard->CurrentTechnique()->Name(), "DiffTexBumpTech");
  EXPECT_EQ(effects.standard->Handle()->GetNamedParameter("normTex")->Texture(), bump.GetName());
  // The no-material defaults keep the emissive colour of the last material.
  BindMaterial(nullptr, effects);
  EXPECT_EQ(effects.standard->CurrentTechnique()->Name(), "NoTexTech");
  EXPECT_FLOAT_EQ(effects.standard->Handle()->GetNamedParameter("emissiveColor")->Values()[2], 0.5f);
  EXPECT_FLOAT_EQ(effects.standard->Handle()->GetNamedParameter("diffuseColor")->Values()[0], 0.6f);
  // Every bind sets the rim, so a material without one never shows the last one's.
  EXPECT_FLOAT_EQ(effects.standard->Handle()->GetNamedParameter("rimLevel")->Values()[0], 0.0f);

  // Transforms: mvp = projection · view · world.
  sm::Mat4 projection, view, world;
  projection.a[0] = 2.0f;
  view.a[12] = 3.0f;
  world.a[12] = 4.0f;
  BindTransforms(effects, projection, view, world.a, sm::Vec3(1, 2, 3), sm::Vec3(4, 5, 6), false);
  const float* mvp = effects.standard->Handle()->GetNamedParameter("mvp")->Values();
  EXPECT_FLOAT_EQ(mvp[0], 2.0f);
  EXPECT_FLOAT_EQ(mvp[12], 14.0f);  // 2 × (3 + 4)
  EXPECT_FLOAT_EQ(effects.standard->Handle()->GetNamedParameter("eyePosition")->Values()[2], 6.0f);
  EXPECT_FLOAT_EQ(effects.standard->Handle()->GetNamedParameter("lightPosition")->Values()[0], 1.0f);
  EXPECT_FLOAT_EQ(effects.standard->Handle()->GetNamedParameter("world")->Values()[12], 4.0f);
  EXPECT_EQ(Log().find("effect error"), std::string::npos) << Log();
}

TEST_F(LightingSetupTest, TheGlowSourceListTakesOneColourMaskFromItsFirstMesh) {
  CopyEffect("lighting.glsl");
  CopyEffect("std_lighting.cfx");
  ASSERT_TRUE(LoadAll());
  auto renderer = PrepareSceneRenderer(*DemoContent::Instance());
  ASSERT_NE(renderer, nullptr);
  fx::Parameter* mask = renderer->Effects().standard->Handle()->GetNamedParameter("colorMask");
  ASSERT_NE(mask, nullptr);

  DrawGlowSourceList({}, *renderer, sm::Mat4(), sm::Mat4(), sm::Vec3());
  EXPECT_EQ(mask->Version(), 0u);  // an empty list sets nothing

  Mesh first, second;
  first.colourMask[0] = 0.25f;
  second.colourMask[0] = 0.75f;
  SubMesh a, b;  // no vertex buffers: drawing them draws nothing
  a.owner = &first;
  a.visible = false;  // hidden, yet its mesh's mask serves the list
  b.owner = &second;
  DrawGlowSourceList({&a, &b}, *renderer, sm::Mat4(), sm::Mat4(), sm::Vec3());
  EXPECT_FLOAT_EQ(mask->Values()[0], 0.25f);
  EXPECT_EQ(renderer->Effects().standard->CurrentTechnique()->Name(), "NoTexTech");
  CheckGlError("glow sources");
}

}  // namespace
