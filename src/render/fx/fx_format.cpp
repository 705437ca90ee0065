#include "render/fx/fx_format.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cctype>
#include <cstddef>
#include <utility>

namespace fx {
namespace {

struct Keyword {
  const char* word;
  unsigned value;
};

constexpr Keyword kMinFilters[] = {
    {"nearest", GL_NEAREST},
    {"linear", GL_LINEAR},
    {"nearest_mipmap_nearest", GL_NEAREST_MIPMAP_NEAREST},
    {"linear_mipmap_nearest", GL_LINEAR_MIPMAP_NEAREST},
    {"nearest_mipmap_linear", GL_NEAREST_MIPMAP_LINEAR},
    {"linear_mipmap_linear", GL_LINEAR_MIPMAP_LINEAR},
};
constexpr Keyword kMagFilters[] = {{"nearest", GL_NEAREST}, {"linear", GL_LINEAR}};
constexpr Keyword kWrapModes[] = {
    {"repeat", GL_REPEAT},
    {"clamp", GL_CLAMP},
    {"clamp_to_edge", GL_CLAMP_TO_EDGE},
    {"clamp_to_border", GL_CLAMP_TO_BORDER},
    {"mirrored_repeat", GL_MIRRORED_REPEAT},
};
constexpr Keyword kCompareFuncs[] = {
    {"none", GL_NONE},       {"never", GL_NEVER},   {"less", GL_LESS},
    {"lequal", GL_LEQUAL},   {"equal", GL_EQUAL},   {"gequal", GL_GEQUAL},
    {"greater", GL_GREATER}, {"notequal", GL_NOTEQUAL}, {"always", GL_ALWAYS},
};
constexpr Keyword kDepthFuncs[] = {
    {"never", GL_NEVER},     {"less", GL_LESS},         {"lequal", GL_LEQUAL},
    {"equal", GL_EQUAL},     {"gequal", GL_GEQUAL},     {"greater", GL_GREATER},
    {"notequal", GL_NOTEQUAL}, {"always", GL_ALWAYS},
};
constexpr Keyword kBlendFactors[] = {
    {"zero", GL_ZERO},
    {"one", GL_ONE},
    {"src_color", GL_SRC_COLOR},
    {"one_minus_src_color", GL_ONE_MINUS_SRC_COLOR},
    {"dst_color", GL_DST_COLOR},
    {"one_minus_dst_color", GL_ONE_MINUS_DST_COLOR},
    {"src_alpha", GL_SRC_ALPHA},
    {"one_minus_src_alpha", GL_ONE_MINUS_SRC_ALPHA},
    {"dst_alpha", GL_DST_ALPHA},
    {"one_minus_dst_alpha", GL_ONE_MINUS_DST_ALPHA},
    {"src_alpha_saturate", GL_SRC_ALPHA_SATURATE},
};
constexpr Keyword kCullFaces[] = {
    {"off", GL_NONE}, {"back", GL_BACK}, {"front", GL_FRONT}, {"front_and_back", GL_FRONT_AND_BACK}};
constexpr Keyword kSwitches[] = {{"off", 0}, {"on", 1}};

template <std::size_t N>
const Keyword* FindWord(const Keyword (&table)[N], std::string_view word) {
  for (const Keyword& k : table) {
    if (word == k.word) return &k;
  }
  return nullptr;
}

template <std::size_t N>
const char* WordFor(const Keyword (&table)[N], unsigned value) {
  for (const Keyword& k : table) {
    if (k.value == value) return k.word;
  }
  return nullptr;
}

template <std::size_t N>
std::string Choices(const Keyword (&table)[N]) {
  std::string text;
  for (const Keyword& k : table) {
    if (!text.empty()) text += ", ";
    text += k.word;
  }
  return text;
}

bool IsIdentifier(std::string_view word) {
  if (word.empty()) return false;
  const auto first = static_cast<unsigned char>(word[0]);
  if (!std::isalpha(first) && first != '_') return false;
  for (char c : word) {
    const auto u = static_cast<unsigned char>(c);
    if (!std::isalnum(u) && u != '_') return false;
  }
  return true;
}

// A GLSL file beside the effect file or below its folder: relative, with '/' between
// parts, never leaving the folder.
bool IsBlockFilePath(std::string_view path) {
  if (path.empty() || path.front() == '/') return false;
  for (char c : path) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= ' ' || u >= 127 || c == '\\') return false;
  }
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

// Drops the carriage return of CRLF line ends.
std::string WithoutCarriageReturns(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n' || text[i + 1] == '\r')) continue;
    out += text[i];
  }
  return out;
}

