// The effect file reader, writer and stage assembly, without GL.
#include "render/fx/fx_format.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kGoodEffect = R"(effect 1
// A comment line, and blank lines, are ignored.

glsl common
uniform vec4 tint;   // GLSL comments stay in the code
varying vec2 uv;
end

glsl main
#ifdef VERTEX_SHADER
void main() { uv = gl_MultiTexCoord0.xy; gl_Position = ftransform(); }
#else
uniform sampler2D tex;
void main() { gl_FragColor = texture2D(tex, uv) * tint; }
#endif
    end

sampler tex
  min_filter linear_mipmap_linear
  mag_filter linear
  wrap_s repeat
  wrap_t clamp_to_edge
end

technique Plain        // trailing comment
  define TINTED LEVEL=2
  pass
    vertex common main
    fragment common main
    depth_test on
    depth_write off
    depth_func lequal
    color_write on
    blend src_alpha one_minus_src_alpha
    cull back
    sampler tex
      min_filter nearest
      compare lequal
    end
  end
  pass second
    vertex common main
    fragment common main
    define EXTRA
    blend off
    cull off
  end
end

technique Other
  pass
    vertex main
    fragment main
  end
end
)";

fx::EffectDesc ParseOk(const std::string& text) {
  fx::EffectDesc effect;
  std::string error;
  EXPECT_TRUE(fx::ParseEffect(text, "good.cfx", effect, error)) << error;
  return effect;
}

TEST(FxFormat, ReadsBlocksSamplersTechniquesPassesAndStates) {
  const fx::EffectDesc e = ParseOk(kGoodEffect);
  ASSERT_EQ(e.blocks.size(), 2u);
  EXPECT_EQ(e.blocks[0].name, "common");
  EXPECT_EQ(e.blocks[0].firstLine, 5);
  EXPECT_EQ(e.blocks[0].text, "uniform vec4 tint;   // GLSL comments stay in the code\nvarying vec2 uv;\n");
  EXPECT_EQ(e.blocks[1].firstLine, 10);
  EXPECT_NE(e.blocks[1].text.find("#ifdef VERTEX_SHADER\n"), std::string::npos);

  ASSERT_EQ(e.samplers.size(), 1u);
  EXPECT_EQ(e.samplers[0].name, "tex");
  EXPECT_EQ(*e.samplers[0].minFilter, static_cast<unsigned>(GL_LINEAR_MIPMAP_LINEAR));
  EXPECT_EQ(*e.samplers[0].wrapT, static_cast<unsigned>(GL_CLAMP_TO_EDGE));
  EXPECT_FALSE(e.samplers[0].wrapR.has_value());
  EXPECT_FALSE(e.samplers[0].compare.has_value());

  ASSERT_EQ(e.techniques.size(), 2u);
  const fx::TechniqueDesc& plain = e.techniques[0];
  EXPECT_EQ(plain.name, "Plain");
  ASSERT_EQ(plain.defines.size(), 2u);
  EXPECT_EQ(plain.defines[0].name, "TINTED");
  EXPECT_EQ(plain.defines[0].value, "");
  EXPECT_EQ(plain.defines[1].name, "LEVEL");
  EXPECT_EQ(plain.defines[1].value, "2");
  ASSERT_EQ(plain.passes.size(), 2u);
  EXPECT_EQ(plain.passes[0].name, "p0");  // unnamed passes are numbered
  EXPECT_EQ(plain.passes[1].name, "second");

  const fx::RenderStates& s = plain.passes[0].states;
  EXPECT_TRUE(*s.depthTest);
  EXPECT_FALSE(*s.depthWrite);
  EXPECT_EQ(*s.depthFunc, static_cast<unsigned>(GL_LEQUAL));
  EXPECT_TRUE(*s.colorWrite);
  EXPECT_TRUE(s.blend->enabled);
  EXPECT_EQ(s.blend->source, static_cast<unsigned>(GL_SRC_ALPHA));
  EXPECT_EQ(s.blend->destination, static_cast<unsigned>(GL_ONE_MINUS_SRC_ALPHA));
  EXPECT_EQ(*s.cullFace, static_cast<unsigned>(GL_BACK));

  const fx::RenderStates& s2 = plain.passes[1].states;
  EXPECT_FALSE(s2.depthTest.has_value());
  EXPECT_FALSE(s2.blend->enabled);
  EXPECT_EQ(*s2.cullFace, static_cast<unsigned>(GL_NONE));
  EXPECT_EQ(e.techniques[1].passes[0].vertexBlocks, std::vector<std::string>{"main"});
}

