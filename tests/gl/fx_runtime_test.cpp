// The effect runtime on a real driver: compiling, parameters, deferred setting, pass
// states, samplers and errors.
#include "render/fx/fx.h"

#include <gtest/gtest.h>

#include <string>

#include "gl/offscreen_target.h"
#include "platform/gl.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

using testing_support::DrawClipQuad;
using testing_support::OffscreenTarget;
using testing_support::PixelAt;

const char* const kEffect = R"(effect 1
glsl flat
#ifdef VERTEX_SHADER
void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = gl_Vertex; }
#else
uniform vec4 color = vec4(0.0, 1.0, 0.0, 1.0);   // kept until the parameter is set
uniform float gain;
void main() { gl_FragColor = color * (1.0 + gain); }
#endif
end

glsl textured
#ifdef VERTEX_SHADER
uniform mat4 mvp;
void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = mvp * gl_Vertex; }
#else
uniform sampler2D image;
uniform vec4 color;
void main() { gl_FragColor = texture2D(image, gl_TexCoord[0].xy) * color; }
#endif
end

sampler image
  min_filter nearest
  mag_filter nearest
  wrap_s clamp_to_edge
end

technique Flat
  pass
    vertex flat
    fragment flat
  end
end

technique Blended
  pass first
    vertex flat
    fragment flat
    depth_test off
    depth_write off
    blend one one
    cull front
    color_write on
  end
  pass second
    vertex flat
    fragment flat
  end
end

technique Textured
  pass
    vertex textured
    fragment textured
    sampler image
      wrap_t repeat
    end
  end
end
)";

fx::ErrorCode lastCode = fx::ErrorCode::kNone;
std::string lastMessage;
int hookCalls = 0;

void RecordError(fx::Context& context) {
  ++hookCalls;
  lastCode = context.TakeError(&lastMessage);
}

class FxRuntimeTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    std::string error;
    context = fx::Context::Create(&error);
    ASSERT_NE(context, nullptr) << error;
    context->SetErrorHook(RecordError);
    hookCalls = 0;
    lastCode = fx::ErrorCode::kNone;
    effect = context->CreateEffect(kEffect, "test.cfx", &error);
    ASSERT_NE(effect, nullptr) << error;
  }
  void TearDown() override {
    effect.reset();
    context.reset();
    GlTest::TearDown();
  }

  fx::Pass& FirstPass(const char* technique) { return *effect->FindTechnique(technique)->Passes().front(); }

  std::unique_ptr<fx::Context> context;
  std::unique_ptr<fx::Effect> effect;
};

TEST_F(FxRuntimeTest, TechniquesPassesAndParametersAreFoundByExactName) {
  const auto& techniques = effect->Techniques();
  ASSERT_EQ(techniques.size(), 3u);
  EXPECT_EQ(techniques[0]->Name(), "Flat");
  EXPECT_EQ(techniques[1]->Name(), "Blended");
  ASSERT_EQ(techniques[1]->Passes().size(), 2u);
  EXPECT_EQ(techniques[1]->Passes()[0]->Name(), "first");
  EXPECT_EQ(techniques[1]->Passes()[1]->Name(), "second");
  EXPECT_EQ(effect->FindTechnique("flat"), nullptr);
  EXPECT_EQ(effect->FindTechnique("Textured"), techniques[2].get());
  // Passes with the same sources share one program.
  EXPECT_EQ(techniques[0]->Passes()[0]->ProgramId(), techniques[1]->Passes()[1]->ProgramId());

  ASSERT_NE(effect->GetNamedParameter("color"), nullptr);
  EXPECT_EQ(effect->GetNamedParameter("color")->Type(), fx::ParameterType::kVec4);
  EXPECT_EQ(effect->GetNamedParameter("gain")->Type(), fx::ParameterType::kFloat);
  EXPECT_EQ(effect->GetNamedParameter("mvp")->Type(), fx::ParameterType::kMat4);
  EXPECT_EQ(effect->GetNamedParameter("image")->Type(), fx::ParameterType::kSampler2D);
  EXPECT_EQ(effect->GetNamedParameter("Color"), nullptr);
  EXPECT_EQ(effect->GetNamedParameter("gl_Vertex"), nullptr);
  EXPECT_EQ(effect->GetNamedParameter(nullptr), nullptr);
  EXPECT_EQ(hookCalls, 0);
}