bool IsDefineValue(std::string_view value) {
  for (char c : value) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= ' ' || u >= 127) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

struct Line {
  std::string_view text;  // without the line break
  int number = 0;
};

// The statements of the format: words separated by blanks, "//" to the end of the line
// is a comment.
std::vector<std::string_view> Words(std::string_view line) {
  const std::size_t comment = line.find("//");
  if (comment != std::string_view::npos) line = line.substr(0, comment);
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& source, EffectDesc& effect, std::string& error)
      : source_(source), effect_(effect), error_(error) {
    // Lines end at '\n' (carriage returns before it are dropped); a final line break does not
    // start another line.
    std::size_t start = 0;
    int number = 1;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back({line, number++});
      start = end + 1;
    }
  }

  bool Run() {
    for (const Line& line : lines_) {
      if (line.text.find('\0') != std::string_view::npos) {
        return Fail(line.number, "zero byte in the text");
      }
    }
    std::vector<std::string_view> words;
    int number = 0;
    if (!NextStatement(words, number) || words.size() != 2 || words[0] != "effect") {
      return Fail(number == 0 ? 1 : number, "not an effect file: it must begin with \"effect " +
                                                std::to_string(kFormatVersion) + "\"");
    }
    if (words[1] != std::to_string(kFormatVersion)) {
      return Fail(number, "unsupported format version " + std::string(words[1]) + " (this reader knows " +
                              std::to_string(kFormatVersion) + ")");
    }
    while (NextStatement(words, number)) {
      const std::string_view keyword = words[0];
      if (keyword == "glsl") {
        if (!ParseCode(words, number)) return false;
      } else if (keyword == "sampler") {
        if (!ParseSampler(words, number, effect_.samplers)) return false;
      } else if (keyword == "technique") {
        if (!ParseTechnique(words, number)) return false;
      } else {
        return Fail(number, "unknown statement '" + std::string(keyword) +
                                "' (expected glsl, sampler or technique)");
      }
    }
    if (effect_.techniques.empty()) return Fail(last_line_, "the effect has no technique");
    return Validate();
  }

 private:
  bool Fail(int line, const std::string& message) {
    error_ = source_ + ":" + std::to_string(line) + ": " + message;
    return false;
  }

  // The next line that holds words; false at the end of the text.
  bool NextStatement(std::vector<std::string_view>& words, int& number) {
    while (next_ < lines_.size()) {
      const Line& line = lines_[next_++];
      last_line_ = line.number;
      words = Words(line.text);
      if (!words.empty()) {
        number = line.number;
        return true;
      }
    }
    return false;
  }

  bool ExpectName(const std::vector<std::string_view>& words, int number, const char* what) {
    if (words.size() != 2) {
      return Fail(number, std::string(what) + " needs exactly one name: " + what + " <name>");
    }
    if (!IsIdentifier(words[1])) {
      return Fail(number, "'" + std::string(words[1]) + "' is not a valid " + what +
                              " name (letters, digits and '_', not starting with a digit)");
    }
    return true;
  }

  bool ParseCode(const std::vector<std::string_view>& words, int number) {
    const bool external = words.size() == 4 && words[2] == "from";
    if (!external && !ExpectName(words, number, "glsl")) return false;
    if (external && !IsIdentifier(words[1])) {
      return Fail(number, "'" + std::string(words[1]) + "' is not a valid glsl name");
    }
    const std::string name(words[1]);
    for (const CodeBlock& block : effect_.blocks) {
      if (block.name == name) {
        return Fail(number, "glsl block '" + name + "' defined twice (first at line " +
                                std::to_string(block.line) + ")");
      }
    }
    CodeBlock block;
    block.name = name;
    block.line = number;
    if (external) {
      if (!IsBlockFilePath(words[3])) {
        return Fail(number, "'" + std::string(words[3]) +
                                "' is not a usable GLSL file path (relative, '/' between parts, no '..')");
      }
      block.file = std::string(words[3]);
      block.firstLine = 1;
      effect_.blocks.push_back(std::move(block));
      return true;
    }
    block.firstLine = number + 1;
    while (next_ < lines_.size()) {
      const Line& line = lines_[next_++];
      last_line_ = line.number;
      if (Trim(line.text) == "end") {
        effect_.blocks.push_back(std::move(block));
        return true;
      }
      block.text.append(line.text);
      block.text.push_back('\n');
    }
    return Fail(number, "glsl block '" + name + "' is not closed with \"end\"");
  }

  template <std::size_t N>
  bool ReadEnum(const std::vector<std::string_view>& words, int number, const Keyword (&table)[N],
                std::optional<unsigned>& target) {
    const std::string key(words[0]);
    if (words.size() != 2) return Fail(number, key + " takes one value: " + Choices(table));
    if (target.has_value()) return Fail(number, key + " is set twice");
    const Keyword* found = FindWord(table, words[1]);
    if (found == nullptr) {
      return Fail(number, "unknown " + key + " value '" + std::string(words[1]) + "' (expected " +
                              Choices(table) + ")");
    }
    target = found->value;
    return true;
  }

  bool ReadSwitch(const std::vector<std::string_view>& words, int number, std::optional<bool>& target) {
    std::optional<unsigned> value;
    if (target.has_value()) return Fail(number, std::string(words[0]) + " is set twice");
    if (!ReadEnum(words, number, kSwitches, value)) return false;
    target = *value != 0;
    return true;
  }

  bool ParseSampler(const std::vector<std::string_view>& words, int number,
                    std::vector<SamplerStates>& list) {
    if (!ExpectName(words, number, "sampler")) return false;
    SamplerStates sampler;
    sampler.name = std::string(words[1]);
    sampler.line = number;
    for (const SamplerStates& other : list) {
      if (other.name == sampler.name) {
        return Fail(number, "sampler '" + sampler.name + "' is described twice here (first at line " +
                                std::to_string(other.line) + ")");
      }
    }
    std::vector<std::string_view> inner;
    int line = 0;
    while (NextStatement(inner, line)) {
      const std::string_view key = inner[0];
      bool ok = true;
      if (key == "end") {
        if (inner.size() != 1) return Fail(line, "unexpected words after end");
        list.push_back(std::move(sampler));
        return true;
      } else if (key == "min_filter") {
        ok = ReadEnum(inner, line, kMinFilters, sampler.minFilter);
      } else if (key == "mag_filter") {
        ok = ReadEnum(inner, line, kMagFilters, sampler.magFilter);
      } else if (key == "wrap_s") {
        ok = ReadEnum(inner, line, kWrapModes, sampler.wrapS);
      } else if (key == "wrap_t") {
        ok = ReadEnum(inner, line, kWrapModes, sampler.wrapT);
      } else if (key == "wrap_r") {
        ok = ReadEnum(inner, line, kWrapModes, sampler.wrapR);
      } else if (key == "compare") {
        ok = ReadEnum(inner, line, kCompareFuncs, sampler.compare);
      } else {
        return Fail(line, "unknown sampler state '" + std::string(key) +
                              "' (expected min_filter, mag_filter, wrap_s, wrap_t, wrap_r, compare or end)");
      }
      if (!ok) return false;
    }
    return Fail(number, "sampler '" + sampler.name + "' is not closed with \"end\"");
  }

  bool ReadDefines(const std::vector<std::string_view>& words, int number, std::vector<Define>& list) {
    if (words.size() < 2) return Fail(number, "define needs at least one NAME or NAME=VALUE");
    for (std::size_t i = 1; i < words.size(); ++i) {
      const std::string_view word = words[i];
      const std::size_t equals = word.find('=');
      Define define;
      define.name = std::string(word.substr(0, equals));
      if (equals != std::string_view::npos) define.value = std::string(word.substr(equals + 1));
      if (!IsIdentifier(define.name)) {
        return Fail(number, "'" + define.name + "' is not a valid macro name");
      }
      if (define.name.compare(0, 3, "GL_") == 0) {
        return Fail(number, "macro names beginning with GL_ are reserved");
      }
      if (!IsDefineValue(define.value)) return Fail(number, "invalid macro value in '" + std::string(word) + "'");
      list.push_back(std::move(define));
    }
    return true;
  }

  bool ReadBlend(const std::vector<std::string_view>& words, int number, std::optional<BlendFunc>& target) {
    if (target.has_value()) return Fail(number, "blend is set twice");
    BlendFunc blend;
    if (words.size() == 2 && words[1] == "off") {
      target = blend;
      return true;
    }
    if (words.size() != 3) {
      return Fail(number, "blend takes \"off\" or a source and a destination factor");
    }
    const Keyword* source = FindWord(kBlendFactors, words[1]);
    const Keyword* destination = FindWord(kBlendFactors, words[2]);
    if (source == nullptr || destination == nullptr ||
        destination->value == GL_SRC_ALPHA_SATURATE) {
      const std::string_view bad = source == nullptr ? words[1] : words[2];
      return Fail(number, "unknown blend factor '" + std::string(bad) + "' (expected " +
                              Choices(kBlendFactors) + "; src_alpha_saturate only as source)");
    }
    blend.enabled = true;
    blend.source = source->value;
    blend.destination = destination->value;
    target = blend;
    return true;
  }

  bool ReadBlocks(const std::vector<std::string_view>& words, int number, std::vector<std::string>& target) {
    const std::string key(words[0]);
    if (!target.empty()) return Fail(number, key + " is given twice");
    if (words.size() < 2) return Fail(number, key + " needs at least one glsl block name");
    for (std::size_t i = 1; i < words.size(); ++i) {
      if (!IsIdentifier(words[i])) return Fail(number, "'" + std::string(words[i]) + "' is not a block name");
      target.emplace_back(words[i]);
    }
    return true;
  }

  bool ParsePass(const std::vector<std::string_view>& words, int number, TechniqueDesc& technique) {
    if (words.size() > 2) return Fail(number, "pass takes at most one name: pass [<name>]");
    PassDesc pass;
    pass.line = number;
    if (words.size() == 2) {
      if (!IsIdentifier(words[1])) return Fail(number, "'" + std::string(words[1]) + "' is not a valid pass name");
      pass.name = std::string(words[1]);
    } else {
      pass.name = "p" + std::to_string(technique.passes.size());
    }
    for (const PassDesc& other : technique.passes) {
      if (other.name == pass.name) {
        return Fail(number, "technique '" + technique.name + "' has two passes named '" + pass.name + "'");
      }
    }
    std::vector<std::string_view> inner;
    int line = 0;
    while (NextStatement(inner, line)) {
      const std::string_view key = inner[0];
      bool ok = true;
      if (key == "end") {
        if (inner.size() != 1) return Fail(line, "unexpected words after end");
        if (pass.vertexBlocks.empty() || pass.fragmentBlocks.empty()) {
          return Fail(number, "pass '" + pass.name + "' needs both a vertex and a fragment line");
        }
        technique.passes.push_back(std::move(pass));
        return true;
      } else if (key == "vertex") {
        ok = ReadBlocks(inner, line, pass.vertexBlocks);
      } else if (key == "fragment") {
        ok = ReadBlocks(inner, line, pass.fragmentBlocks);
      } else if (key == "define") {
        ok = ReadDefines(inner, line, pass.defines);
      } else if (key == "depth_test") {
        ok = ReadSwitch(inner, line, pass.states.depthTest);
      } else if (key == "depth_write") {
        ok = ReadSwitch(inner, line, pass.states.depthWrite);
      } else if (key == "depth_func") {
        ok = ReadEnum(inner, line, kDepthFuncs, pass.states.depthFunc);
      } else if (key == "color_write") {
        ok = ReadSwitch(inner, line, pass.states.colorWrite);
      } else if (key == "blend") {
        ok = ReadBlend(inner, line, pass.states.blend);
      } else if (key == "cull") {
        ok = ReadEnum(inner, line, kCullFaces, pass.states.cullFace);
      } else if (key == "sampler") {
        ok = ParseSampler(inner, line, pass.samplers);
      } else {
        return Fail(line, "unknown pass statement '" + std::string(key) +
                              "' (expected vertex, fragment, define, depth_test, depth_write, "
                              "depth_func, color_write, blend, cull, sampler or end)");
      }
      if (!ok) return false;
    }
    return Fail(number, "pass '" + pass.name + "' is not closed with \"end\"");
  }

  bool ParseTechnique(const std::vector<std::string_view>& words, int number) {
    if (!ExpectName(words, number, "technique")) return false;
    TechniqueDesc technique;
    technique.name = std::string(words[1]);
    technique.line = number;
    for (const TechniqueDesc& other : effect_.techniques) {
      if (other.name == technique.name) {
        return Fail(number, "technique '" + technique.name + "' defined twice (first at line " +
                                std::to_string(other.line) + ")");
      }
    }
    std::vector<std::string_view> inner;
    int line = 0;
    while (NextStatement(inner, line)) {
      const std::string_view key = inner[0];
      if (key == "end") {
        if (inner.size() != 1) return Fail(line, "unexpected words after end");
        if (technique.passes.empty()) {
          return Fail(number, "technique '" + technique.name + "' has no pass");
        }
        effect_.techniques.push_back(std::move(technique));
        return true;
      } else if (key == "pass") {
        if (!ParsePass(inner, line, technique)) return false;
      } else if (key == "define") {
        if (!ReadDefines(inner, line, technique.defines)) return false;
      } else {
        return Fail(line, "unknown technique statement '" + std::string(key) +
                              "' (expected pass, define or end)");
      }
    }
    return Fail(number, "technique '" + technique.name + "' is not closed with \"end\"");
  }

  // Checks that need the whole file: block references and clashing macros.
  bool Validate() {
    for (const TechniqueDesc& technique : effect_.techniques) {
      for (const PassDesc& pass : technique.passes) {
        for (const auto* list : {&pass.vertexBlocks, &pass.fragmentBlocks}) {
          for (const std::string& name : *list) {
            if (FindBlock(effect_, name) == nullptr) {
              return Fail(pass.line, "pass '" + pass.name + "' of technique '" + technique.name +
                                         "' uses the unknown glsl block '" + name + "'");
            }
          }
        }
        std::vector<const Define*> all;
        for (const Define& d : technique.defines) all.push_back(&d);
        for (const Define& d : pass.defines) all.push_back(&d);
        for (std::size_t i = 0; i < all.size(); ++i) {
          if (all[i]->name == "VERTEX_SHADER" || all[i]->name == "FRAGMENT_SHADER") {
            return Fail(pass.line, "the macro " + all[i]->name + " is set by the runtime");
          }
          for (std::size_t j = 0; j < i; ++j) {
            if (all[i]->name == all[j]->name) {
              return Fail(pass.line, "pass '" + pass.name + "' of technique '" + technique.name +
                                         "' defines " + all[i]->name + " twice");
            }
          }
        }
      }
    }
    return true;
  }

  const std::string& source_;
  EffectDesc& effect_;
  std::string& error_;
  std::vector<Line> lines_;
  std::size_t next_ = 0;
  int last_line_ = 1;
};