TEST(FxFormat, CarriageReturnLineEndingsReadLikeLineFeeds) {
  std::string text = kGoodEffect;
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  EXPECT_TRUE(ParseOk(crlf) == ParseOk(text));
  EXPECT_EQ(ParseOk(crlf).blocks[0].text.find('\r'), std::string::npos);
}

TEST(FxFormat, PassSamplerStatesOverrideTheEffectsFieldByField) {
  const fx::EffectDesc e = ParseOk(kGoodEffect);
  const fx::SamplerStates first = fx::EffectiveSamplerStates(e, e.techniques[0].passes[0], "tex");
  EXPECT_EQ(*first.minFilter, static_cast<unsigned>(GL_NEAREST));     // the pass's
  EXPECT_EQ(*first.magFilter, static_cast<unsigned>(GL_LINEAR));      // the effect's
  EXPECT_EQ(*first.compare, static_cast<unsigned>(GL_LEQUAL));        // the pass's
  const fx::SamplerStates second = fx::EffectiveSamplerStates(e, e.techniques[0].passes[1], "tex");
  EXPECT_EQ(*second.minFilter, static_cast<unsigned>(GL_LINEAR_MIPMAP_LINEAR));
  EXPECT_FALSE(second.compare.has_value());
  const fx::SamplerStates none = fx::EffectiveSamplerStates(e, e.techniques[0].passes[1], "other");
  EXPECT_FALSE(none.minFilter || none.magFilter || none.wrapS || none.wrapT || none.wrapR || none.compare);
}

TEST(FxFormat, StageSourcePutsVersionStageDefinesAndNumberedBlocksInOrder) {
  const fx::EffectDesc e = ParseOk(kGoodEffect);
  const fx::TechniqueDesc& t = e.techniques[0];
  const std::string vertex = fx::StageSource(e, t, t.passes[1], fx::Stage::kVertex);
  EXPECT_EQ(vertex.rfind("#version 120\n#define VERTEX_SHADER 1\n#define TINTED 1\n#define LEVEL 2\n"
                         "#define EXTRA 1\n#line 4 0\nuniform vec4 tint;",
                         0),
            0u)
      << vertex;
  EXPECT_NE(vertex.find("varying vec2 uv;\n#line 9 0\n#ifdef VERTEX_SHADER"), std::string::npos);
  const std::string fragment = fx::StageSource(e, t, t.passes[0], fx::Stage::kFragment);
  EXPECT_NE(fragment.find("#define FRAGMENT_SHADER 1\n"), std::string::npos);
  EXPECT_EQ(fragment.find("VERTEX_SHADER 1"), std::string::npos);
  EXPECT_EQ(fragment.find("EXTRA"), std::string::npos);  // that define belongs to the other pass
}

