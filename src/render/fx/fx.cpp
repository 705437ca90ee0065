#include "render/fx/fx.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "platform/gl.h"

namespace fx {
namespace {

// Driver logs end in a line break, often several; the messages here are one line each.
std::string OneLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      out += "; ";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ShaderLog(GLuint shader) {
  GLint length = 0;
  glext::glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::string log(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) glext::glGetShaderInfoLog(shader, length, nullptr, log.data());
  while (!log.empty() && log.back() == '\0') log.pop_back();
  return OneLine(log);
}

std::string ProgramLog(GLuint program) {
  GLint length = 0;
  glext::glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::string log(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) glext::glGetProgramInfoLog(program, length, nullptr, log.data());
  while (!log.empty() && log.back() == '\0') log.pop_back();
  return OneLine(log);
}

// A compiled shader, or 0 with the driver's message.
GLuint Compile(GLenum type, const std::string& source, std::string& log) {
  const GLuint shader = glext::glCreateShader(type);
  if (shader == 0) {
    log = "the driver could not create a shader";
    return 0;
  }
  const GLchar* text = source.c_str();
  const GLint length = static_cast<GLint>(source.size());
  glext::glShaderSource(shader, 1, &text, &length);
  glext::glCompileShader(shader);
  GLint ok = GL_FALSE;
  glext::glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    log = ShaderLog(shader);
    if (log.empty()) log = "no message from the driver";
    glext::glDeleteShader(shader);
    return 0;
  }
  return shader;
}

bool TypeFromGl(GLenum glType, ParameterType& type) {
  switch (glType) {
    case GL_FLOAT: type = ParameterType::kFloat; return true;
    case GL_FLOAT_VEC2: type = ParameterType::kVec2; return true;
    case GL_FLOAT_VEC3: type = ParameterType::kVec3; return true;
    case GL_FLOAT_VEC4: type = ParameterType::kVec4; return true;
    case GL_FLOAT_MAT4: type = ParameterType::kMat4; return true;
    case GL_SAMPLER_1D: type = ParameterType::kSampler1D; return true;
    case GL_SAMPLER_2D: type = ParameterType::kSampler2D; return true;
    case GL_SAMPLER_CUBE: type = ParameterType::kSamplerCube; return true;
    case GL_SAMPLER_2D_SHADOW: type = ParameterType::kSampler2DShadow; return true;
    default: return false;
  }
}

GLenum TextureTarget(ParameterType type) {
  switch (type) {
    case ParameterType::kSampler1D: return GL_TEXTURE_1D;
    case ParameterType::kSamplerCube: return GL_TEXTURE_CUBE_MAP;
    default: return GL_TEXTURE_2D;
  }
}

// A mipmapped filter on a texture that holds only its first level leaves the texture
// incomplete, and an incomplete texture reads as black: such a texture gets the filter's
// counterpart within one level instead.
GLenum MinFilterFor(GLenum target, GLenum filter) {
  if (filter == GL_NEAREST || filter == GL_LINEAR) return filter;
  const GLenum image = target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X : target;
  GLint width = 0;
  GLint height = 0;
  glGetTexLevelParameteriv(image, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(image, 0, GL_TEXTURE_HEIGHT, &height);
  if (width <= 1 && height <= 1) return filter;  // one level is the whole chain
  GLint nextWidth = 0;
  glGetTexLevelParameteriv(image, 1, GL_TEXTURE_WIDTH, &nextWidth);
  if (nextWidth > 0) return filter;
  return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_NEAREST_MIPMAP_LINEAR ? GL_NEAREST : GL_LINEAR;
}

void ApplySamplerStates(GLenum target, const SamplerStates& s) {
  if (s.minFilter) {
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(MinFilterFor(target, *s.minFilter)));
  }
  if (s.magFilter) glTexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(*s.magFilter));
  if (s.wrapS) glTexParameteri(target, GL_TEXTURE_WRAP_S, static_cast<GLint>(*s.wrapS));
  if (s.wrapT) glTexParameteri(target, GL_TEXTURE_WRAP_T, static_cast<GLint>(*s.wrapT));
  if (s.wrapR) glTexParameteri(target, GL_TEXTURE_WRAP_R, static_cast<GLint>(*s.wrapR));
  if (s.compare) {
    if (*s.compare == GL_NONE) {
      glTexParameteri(target, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    } else {
      glTexParameteri(target, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
      glTexParameteri(target, GL_TEXTURE_COMPARE_FUNC, static_cast<GLint>(*s.compare));
    }
  }
}

bool ReadTextFile(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return false;
  text = content.str();
  return true;
}

bool ReadBlockFromFolder(const std::string& folder, const std::string& file, std::string& text) {
  return ReadTextFile(folder.empty() ? file : folder + "/" + file, text);
}

void Toggle(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

}  // namespace

const char* ErrorCodeName(ErrorCode code) {
  switch (code) {
    case ErrorCode::kNone: return "no error";
    case ErrorCode::kInvalidParameter: return "invalid parameter";
    case ErrorCode::kTypeMismatch: return "type mismatch";
    case ErrorCode::kInvalidTechnique: return "invalid technique";
    case ErrorCode::kInvalidPass: return "invalid pass";
  }
  return "unknown error";
}

const char* ParameterTypeName(ParameterType type) {
  switch (type) {
    case ParameterType::kFloat: return "float";
    case ParameterType::kVec2: return "vec2";
    case ParameterType::kVec3: return "vec3";
    case ParameterType::kVec4: return "vec4";
    case ParameterType::kMat4: return "mat4";
    case ParameterType::kSampler1D: return "sampler1D";
    case ParameterType::kSampler2D: return "sampler2D";
    case ParameterType::kSamplerCube: return "samplerCube";
    case ParameterType::kSampler2DShadow: return "sampler2DShadow";
  }
  return "?";
}

// --- Parameter ---

int Parameter::Components() const {
  switch (type_) {
    case ParameterType::kFloat: return 1;
    case ParameterType::kVec2: return 2;
    case ParameterType::kVec3: return 3;
    case ParameterType::kVec4: return 4;
    case ParameterType::kMat4: return 16;
    default: return 0;
  }
}

void Parameter::Set(const float* values, int count) {
  const int components = Components();
  if (values == nullptr || count != components) {
    effect_.RaiseError(ErrorCode::kTypeMismatch,
                       effect_.SourceName() + ": parameter '" + name_ + "' is a " + ParameterTypeName(type_) +
                           " and cannot take " + std::to_string(count) + " float(s)");
    return;
  }
  const size_t bytes = sizeof(float) * static_cast<size_t>(count);
  if (version_ != 0 && std::memcmp(values_, values, bytes) == 0) return;
  std::memcpy(values_, values, bytes);
  if (++version_ == 0) version_ = 1;
}

void Parameter::Set2f(float x, float y) {
  const float v[2] = {x, y};
  Set(v, 2);
}

void Parameter::Set3f(float x, float y, float z) {
  const float v[3] = {x, y, z};
  Set(v, 3);
}

void Parameter::Set4f(float x, float y, float z, float w) {
  const float v[4] = {x, y, z, w};
  Set(v, 4);
}

void Parameter::SetTexture(unsigned texture) {
  if (!IsSampler()) {
    effect_.RaiseError(ErrorCode::kTypeMismatch, effect_.SourceName() + ": parameter '" + name_ + "' is a " +
                                                     ParameterTypeName(type_) + ", not a sampler");
    return;
  }
  texture_ = texture;
  if (++version_ == 0) version_ = 1;
}

// --- Pass ---

void Pass::Set() {
  glext::glUseProgram(program_->id);
  for (Program::Uniform& u : program_->uniforms) {
    const Parameter& p = *u.parameter;
    if (p.Version() == u.uploadedVersion) continue;
    u.uploadedVersion = p.Version();
    switch (p.Type()) {
      case ParameterType::kFloat: glext::glUniform1fv(u.location, 1, p.Values()); break;
      case ParameterType::kVec2: glext::glUniform2fv(u.location, 1, p.Values()); break;
      case ParameterType::kVec3: glext::glUniform3fv(u.location, 1, p.Values()); break;
      case ParameterType::kVec4: glext::glUniform4fv(u.location, 1, p.Values()); break;
      case ParameterType::kMat4: glext::glUniformMatrix4fv(u.location, 1, GL_FALSE, p.Values()); break;
      default: break;
    }
  }
  for (size_t i = 0; i < program_->samplers.size(); ++i) {
    const Program::Sampler& s = program_->samplers[i];
    const GLenum target = TextureTarget(s.parameter->Type());
    glext::glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(s.unit));
    glBindTexture(target, s.parameter->Texture());
    if (s.parameter->Texture() != 0) ApplySamplerStates(target, samplerStates_[i]);
  }
  glext::glActiveTexture(GL_TEXTURE0);

  const RenderStates& st = states_;
  if (st.depthTest) {
    saved_.depthTest = glIsEnabled(GL_DEPTH_TEST);
    Toggle(GL_DEPTH_TEST, *st.depthTest);
  }
  if (st.depthWrite) {
    glGetBooleanv(GL_DEPTH_WRITEMASK, &saved_.depthWrite);
    glDepthMask(*st.depthWrite ? GL_TRUE : GL_FALSE);
  }
  if (st.depthFunc) {
    glGetIntegerv(GL_DEPTH_FUNC, &saved_.depthFunc);
    glDepthFunc(*st.depthFunc);
  }
  if (st.colorWrite) {
    glGetBooleanv(GL_COLOR_WRITEMASK, saved_.colorWrite);
    const GLboolean on = *st.colorWrite ? GL_TRUE : GL_FALSE;
    glColorMask(on, on, on, on);
  }
  if (st.blend) {
    saved_.blend = glIsEnabled(GL_BLEND);
    glGetIntegerv(GL_BLEND_SRC, &saved_.blendSource);
    glGetIntegerv(GL_BLEND_DST, &saved_.blendDestination);
    Toggle(GL_BLEND, st.blend->enabled);
    if (st.blend->enabled) glBlendFunc(st.blend->source, st.blend->destination);
  }
  if (st.cullFace) {
    saved_.cull = glIsEnabled(GL_CULL_FACE);
    glGetIntegerv(GL_CULL_FACE_MODE, &saved_.cullFace);
    Toggle(GL_CULL_FACE, *st.cullFace != GL_NONE);
    if (*st.cullFace != GL_NONE) glCullFace(*st.cullFace);
  }
  set_ = true;
}

void Pass::Reset() {
  if (!set_) {
    technique_.GetEffect().RaiseError(ErrorCode::kInvalidPass, technique_.GetEffect().SourceName() +
                                                                   ": pass '" + name_ + "' of technique '" +
                                                                   technique_.Name() + "' was reset without being set");
    return;
  }
  set_ = false;
  const RenderStates& st = states_;
  if (st.depthTest) Toggle(GL_DEPTH_TEST, saved_.depthTest != GL_FALSE);
  if (st.depthWrite) glDepthMask(saved_.depthWrite);
  if (st.depthFunc) glDepthFunc(static_cast<GLenum>(saved_.depthFunc));
  if (st.colorWrite) {
    glColorMask(saved_.colorWrite[0], saved_.colorWrite[1], saved_.colorWrite[2], saved_.colorWrite[3]);
  }
  if (st.blend) {
    Toggle(GL_BLEND, saved_.blend != GL_FALSE);
    glBlendFunc(static_cast<GLenum>(saved_.blendSource), static_cast<GLenum>(saved_.blendDestination));
  }
  if (st.cullFace) {
    Toggle(GL_CULL_FACE, saved_.cull != GL_FALSE);
    glCullFace(static_cast<GLenum>(saved_.cullFace));
  }
  for (const Program::Sampler& s : program_->samplers) {
    glext::glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(s.unit));
    glBindTexture(TextureTarget(s.parameter->Type()), 0);
  }
  glext::glActiveTexture(GL_TEXTURE0);
  glext::glUseProgram(0);
}