// --- writing ---

template <std::size_t N>
bool WriteEnum(std::string& out, const char* indent, const char* key, const Keyword (&table)[N],
               const std::optional<unsigned>& value, std::string& error) {
  if (!value.has_value()) return true;
  const char* word = WordFor(table, *value);
  if (word == nullptr) {
    error = std::string("value ") + std::to_string(*value) + " cannot be written as " + key;
    return false;
  }
  out += indent;
  out += key;
  out += ' ';
  out += word;
  out += '\n';
  return true;
}

void WriteSwitch(std::string& out, const char* indent, const char* key, const std::optional<bool>& value) {
  if (!value.has_value()) return;
  out += indent;
  out += key;
  out += *value ? " on\n" : " off\n";
}

bool WriteSampler(std::string& out, const char* indent, const SamplerStates& s, std::string& error) {
  if (!IsIdentifier(s.name)) {
    error = "'" + s.name + "' is not a valid sampler name";
    return false;
  }
  const std::string inner = std::string(indent) + "  ";
  out += indent;
  out += "sampler " + s.name + "\n";
  if (!WriteEnum(out, inner.c_str(), "min_filter", kMinFilters, s.minFilter, error) ||
      !WriteEnum(out, inner.c_str(), "mag_filter", kMagFilters, s.magFilter, error) ||
      !WriteEnum(out, inner.c_str(), "wrap_s", kWrapModes, s.wrapS, error) ||
      !WriteEnum(out, inner.c_str(), "wrap_t", kWrapModes, s.wrapT, error) ||
      !WriteEnum(out, inner.c_str(), "wrap_r", kWrapModes, s.wrapR, error) ||
      !WriteEnum(out, inner.c_str(), "compare", kCompareFuncs, s.compare, error)) {
    return false;
  }
  out += indent;
  out += "end\n";
  return true;
}