TEST(FxFormat, WrittenEffectsReadBackEqual) {
  const fx::EffectDesc e = ParseOk(kGoodEffect);
  std::string text;
  std::string error;
  ASSERT_TRUE(fx::WriteEffect(e, text, error)) << error;
  const fx::EffectDesc again = ParseOk(text);
  EXPECT_TRUE(again == e);
  std::string text2;
  ASSERT_TRUE(fx::WriteEffect(again, text2, error)) << error;
  EXPECT_EQ(text, text2);

  // A description built in code, with every state kind and an empty code block.
  fx::EffectDesc built;
  built.blocks.push_back({"empty", "", 0, "", 0});
  built.blocks.push_back({"code", "void main() {}\n", 0, "", 0});
  fx::SamplerStates shadow;
  shadow.name = "shadowMap";
  shadow.wrapS = GL_CLAMP;
  shadow.wrapR = GL_MIRRORED_REPEAT;
  shadow.compare = GL_NONE;
  built.samplers.push_back(shadow);
  fx::TechniqueDesc technique;
  technique.name = "T";
  fx::PassDesc pass;
  pass.name = "only";
  pass.vertexBlocks = {"empty", "code"};
  pass.fragmentBlocks = {"code"};
  pass.defines = {{"A", ""}, {"B", "vec3(1.0,0.0,0.0)"}};
  pass.states.blend = fx::BlendFunc{true, GL_SRC_ALPHA_SATURATE, GL_ONE};
  pass.states.cullFace = GL_FRONT_AND_BACK;
  pass.states.depthFunc = GL_ALWAYS;
  pass.states.colorWrite = false;
  technique.passes.push_back(pass);
  built.techniques.push_back(technique);
  ASSERT_TRUE(fx::WriteEffect(built, text, error)) << error;
  EXPECT_TRUE(ParseOk(text) == built) << text;
}

TEST(FxFormat, TheWriterRefusesWhatCannotReadBack) {
  const fx::EffectDesc good = ParseOk(kGoodEffect);
  std::string text = "untouched";
  std::string error;

  fx::EffectDesc endLine = good;
  endLine.blocks[0].text += "  end\n";
  EXPECT_FALSE(fx::WriteEffect(endLine, text, error));
  EXPECT_NE(error.find("common"), std::string::npos);

  fx::EffectDesc unknownBlock = good;
  unknownBlock.techniques[0].passes[0].vertexBlocks.push_back("missing");
  EXPECT_FALSE(fx::WriteEffect(unknownBlock, text, error));
  EXPECT_NE(error.find("missing"), std::string::npos);

  fx::EffectDesc badName = good;
  badName.techniques[1].name = "two words";
  EXPECT_FALSE(fx::WriteEffect(badName, text, error));

  fx::EffectDesc duplicate = good;
  duplicate.techniques[1].name = "Plain";
  EXPECT_FALSE(fx::WriteEffect(duplicate, text, error));
  EXPECT_NE(error.find("defined twice"), std::string::npos);

  fx::EffectDesc badEnum = good;
  badEnum.samplers[0].wrapS = 12345;
  EXPECT_FALSE(fx::WriteEffect(badEnum, text, error));

  EXPECT_FALSE(fx::WriteEffect(fx::EffectDesc(), text, error));
  EXPECT_EQ(text, "untouched");
}

// Block files, read by a fake file system.
bool ReadFake(const std::string& folder, const std::string& file, std::string& text) {
  if (folder != "fx") return false;
  if (file == "lib/light.glsl") {
    text = "float Light() { return 1.0; }\r\n// two\r\n";
    return true;
  }
  if (file == "other.glsl") {
    text = "float Other() { return 0.0; }";  // no final line break
    return true;
  }
  if (file == "zero.glsl") {
    text = std::string("float\0", 6);
    return true;
  }
  return false;
}