TEST_F(FxRuntimeTest, ValuesTakeEffectWhenThePassIsSetAndKeepTheInitialiserUntilThen) {
  OffscreenTarget target(8, 8);
  ASSERT_TRUE(target.Complete());
  target.Bind();
  glDisable(GL_DEPTH_TEST);
  fx::Pass& pass = FirstPass("Flat");

  pass.Set();
  DrawClipQuad();
  pass.Reset();
  auto p = PixelAt(target.Pixels(), 8, 4, 4);
  EXPECT_EQ(p.g, 255);  // the GLSL initialiser
  EXPECT_EQ(p.r, 0);

  fx::Parameter* color = effect->GetNamedParameter("color");
  pass.Set();
  color->Set4f(1.0f, 0.0f, 0.0f, 1.0f);  // set after the pass: not seen by this draw
  DrawClipQuad();
  pass.Reset();
  p = PixelAt(target.Pixels(), 8, 4, 4);
  EXPECT_EQ(p.g, 255);
  EXPECT_EQ(p.r, 0);

  effect->GetNamedParameter("gain")->Set1f(-0.5f);
  pass.Set();
  DrawClipQuad();
  pass.Reset();
  p = PixelAt(target.Pixels(), 8, 4, 4);
  EXPECT_NEAR(p.r, 128, 1);
  EXPECT_EQ(p.g, 0);

  // The same value again is not a change; another pass sharing the program sees it.
  const unsigned version = color->Version();
  color->Set4f(1.0f, 0.0f, 0.0f, 1.0f);
  EXPECT_EQ(color->Version(), version);
  effect->GetNamedParameter("gain")->Set1f(0.0f);
  fx::Pass& other = *effect->FindTechnique("Blended")->Passes()[1];
  other.Set();
  DrawClipQuad();
  other.Reset();
  p = PixelAt(target.Pixels(), 8, 4, 4);
  EXPECT_EQ(p.r, 255);
  CheckGlError("drawing");
}

TEST_F(FxRuntimeTest, RenderStatesAreSetForThePassAndRestoredAfterIt) {
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  fx::Pass& pass = FirstPass("Blended");
  pass.Set();
  EXPECT_TRUE(pass.IsSet());
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLboolean mask = GL_TRUE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_FALSE);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint value = 0;
  glGetIntegerv(GL_BLEND_SRC, &value);
  EXPECT_EQ(value, GL_ONE);
  glGetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, GL_FRONT);
  glGetIntegerv(GL_CURRENT_PROGRAM, &value);
  EXPECT_EQ(static_cast<unsigned>(value), pass.ProgramId());

  pass.Reset();
  EXPECT_FALSE(pass.IsSet());
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  glGetIntegerv(GL_BLEND_SRC, &value);
  EXPECT_EQ(value, GL_SRC_ALPHA);
  glGetIntegerv(GL_BLEND_DST, &value);
  EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  glGetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, GL_BACK);
  glGetIntegerv(GL_CURRENT_PROGRAM, &value);
  EXPECT_EQ(value, 0);
  glDisable(GL_CULL_FACE);
  CheckGlError("states");
}

TEST_F(FxRuntimeTest, SamplersBindTheirTextureWithTheSamplerStatesForThePassOnly) {
  // A 2x1 texture: red on the left, blue on the right.
  const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 255, 255};
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glBindTexture(GL_TEXTURE_2D, 0);

  OffscreenTarget target(16, 4);
  target.Bind();
  glDisable(GL_DEPTH_TEST);
  effect->GetNamedParameter("image")->SetTexture(texture);
  effect->GetNamedParameter("color")->Set4f(1, 1, 1, 1);
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  effect->GetNamedParameter("mvp")->SetMatrix(identity);
  fx::Pass& pass = FirstPass("Textured");
  pass.Set();
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), texture);
  GLint state = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state);
  EXPECT_EQ(state, GL_NEAREST);  // the effect's sampler states
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &state);
  EXPECT_EQ(state, GL_CLAMP_TO_EDGE);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &state);
  EXPECT_EQ(state, GL_REPEAT);  // the pass's own
  DrawClipQuad();
  pass.Reset();
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &state);
  EXPECT_EQ(state, GL_TEXTURE0);

  const auto pixels = target.Pixels();
  const auto left = PixelAt(pixels, 16, 2, 2);
  const auto right = PixelAt(pixels, 16, 13, 2);
  EXPECT_EQ(left.r, 255);
  EXPECT_EQ(left.b, 0);
  EXPECT_EQ(right.r, 0);
  EXPECT_EQ(right.b, 255);
  glDeleteTextures(1, &texture);
  CheckGlError("sampling");
}

TEST_F(FxRuntimeTest, MisuseRaisesErrorsThroughTheHookAndChangesNothing) {
  fx::Parameter* color = effect->GetNamedParameter("color");
  color->Set4f(0.25f, 0.5f, 0.75f, 1.0f);
  color->Set1f(3.0f);
  EXPECT_EQ(hookCalls, 1);
  EXPECT_EQ(lastCode, fx::ErrorCode::kTypeMismatch);
  EXPECT_NE(lastMessage.find("'color' is a vec4"), std::string::npos) << lastMessage;
  EXPECT_FLOAT_EQ(color->Values()[0], 0.25f);

  color->SetTexture(5);
  EXPECT_EQ(lastCode, fx::ErrorCode::kTypeMismatch);
  EXPECT_EQ(color->Texture(), 0u);
  effect->GetNamedParameter("image")->Set1f(1.0f);
  EXPECT_EQ(lastCode, fx::ErrorCode::kTypeMismatch);

  FirstPass("Flat").Reset();
  EXPECT_EQ(lastCode, fx::ErrorCode::kInvalidPass);
  EXPECT_EQ(hookCalls, 4);

  // Without a hook the error waits to be taken, once.
  context->SetErrorHook(nullptr);
  color->Set2f(1, 2);
  std::string message;
  EXPECT_EQ(context->TakeError(&message), fx::ErrorCode::kTypeMismatch);
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(context->TakeError(&message), fx::ErrorCode::kNone);
  EXPECT_TRUE(message.empty());
}