bool WriteDefines(std::string& out, const char* indent, const std::vector<Define>& defines, std::string& error) {
  for (const Define& d : defines) {
    if (!IsIdentifier(d.name) || d.name.compare(0, 3, "GL_") == 0 || !IsDefineValue(d.value)) {
      error = "macro '" + d.name + "' cannot be written";
      return false;
    }
    out += indent;
    out += "define " + d.name;
    if (!d.value.empty()) out += "=" + d.value;
    out += '\n';
  }
  return true;
}

bool WriteBlockList(std::string& out, const char* key, const std::vector<std::string>& names,
                    const EffectDesc& effect, std::string& error) {
  if (names.empty()) {
    error = std::string("a pass has no ") + key + " blocks";
    return false;
  }
  out += "    ";
  out += key;
  for (const std::string& name : names) {
    if (FindBlock(effect, name) == nullptr) {
      error = "a pass uses the unknown glsl block '" + name + "'";
      return false;
    }
    out += ' ' + name;
  }
  out += '\n';
  return true;
}

template <typename T>
bool SameOptional(const std::optional<T>& a, const std::optional<T>& b) {
  return a.has_value() == b.has_value() && (!a.has_value() || *a == *b);
}

bool SameDefines(const std::vector<Define>& a, const std::vector<Define>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].value != b[i].value) return false;
  }
  return true;
}