TEST(FxFormat, BlocksKeptInGlslFilesAreReadAndNumberedAsSourcesOfTheirOwn) {
  const std::string text =
      "effect 1\n"
      "glsl light from lib/light.glsl\n"
      "glsl main\n"
      "void main() {}\n"
      "end\n"
      "glsl other from other.glsl\n"
      "glsl again from lib/light.glsl   // the same file twice is one source\n"
      "technique T\n  pass\n    vertex light other main\n    fragment again main\n  end\nend\n";
  fx::EffectDesc e = ParseOk(text);
  ASSERT_EQ(e.blocks.size(), 4u);
  EXPECT_EQ(e.blocks[0].file, "lib/light.glsl");
  EXPECT_EQ(e.blocks[0].text, "");
  EXPECT_EQ(e.blocks[0].line, 2);
  EXPECT_EQ(fx::SourceStringLegend(e), "source 1 is lib/light.glsl, source 2 is other.glsl");

  std::string written;
  std::string error;
  ASSERT_TRUE(fx::WriteEffect(e, written, error)) << error;
  EXPECT_NE(written.find("glsl light from lib/light.glsl\n"), std::string::npos);
  EXPECT_TRUE(ParseOk(written) == e);

  ASSERT_TRUE(fx::ResolveBlockFiles(e, "fx/a.cfx", "fx", ReadFake, error)) << error;
  EXPECT_EQ(e.blocks[0].text, "float Light() { return 1.0; }\n// two\n");
  const std::string vertex = fx::StageSource(e, e.techniques[0], e.techniques[0].passes[0], fx::Stage::kVertex);
  EXPECT_NE(vertex.find("#line 0 1\nfloat Light() { return 1.0; }\n// two\n#line 0 2\nfloat Other() { return 0.0; }\n"
                        "#line 3 0\nvoid main() {}\n"),
            std::string::npos)
      << vertex;
  const std::string fragment =
      fx::StageSource(e, e.techniques[0], e.techniques[0].passes[0], fx::Stage::kFragment);
  EXPECT_NE(fragment.find("#line 0 1\nfloat Light()"), std::string::npos);

  fx::EffectDesc missing = ParseOk("effect 1\nglsl b from nowhere.glsl\ntechnique T\n" + std::string(
                                       "  pass\n    vertex b\n    fragment b\n  end\nend\n"));
  EXPECT_FALSE(fx::ResolveBlockFiles(missing, "fx/m.cfx", "fx", ReadFake, error));
  EXPECT_EQ(error, "fx/m.cfx:2: cannot read the GLSL file 'nowhere.glsl'");
  fx::EffectDesc zero = ParseOk("effect 1\nglsl b from zero.glsl\ntechnique T\n" + std::string(
                                    "  pass\n    vertex b\n    fragment b\n  end\nend\n"));
  EXPECT_FALSE(fx::ResolveBlockFiles(zero, "fx/z.cfx", "fx", ReadFake, error));
  EXPECT_NE(error.find("fx/z.cfx:2: the GLSL file 'zero.glsl' holds a zero byte"), std::string::npos) << error;

  for (const char* path : {"../up.glsl", "/etc/passwd", "a/../b.glsl", "a/./b.glsl", "a\\b.glsl", "./a.glsl", "a/"}) {
    fx::EffectDesc bad;
    const std::string badText = std::string("effect 1\nglsl b from ") + path + "\n";
    EXPECT_FALSE(fx::ParseEffect(badText, "p.cfx", bad, error)) << path;
    EXPECT_NE(error.find("p.cfx:2: '"), std::string::npos) << error;
    EXPECT_NE(error.find("is not a usable GLSL file path"), std::string::npos) << error;
  }
}

struct BadCase {
  const char* text;
  int line;
  const char* message;
};

constexpr const char* kPass = "  pass\n    vertex b\n    fragment b\n  end\n";