// --- Effect ---

Effect::~Effect() {
  if (context_ != nullptr) context_->effects_.erase(this);
  ReleasePrograms();
}

void Effect::ReleasePrograms() {
  for (const auto& program : programs_) {
    if (program->id != 0 && glext::glDeleteProgram != nullptr) glext::glDeleteProgram(program->id);
    program->id = 0;
  }
}

Technique* Effect::FindTechnique(const std::string& name) const {
  for (const auto& technique : techniques_) {
    if (technique->Name() == name) return technique.get();
  }
  return nullptr;
}

Parameter* Effect::GetNamedParameter(const char* name) const {
  if (name == nullptr) return nullptr;
  const auto found = parameters_.find(std::string_view(name));
  return found == parameters_.end() ? nullptr : found->second.get();
}

void Effect::RaiseError(ErrorCode code, const std::string& message) const {
  if (context_ != nullptr) context_->RaiseError(code, message);
}

Parameter* Effect::AddUniform(const std::string& rawName, unsigned glType, int size, std::string& error) {
  std::string name = rawName;
  const size_t bracket = name.find('[');
  if (bracket != std::string::npos) name.resize(bracket);
  if (size != 1 || bracket != std::string::npos) {
    error = "uniform '" + name + "' is an array; effect parameters are single values";
    return nullptr;
  }
  ParameterType type;
  if (!TypeFromGl(glType, type)) {
    error = "uniform '" + name + "' has a type effect parameters cannot have (float, vec2, vec3, vec4, mat4, "
            "sampler1D, sampler2D, samplerCube and sampler2DShadow can be used)";
    return nullptr;
  }
  auto found = parameters_.find(name);
  if (found != parameters_.end()) {
    if (found->second->Type() != type) {
      error = "uniform '" + name + "' is a " + ParameterTypeName(type) + " here but a " +
              ParameterTypeName(found->second->Type()) + " in an earlier pass";
      return nullptr;
    }
    return found->second.get();
  }
  auto parameter = std::unique_ptr<Parameter>(new Parameter(*this, name, type));
  Parameter* result = parameter.get();
  parameters_.emplace(name, std::move(parameter));
  return result;
}