void SetIfUnset(std::optional<unsigned>& target, const std::optional<unsigned>& value) {
  if (value.has_value()) target = value;
}

// 0 for code in the effect file, else the number of the block's file.
int SourceStringNumber(const EffectDesc& effect, const CodeBlock& block) {
  if (block.file.empty()) return 0;
  std::vector<const std::string*> files;
  for (const CodeBlock& b : effect.blocks) {
    if (b.file.empty()) continue;
    bool seen = false;
    for (const std::string* f : files) seen = seen || *f == b.file;
    if (!seen) files.push_back(&b.file);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (*files[i] == block.file) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace

bool ParseEffect(std::string_view text, const std::string& sourceName, EffectDesc& effect,
                 std::string& error) {
  effect = EffectDesc();
  Parser parser(text, sourceName, effect, error);
  if (parser.Run()) return true;
  effect = EffectDesc();
  return false;
}

bool WriteEffect(const EffectDesc& effect, std::string& text, std::string& error) {
  std::string out = "effect " + std::to_string(kFormatVersion) + "\n";
  for (const CodeBlock& block : effect.blocks) {
    if (!IsIdentifier(block.name)) {
      error = "'" + block.name + "' is not a valid glsl block name";
      return false;
    }
    if (!block.file.empty()) {
      if (!IsBlockFilePath(block.file)) {
        error = "'" + block.file + "' is not a usable GLSL file path";
        return false;
      }
      out += "\nglsl " + block.name + " from " + block.file + "\n";
      continue;
    }
    out += "\nglsl " + block.name + "\n";
    std::size_t start = 0;
    while (start < block.text.size()) {
      std::size_t end = block.text.find('\n', start);
      if (end == std::string::npos) end = block.text.size();
      const std::string_view line(block.text.data() + start, end - start);
      if (Trim(line) == "end" || line.find('\0') != std::string_view::npos ||
          (!line.empty() && line.back() == '\r')) {
        error = "glsl block '" + block.name + "' holds a line that cannot be written";
        return false;
      }
      out.append(line);
      out += '\n';
      start = end + 1;
    }
    out += "end\n";
  }
  for (const SamplerStates& sampler : effect.samplers) {
    out += '\n';
    if (!WriteSampler(out, "", sampler, error)) return false;
  }
  if (effect.techniques.empty()) {
    error = "an effect needs at least one technique";
    return false;
  }
  for (const TechniqueDesc& technique : effect.techniques) {
    if (!IsIdentifier(technique.name)) {
      error = "'" + technique.name + "' is not a valid technique name";
      return false;
    }
    if (technique.passes.empty()) {
      error = "technique '" + technique.name + "' has no pass";
      return false;
    }
    out += "\ntechnique " + technique.name + "\n";
    if (!WriteDefines(out, "  ", technique.defines, error)) return false;
    for (const PassDesc& pass : technique.passes) {
      if (!IsIdentifier(pass.name)) {
        error = "'" + pass.name + "' is not a valid pass name";
        return false;
      }
      out += "  pass " + pass.name + "\n";
      if (!WriteBlockList(out, "vertex", pass.vertexBlocks, effect, error) ||
          !WriteBlockList(out, "fragment", pass.fragmentBlocks, effect, error) ||
          !WriteDefines(out, "    ", pass.defines, error)) {
        return false;
      }
      const RenderStates& s = pass.states;
      WriteSwitch(out, "    ", "depth_test", s.depthTest);
      WriteSwitch(out, "    ", "depth_write", s.depthWrite);
      if (!WriteEnum(out, "    ", "depth_func", kDepthFuncs, s.depthFunc, error)) return false;
      WriteSwitch(out, "    ", "color_write", s.colorWrite);
      if (s.blend.has_value()) {
        if (!s.blend->enabled) {
          out += "    blend off\n";
        } else {
          const char* source = WordFor(kBlendFactors, s.blend->source);
          const char* destination = WordFor(kBlendFactors, s.blend->destination);
          if (source == nullptr || destination == nullptr || s.blend->destination == GL_SRC_ALPHA_SATURATE) {
            error = "a blend function cannot be written";
            return false;
          }
          out += std::string("    blend ") + source + " " + destination + "\n";
        }
      }
      if (!WriteEnum(out, "    ", "cull", kCullFaces, s.cullFace, error)) return false;
      for (const SamplerStates& sampler : pass.samplers) {
        if (!WriteSampler(out, "    ", sampler, error)) return false;
      }
      out += "  end\n";
    }
    out += "end\n";
  }
  // Reading the result back must give the same effect; anything else (a duplicate
  // name, a macro set twice) is a description the format cannot hold.
  EffectDesc check;
  std::string checkError;
  if (!ParseEffect(out, "written effect", check, checkError)) {
    error = checkError;
    return false;
  }
  if (!(check == effect)) {
    error = "the effect cannot be written so that it reads back the same";
    return false;
  }
  text = std::move(out);
  return true;
}

bool operator==(const SamplerStates& a, const SamplerStates& b) {
  return a.name == b.name && SameOptional(a.minFilter, b.minFilter) && SameOptional(a.magFilter, b.magFilter) &&
         SameOptional(a.wrapS, b.wrapS) && SameOptional(a.wrapT, b.wrapT) && SameOptional(a.wrapR, b.wrapR) &&
         SameOptional(a.compare, b.compare);
}

bool operator==(const RenderStates& a, const RenderStates& b) {
  const bool sameBlend =
      a.blend.has_value() == b.blend.has_value() &&
      (!a.blend.has_value() ||
       (a.blend->enabled == b.blend->enabled &&
        (!a.blend->enabled ||
         (a.blend->source == b.blend->source && a.blend->destination == b.blend->destination))));
  return SameOptional(a.depthTest, b.depthTest) && SameOptional(a.depthWrite, b.depthWrite) &&
         SameOptional(a.depthFunc, b.depthFunc) && SameOptional(a.colorWrite, b.colorWrite) && sameBlend &&
         SameOptional(a.cullFace, b.cullFace);
}

bool operator==(const PassDesc& a, const PassDesc& b) {
  return a.name == b.name && a.vertexBlocks == b.vertexBlocks && a.fragmentBlocks == b.fragmentBlocks &&
         SameDefines(a.defines, b.defines) && a.states == b.states && a.samplers == b.samplers;
}

bool operator==(const TechniqueDesc& a, const TechniqueDesc& b) {
  return a.name == b.name && SameDefines(a.defines, b.defines) && a.passes == b.passes;
}

bool operator==(const EffectDesc& a, const EffectDesc& b) {
  if (a.blocks.size() != b.blocks.size()) return false;
  for (std::size_t i = 0; i < a.blocks.size(); ++i) {
    if (a.blocks[i].name != b.blocks[i].name || a.blocks[i].text != b.blocks[i].text ||
        a.blocks[i].file != b.blocks[i].file) {
      return false;
    }
  }
  return a.samplers == b.samplers && a.techniques == b.techniques;
}

const CodeBlock* FindBlock(const EffectDesc& effect, const std::string& name) {
  for (const CodeBlock& block : effect.blocks) {
    if (block.name == name) return &block;
  }
  return nullptr;
}

std::string StageSource(const EffectDesc& effect, const TechniqueDesc& technique, const PassDesc& pass,
                        Stage stage) {
  std::string source = "#version 120\n";
  source += stage == Stage::kVertex ? "#define VERTEX_SHADER 1\n" : "#define FRAGMENT_SHADER 1\n";
  for (const auto* list : {&technique.defines, &pass.defines}) {
    for (const Define& d : *list) {
      source += "#define " + d.name + (d.value.empty() ? std::string(" 1") : " " + d.value) + "\n";
    }
  }
  const auto& names = stage == Stage::kVertex ? pass.vertexBlocks : pass.fragmentBlocks;
  for (const std::string& name : names) {
    const CodeBlock* block = FindBlock(effect, name);
    if (block == nullptr) continue;
    // In GLSL 1.20 the line after "#line n s" is line n + 1 of source string s.
    source += "#line " + std::to_string(block->firstLine - 1) + " " +
              std::to_string(SourceStringNumber(effect, *block)) + "\n";
    source += block->text;
    if (!block->text.empty() && block->text.back() != '\n') source += '\n';
  }
  return source;
}

std::string SourceStringLegend(const EffectDesc& effect) {
  std::string legend;
  std::vector<std::string> files;
  for (const CodeBlock& block : effect.blocks) {
    if (block.file.empty()) continue;
    bool seen = false;
    for (const std::string& f : files) seen = seen || f == block.file;
    if (seen) continue;
    files.push_back(block.file);
    if (!legend.empty()) legend += ", ";
    legend += "source " + std::to_string(files.size()) + " is " + block.file;
  }
  return legend;
}

bool ResolveBlockFiles(EffectDesc& effect, const std::string& sourceName, const std::string& folder,
                       ReadBlockFile read, std::string& error) {
  for (CodeBlock& block : effect.blocks) {
    if (block.file.empty()) continue;
    std::string text;
    if (read == nullptr || !read(folder, block.file, text)) {
      error = sourceName + ":" + std::to_string(block.line) + ": cannot read the GLSL file '" + block.file + "'";
      return false;
    }
    if (text.find('\0') != std::string::npos) {
      error = sourceName + ":" + std::to_string(block.line) + ": the GLSL file '" + block.file + "' holds a zero byte";
      return false;
    }
    block.text = WithoutCarriageReturns(text);
  }
  return true;
}

SamplerStates EffectiveSamplerStates(const EffectDesc& effect, const PassDesc& pass,
                                     const std::string& samplerName) {
  SamplerStates result;
  result.name = samplerName;
  for (const auto* list : {&effect.samplers, &pass.samplers}) {
    for (const SamplerStates& s : *list) {
      if (s.name != samplerName) continue;
      SetIfUnset(result.minFilter, s.minFilter);
      SetIfUnset(result.magFilter, s.magFilter);
      SetIfUnset(result.wrapS, s.wrapS);
      SetIfUnset(result.wrapT, s.wrapT);
      SetIfUnset(result.wrapR, s.wrapR);
      SetIfUnset(result.compare, s.compare);
      result.line = s.line;
    }
  }
  return result;
}

}  // namespace fx