TEST(FxFormat, BadFilesFailWithTheFileLineAndReason) {
  const std::string head = "effect 1\nglsl b\nvoid main() {}\nend\n";  // lines 1-4
  const std::string ok = head + "technique T\n" + kPass + "end\n";
  ASSERT_TRUE(ParseOk(ok).techniques.size() == 1);
  const BadCase cases[] = {
      {"", 1, "not an effect file"},
      {"\n\n", 1, "not an effect file"},
      {"glsl b\nend\n", 1, "not an effect file"},
      {"effect 2\n", 1, "unsupported format version 2"},
      {"effect 1\n", 1, "has no technique"},
      {"effect 1 extra\n", 1, "not an effect file"},
      {"effect 1\nshader x\n", 2, "unknown statement 'shader'"},
      {"effect 1\nglsl b\nvoid main() {}\n", 2, "glsl block 'b' is not closed"},
      {"effect 1\nglsl\nend\n", 2, "glsl needs exactly one name"},
      {"effect 1\nglsl 9b\nend\n", 2, "'9b' is not a valid glsl name"},
      {"effect 1\nglsl b\nend\nglsl b\nend\n", 4, "defined twice"},
      {"effect 1\nsampler s\n  min_filter fuzzy\nend\n", 3, "unknown min_filter value 'fuzzy'"},
      {"effect 1\nsampler s\n  mag_filter linear_mipmap_linear\nend\n", 3, "unknown mag_filter value"},
      {"effect 1\nsampler s\n  wrap_s repeat\n  wrap_s clamp\nend\n", 4, "wrap_s is set twice"},
      {"effect 1\nsampler s\n  anisotropy 4\nend\n", 3, "unknown sampler state 'anisotropy'"},
      {"effect 1\nsampler s\n  compare\nend\n", 3, "compare takes one value"},
      {"effect 1\nsampler s\n", 2, "sampler 's' is not closed"},
      {"effect 1\nsampler s\nend\nsampler s\nend\n", 4, "described twice"},
      {"effect 1\nglsl b\nend\ntechnique T\nend\n", 4, "technique 'T' has no pass"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    vertex b\n  end\nend\n", 5,
       "needs both a vertex and a fragment"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    vertex b\n    fragment c\n  end\nend\n", 5,
       "unknown glsl block 'c'"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    vertex b\n    vertex b\n", 7, "vertex is given twice"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    depth_test yes\n", 6, "unknown depth_test value 'yes'"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    depth_write on\n    depth_write off\n", 7,
       "depth_write is set twice"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    blend one\n", 6, "blend takes"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    blend one src_alpha_saturate\n", 6,
       "unknown blend factor 'src_alpha_saturate'"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    cull sideways\n", 6, "unknown cull value"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    wireframe on\n", 6, "unknown pass statement 'wireframe'"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass a b\n", 5, "pass takes at most one name"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    vertex b\n    fragment b\n", 5, "pass 'p0' is not closed"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass x\n    vertex b\n    fragment b\n  end\n  pass x\n", 9,
       "two passes named 'x'"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    vertex b\n    fragment b\n  end\n", 4,
       "technique 'T' is not closed"},
      {"effect 1\nglsl b\nend\ntechnique T\n  pass\n    vertex b\n    fragment b\n  end\nend now\n", 9,
       "unexpected words after end"},
      {"effect 1\nglsl b\nend\ntechnique T\n  shade\n", 5, "unknown technique statement 'shade'"},
      {"effect 1\nglsl b\nend\ntechnique T\n  define X\n  pass\n    vertex b\n    fragment b\n    define X=2\n"
       "  end\nend\n",
       6, "defines X twice"},
      {"effect 1\nglsl b\nend\ntechnique T\n  define VERTEX_SHADER\n  pass\n    vertex b\n    fragment b\n"
       "  end\nend\n",
       6, "set by the runtime"},
      {"effect 1\nglsl b\nend\ntechnique T\n  define GL_X\n", 5, "reserved"},
      {"effect 1\nglsl b\nend\ntechnique T\n  define 1X\n", 5, "not a valid macro name"},
      {"effect 1\nglsl b\nend\ntechnique T\n  define\n", 5, "define needs"},
  };
  for (const BadCase& c : cases) {
    fx::EffectDesc effect;
    effect.techniques.resize(3);  // the reader must clear what it is handed
    std::string error;
    EXPECT_FALSE(fx::ParseEffect(c.text, "dir/bad.cfx", effect, error)) << c.text;
    const std::string prefix = "dir/bad.cfx:" + std::to_string(c.line) + ": ";
    EXPECT_EQ(error.rfind(prefix, 0), 0u) << "for:\n" << c.text << "\ngot: " << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << "for:\n" << c.text << "\ngot: " << error;
    EXPECT_TRUE(effect.techniques.empty());
  }

  // Duplicate technique names are reported with the first one's line.
  std::string error;
  fx::EffectDesc effect;
  EXPECT_FALSE(fx::ParseEffect(ok + "technique T\n", "x.cfx", effect, error));
  EXPECT_NE(error.find("x.cfx:11: technique 'T' defined twice (first at line 5)"), std::string::npos) << error;

  // A zero byte anywhere is refused, also inside GLSL.
  std::string zero = ok;
  zero[head.size() - 6] = '\0';
  EXPECT_FALSE(fx::ParseEffect(zero, "z.cfx", effect, error));
  EXPECT_NE(error.find("z.cfx:3: zero byte"), std::string::npos) << error;
}

}  // namespace