TEST_F(FxRuntimeTest, EffectsThatDoNotBuildFailWithTheDriversMessage) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const std::string pass = "technique T\n  pass\n    vertex v\n    fragment f\n  end\nend\n";
  const std::string vertex = "glsl v\nvoid main() { gl_Position = gl_Vertex; }\nend\n";
  const Case cases[] = {
      // Line 6 of the file holds the typo; the driver's message keeps the file's numbering.
      {"effect 1\n" + vertex + "glsl f\nvoid main() { gl_FragColor = vec4(1.0) + undeclared; }\nend\n" + pass,
       "bad.cfx: technique 'T', pass 'p0': the fragment stage does not compile: 0:6("},
      {"effect 1\nglsl v\nvoid main() { gl_Position = gl_Vertex }\nend\nglsl f\nvoid main() {}\nend\n" + pass,
       "the vertex stage does not compile"},
      {"effect 1\nglsl v\nvoid helper() {}\nend\nglsl f\nvoid main() { gl_FragColor = vec4(1.0); }\nend\n" + pass,
       "the program does not link"},
      {"effect 1\n" + vertex + "glsl f\nuniform vec4 a[2];\nvoid main() { gl_FragColor = a[0] + a[1]; }\nend\n" + pass,
       "uniform 'a' is an array"},
      {"effect 1\n" + vertex + "glsl f\nuniform ivec2 k;\nvoid main() { gl_FragColor = vec4(k.x); }\nend\n" + pass,
       "uniform 'k' has a type effect parameters cannot have"},
      {"effect 1\n" + vertex +
           "glsl f\n#ifdef SECOND\nuniform vec3 c;\n#else\nuniform vec4 c;\n#endif\n"
           "void main() { gl_FragColor = vec4(c.x); }\nend\n" +
           pass + "technique U\n  define SECOND\n  pass\n    vertex v\n    fragment f\n  end\nend\n",
       "uniform 'c' is a vec3 here but a vec4 in an earlier pass"},
      {"effect 1\nglsl v\nend\n", "bad.cfx:3: the effect has no technique"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(context->CreateEffect(c.text, "bad.cfx", &error), nullptr) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << "expected: " << c.expected << "\ngot: " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
  EXPECT_EQ(hookCalls, 0);  // build failures are returned, not raised

  std::string error;
  EXPECT_EQ(context->CreateEffectFromFile("/nonexistent/x.cfx", &error), nullptr);
  EXPECT_EQ(error, "/nonexistent/x.cfx: cannot read the file");

  testing_support::TempDir dir;
  const std::string path = dir.Path() + "/good.cfx";
  testing_support::WriteFile(path, kEffect);
  auto fromFile = context->CreateEffectFromFile(path, &error);
  ASSERT_NE(fromFile, nullptr) << error;
  EXPECT_EQ(fromFile->SourceName(), path);

  // Code kept in a GLSL file beside the effect: the driver's line numbers are that
  // file's, and the message says which file the source number stands for.
  testing_support::WriteFile(dir.Path() + "/lib.glsl", "// shared\nvec4 Shade() { return missing; }\n");
  testing_support::WriteFile(dir.Path() + "/uses_lib.cfx",
                             "effect 1\n" + vertex + "glsl lib from lib.glsl\nglsl f\n"
                             "void main() { gl_FragColor = Shade(); }\nend\n" +
                                 "technique T\n  pass\n    vertex v\n    fragment lib f\n  end\nend\n");
  EXPECT_EQ(context->CreateEffectFromFile(dir.Path() + "/uses_lib.cfx", &error), nullptr);
  EXPECT_NE(error.find("the fragment stage does not compile (source 1 is lib.glsl): "), std::string::npos)
      << error;
  EXPECT_NE(error.find(":2("), std::string::npos) << error;
}

TEST_F(FxRuntimeTest, AnEffectThatOutlivesItsContextRaisesNothing) {
  fx::Parameter* color = effect->GetNamedParameter("color");
  EXPECT_EQ(effect->GetContext(), context.get());
  context.reset();
  EXPECT_EQ(effect->GetContext(), nullptr);
  color->Set1f(1.0f);  // a type error with nowhere to go
  FirstPass("Flat").Reset();
  EXPECT_EQ(hookCalls, 0);
}

}  // namespace