bool Effect::Build(const EffectDesc& desc, std::string& error) {
  std::unordered_map<std::string, Program*> cache;  // vertex + '\0' + fragment source
  const std::string legend = SourceStringLegend(desc);
  const std::string sources = legend.empty() ? std::string() : " (" + legend + ")";
  for (const TechniqueDesc& techniqueDesc : desc.techniques) {
    auto technique = std::unique_ptr<Technique>(new Technique(*this, techniqueDesc.name));
    for (const PassDesc& passDesc : techniqueDesc.passes) {
      const std::string where = sourceName_ + ": technique '" + techniqueDesc.name + "', pass '" + passDesc.name + "'";
      const std::string vertex = StageSource(desc, techniqueDesc, passDesc, Stage::kVertex);
      const std::string fragment = StageSource(desc, techniqueDesc, passDesc, Stage::kFragment);
      std::string key = vertex;
      key.push_back('\0');
      key += fragment;
      Program* program = nullptr;
      const auto cached = cache.find(key);
      if (cached != cache.end()) {
        program = cached->second;
      } else {
        std::string log;
        const GLuint vs = Compile(GL_VERTEX_SHADER, vertex, log);
        if (vs == 0) {
          error = where + ": the vertex stage does not compile" + sources + ": " + log;
          return false;
        }
        const GLuint fs = Compile(GL_FRAGMENT_SHADER, fragment, log);
        if (fs == 0) {
          glext::glDeleteShader(vs);
          error = where + ": the fragment stage does not compile" + sources + ": " + log;
          return false;
        }
        auto made = std::make_unique<Program>();
        made->id = glext::glCreateProgram();
        programs_.push_back(std::move(made));
        program = programs_.back().get();
        glext::glAttachShader(program->id, vs);
        glext::glAttachShader(program->id, fs);
        glext::glLinkProgram(program->id);
        // The program keeps the attached shaders alive until it is deleted itself.
        glext::glDeleteShader(vs);
        glext::glDeleteShader(fs);
        GLint linked = GL_FALSE;
        glext::glGetProgramiv(program->id, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
          std::string message = ProgramLog(program->id);
          error = where + ": the program does not link" + sources + ": " +
                  (message.empty() ? "no message from the driver" : message);
          return false;
        }
        GLint count = 0;
        GLint maxLength = 0;
        glext::glGetProgramiv(program->id, GL_ACTIVE_UNIFORMS, &count);
        glext::glGetProgramiv(program->id, GL_ACTIVE_UNIFORM_MAX_LENGTH, &maxLength);
        std::vector<GLchar> nameBuffer(static_cast<size_t>(maxLength > 0 ? maxLength : 1) + 1, '\0');
        GLint previous = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
        glext::glUseProgram(program->id);
        bool ok = true;
        for (GLint i = 0; i < count && ok; ++i) {
          GLsizei length = 0;
          GLint size = 0;
          GLenum type = 0;
          glext::glGetActiveUniform(program->id, static_cast<GLuint>(i), static_cast<GLsizei>(nameBuffer.size()), &length,
                              &size, &type, nameBuffer.data());
          const std::string name(nameBuffer.data(), static_cast<size_t>(length));
          if (name.compare(0, 3, "gl_") == 0) continue;  // built-in state, set by GL itself
          std::string problem;
          Parameter* parameter = AddUniform(name, type, size, problem);
          if (parameter == nullptr) {
            error = where + ": " + problem;
            ok = false;
            break;
          }
          const GLint location = glext::glGetUniformLocation(program->id, name.c_str());
          if (parameter->IsSampler()) {
            const int unit = static_cast<int>(program->samplers.size());
            if (unit >= context_->maxTextureUnits_) {
              error = where + ": more samplers than the driver's " + std::to_string(context_->maxTextureUnits_) +
                      " texture units";
              ok = false;
              break;
            }
            glext::glUniform1i(location, unit);
            program->samplers.push_back({parameter, unit});
          } else {
            program->uniforms.push_back({parameter, location, 0});
          }
        }
        glext::glUseProgram(static_cast<GLuint>(previous));
        if (!ok) return false;
        cache.emplace(std::move(key), program);
      }
      auto pass = std::unique_ptr<Pass>(new Pass(*technique, passDesc.name, passDesc.states, program));
      for (const Program::Sampler& s : program->samplers) {
        pass->samplerStates_.push_back(EffectiveSamplerStates(desc, passDesc, s.parameter->Name()));
      }
      technique->passes_.push_back(std::move(pass));
    }
    techniques_.push_back(std::move(technique));
  }
  return true;
}

