#pragma once
// The effect file format (*.cfx): GLSL 1.20 code blocks, named techniques with their
// passes in order, per-pass render states, and sampler states by sampler name. This
// header is the pure part of the effect runtime: reading, writing and assembling the
// per-stage GLSL source, all without a GL context. docs/effects.md describes the
// format for content authors.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fx {

// The format version the reader understands and the writer writes ("effect 1").
constexpr int kFormatVersion = 1;

// A named piece of GLSL, shared by every pass that lists it. The code is written in the
// effect file, or kept in a GLSL file of its own (file is then that file's path relative
// to the effect file, and text stays empty until ResolveBlockFiles reads it), so that
// several effect files can share it. firstLine is the line of the first code line in
// the file that holds it, so driver messages can point into that file.
struct CodeBlock {
  std::string name;
  std::string text;  // verbatim lines, each ending in '\n'
  int firstLine = 0;
  std::string file;
  int line = 0;  // of the glsl statement
};

// One preprocessor definition handed to both stages: "#define name value".
struct Define {
  std::string name;
  std::string value;  // may be empty
};

// Texture states applied to the texture a sampler is bound to when a pass is set.
// Every field is optional: an unset one leaves the texture as it is. Values are GL
// enumerants; compare holds GL_NONE for "no comparison" or a comparison function.
struct SamplerStates {
  std::string name;  // the sampler uniform's name
  std::optional<unsigned> minFilter;
  std::optional<unsigned> magFilter;
  std::optional<unsigned> wrapS;
  std::optional<unsigned> wrapT;
  std::optional<unsigned> wrapR;
  std::optional<unsigned> compare;
  int line = 0;
};

struct BlendFunc {
  bool enabled = false;
  unsigned source = 0;
  unsigned destination = 0;
};

// Fixed-function states a pass sets while it is active and restores when reset.
// Unset fields are left alone.
struct RenderStates {
  std::optional<bool> depthTest;
  std::optional<bool> depthWrite;
  std::optional<unsigned> depthFunc;
  std::optional<bool> colorWrite;
  std::optional<BlendFunc> blend;
  std::optional<unsigned> cullFace;  // GL_NONE = culling off, else the face to cull
};

struct PassDesc {
  std::string name;
  std::vector<std::string> vertexBlocks;
  std::vector<std::string> fragmentBlocks;
  std::vector<Define> defines;
  RenderStates states;
  std::vector<SamplerStates> samplers;  // override the effect's, field by field
  int line = 0;
};

struct TechniqueDesc {
  std::string name;
  std::vector<Define> defines;  // for every pass of the technique, before the pass's own
  std::vector<PassDesc> passes;
  int line = 0;
};

struct EffectDesc {
  std::vector<CodeBlock> blocks;
  std::vector<SamplerStates> samplers;
  std::vector<TechniqueDesc> techniques;
};

// Reads an effect from text. sourceName names the file in messages. On failure returns
// false and sets error to "<sourceName>:<line>: <what is wrong>".
bool ParseEffect(std::string_view text, const std::string& sourceName, EffectDesc& effect,
                 std::string& error);

// Writes an effect in the canonical form that ParseEffect reads back to an equal
// description. Fails (false, error set) for a description the format cannot hold:
// names that are not identifiers, a code line that would read as "end", a pass with an
// unknown block, and the like.
bool WriteEffect(const EffectDesc& effect, std::string& text, std::string& error);

// Reads the code of every block kept in a file of its own through read (which gets the
// relative path and returns false when it cannot read it). Carriage returns before line
// breaks are dropped. Fails with "<sourceName>:<line>: ..." for a file that cannot be
// read or holds a zero byte.
using ReadBlockFile = bool (*)(const std::string& folder, const std::string& file, std::string& text);
bool ResolveBlockFiles(EffectDesc& effect, const std::string& sourceName, const std::string& folder,
                       ReadBlockFile read, std::string& error);

// Descriptions are equal when everything but the line numbers matches.
bool operator==(const SamplerStates& a, const SamplerStates& b);
bool operator==(const RenderStates& a, const RenderStates& b);
bool operator==(const PassDesc& a, const PassDesc& b);
bool operator==(const TechniqueDesc& a, const TechniqueDesc& b);
bool operator==(const EffectDesc& a, const EffectDesc& b);

enum class Stage { kVertex, kFragment };

// The complete GLSL source of one stage of a pass: the version line, VERTEX_SHADER or
// FRAGMENT_SHADER, the technique's and the pass's defines, then the pass's blocks for
// that stage, each behind a #line directive that keeps its file's numbering. Code of
// the effect file is source string 0; each block file gets its own number, from 1 in
// the order the blocks are listed (SourceStringLegend names them).
// The pass must come from a description that ParseEffect accepted.
std::string StageSource(const EffectDesc& effect, const TechniqueDesc& technique,
                        const PassDesc& pass, Stage stage);

// "source 1 is a.glsl, source 2 is b.glsl", or empty when all code is in the effect file.
std::string SourceStringLegend(const EffectDesc& effect);

// The sampler states that apply to a sampler in a pass: the effect's, with the pass's
// set fields on top. A sampler named nowhere yields states with nothing set.
SamplerStates EffectiveSamplerStates(const EffectDesc& effect, const PassDesc& pass,
                                     const std::string& samplerName);

const CodeBlock* FindBlock(const EffectDesc& effect, const std::string& name);

}  // namespace fx
