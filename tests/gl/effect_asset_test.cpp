// Effects as assets: the loader with the context service, technique selection, the
// setters, and what reaches the log when something is wrong.
#include "assets/effect.h"

#include <gtest/gtest.h>

#include <string>

#include "base/log.h"
#include "render/fx/fx.h"
#include "render/cg_context.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

const char* const kTwoTechniques = R"(effect 1
glsl code
#ifdef VERTEX_SHADER
void main() { gl_Position = gl_Vertex; }
#else
uniform float level;
uniform sampler2D image;
void main() { gl_FragColor = texture2D(image, vec2(0.5)) * level; }
#endif
end
technique A
  pass a0
    vertex code
    fragment code
  end
end
technique B
  pass b0
    vertex code
    fragment code
  end
  pass b1
    vertex code
    fragment code
    blend one one
  end
end
)";

class EffectAssetTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    logPath = dir.File("log.txt");
    OpenLog(logPath);
    ASSERT_TRUE(CreateCgContext(context));
    service = std::make_unique<CgContextService>(context.get());
    provider.Register(TypeKey<ICgContextService>(), static_cast<ICgContextService*>(service.get()));
    testing_support::WriteFile(dir.File("two.cfx"), kTwoTechniques);
  }
  void TearDown() override {
    CloseLog();
    context.reset();
    GlTest::TearDown();
  }
  std::unique_ptr<Effect> Load(const std::string& file, sm::IServiceProvider* with) {
    return std::unique_ptr<Effect>(static_cast<Effect*>(EffectLoader().Load(dir.File(file).c_str(), with)));
  }
  std::string Log() { return testing_support::ReadFile(logPath); }

  testing_support::TempDir dir;
  std::string logPath;
  std::unique_ptr<fx::Context> context;
  std::unique_ptr<CgContextService> service;
  ServiceProvider provider;
};

TEST_F(EffectAssetTest, SetTechniqueCollectsThePassesOfTheNamedTechniqueOnly) {
  auto effect = Load("two.cfx", &provider);
  ASSERT_NE(effect, nullptr) << Log();
  EXPECT_EQ(effect->FirstPass(), nullptr);  // nothing selected yet

  effect->SetTechnique("B");
  ASSERT_EQ(effect->Passes().size(), 2u);
  EXPECT_EQ(effect->Passes()[0]->Name(), "b0");
  EXPECT_EQ(effect->Passes()[1]->Name(), "b1");
  EXPECT_EQ(effect->FirstPass()->Name(), "b0");

  effect->SetTechnique("A");
  ASSERT_EQ(effect->Passes().size(), 1u);
  EXPECT_EQ(effect->FirstPass()->Name(), "a0");
  EXPECT_EQ(effect->CurrentTechnique()->Name(), "A");

  // A name differing only in case is another name: nothing is selected and the log
  // says so once, however often it is asked for.
  effect->SetTechnique("b");
  effect->SetTechnique("b");
  EXPECT_TRUE(effect->Passes().empty());
  EXPECT_EQ(effect->CurrentTechnique(), nullptr);
  const std::string log = Log();
  const std::string line = "effect error: invalid technique: " + dir.File("two.cfx") + ": no technique 'b'\n";
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(log.find(line), log.rfind(line));
}

TEST_F(EffectAssetTest, SettersReachTheParametersAndMissingNamesAreLogged) {
  auto effect = Load("two.cfx", &provider);
  ASSERT_NE(effect, nullptr);
  effect->SetFloat("level", 0.5f);
  effect->SetTexture("image", 7);
  EXPECT_FLOAT_EQ(effect->Handle()->GetNamedParameter("level")->Values()[0], 0.5f);
  EXPECT_EQ(effect->Handle()->GetNamedParameter("image")->Texture(), 7u);
  const float three[3] = {1, 2, 3};
  effect->SetVector("level", three, 3);  // the wrong size changes nothing
  EXPECT_FLOAT_EQ(effect->Handle()->GetNamedParameter("level")->Values()[0], 0.5f);
  effect->SetFloat("Level", 1.0f);
  const std::string log = Log();
  EXPECT_NE(log.find("effect error: type mismatch: "), std::string::npos) << log;
  EXPECT_NE(log.find("effect error: invalid parameter: " + dir.File("two.cfx") + ": no parameter 'Level'"),
            std::string::npos)
      << log;
}

TEST_F(EffectAssetTest, AFileThatDoesNotBuildLoadsNothingAndLogsTheReason) {
  testing_support::WriteFile(dir.File("broken.cfx"),
                             "effect 1\nglsl c\nvoid main() { gl_Position = nothing; }\nend\n"
                             "technique T\n  pass\n    vertex c\n    fragment c\n  end\nend\n");
  EXPECT_EQ(Load("broken.cfx", &provider), nullptr);
  std::string log = Log();
  EXPECT_NE(log.find("error: " + dir.File("broken.cfx") + ": technique 'T', pass 'p0': the vertex stage does not "
                     "compile: 0:3("),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("nothing"), std::string::npos);

  testing_support::WriteFile(dir.File("syntax.cfx"), "effect 1\ntechnique\n");
  EXPECT_EQ(Load("syntax.cfx", &provider), nullptr);
  EXPECT_EQ(Load("missing.cfx", &provider), nullptr);
  log = Log();
  EXPECT_NE(log.find("error: " + dir.File("syntax.cfx") + ":2: technique needs exactly one name"), std::string::npos)
      << log;
  EXPECT_NE(log.find("error: " + dir.File("missing.cfx") + ": cannot read the file"), std::string::npos) << log;
}

TEST_F(EffectAssetTest, WithoutTheContextServiceNothingIsCompiled) {
  ServiceProvider empty;
  EXPECT_EQ(Load("two.cfx", &empty), nullptr);
  EXPECT_EQ(Load("two.cfx", nullptr), nullptr);
  CgContextService noContext(nullptr);
  ServiceProvider withoutContext;
  withoutContext.Register(TypeKey<ICgContextService>(), static_cast<ICgContextService*>(&noContext));
  EXPECT_EQ(Load("two.cfx", &withoutContext), nullptr);
  const std::string log = Log();
  EXPECT_NE(log.find("error: " + dir.File("two.cfx") + ": no effect context to compile it with"), std::string::npos)
      << log;
}

}  // namespace