// --- Context ---

std::unique_ptr<Context> Context::Create(std::string* error) {
  std::string missing;
  if (!platform::FetchGlEntryPoints(&missing)) {
    if (error != nullptr) *error = "the GL driver lacks " + missing;
    return nullptr;
  }
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION));
  int major = 0;
  int minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2 ||
      major * 100 + minor < 120) {
    if (error != nullptr) {
      *error = std::string("the GL driver lacks GLSL 1.20 (it reports ") + (version ? version : "none") + ")";
    }
    return nullptr;
  }
  std::unique_ptr<Context> context(new Context());
  GLint units = 0;
  glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
  context->maxTextureUnits_ = units;
  return context;
}

Context::~Context() {
  for (Effect* effect : effects_) effect->context_ = nullptr;
}

bool ReadEffectDescription(const std::string& text, const std::string& sourceName, EffectDesc& desc,
                           std::string& error) {
  const size_t slash = sourceName.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : sourceName.substr(0, slash);
  return ParseEffect(text, sourceName, desc, error) &&
         ResolveBlockFiles(desc, sourceName, folder, ReadBlockFromFolder, error);
}

bool ReadEffectDescriptionFile(const std::string& path, EffectDesc& desc, std::string& error) {
  std::string text;
  if (!ReadTextFile(path, text)) {
    error = path + ": cannot read the file";
    return false;
  }
  return ReadEffectDescription(text, path, desc, error);
}

std::unique_ptr<Effect> Context::CreateEffectFromFile(const std::string& path, std::string* error) {
  std::string text;
  if (!ReadTextFile(path, text)) {
    if (error != nullptr) *error = path + ": cannot read the file";
    return nullptr;
  }
  return CreateEffect(text, path, error);
}

std::unique_ptr<Effect> Context::CreateEffect(const std::string& text, const std::string& sourceName,
                                              std::string* error) {
  EffectDesc desc;
  std::string message;
  if (!ReadEffectDescription(text, sourceName, desc, message)) {
    if (error != nullptr) *error = message;
    return nullptr;
  }
  std::unique_ptr<Effect> effect(new Effect(*this, sourceName));
  effects_.insert(effect.get());
  if (!effect->Build(desc, message)) {
    if (error != nullptr) *error = message;
    return nullptr;
  }
  return effect;
}

ErrorCode Context::TakeError(std::string* message) {
  const ErrorCode code = pending_;
  if (message != nullptr) *message = message_;
  pending_ = ErrorCode::kNone;
  message_.clear();
  return code;
}

void Context::RaiseError(ErrorCode code, const std::string& message) {
  pending_ = code;
  message_ = message;
  if (hook_ != nullptr) hook_(*this);
}

}  // namespace fx
