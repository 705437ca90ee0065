#pragma once
// The effect runtime: effects compiled from effect files (fx_format.h) into GLSL
// programs, techniques found by name with their passes in order, parameters found by
// name, and pass states that are set before and reset after drawing.
//
// Parameters belong to the effect, not to one program: a parameter is every active
// uniform of that name in any pass of the effect (they must agree on the type). Values
// are kept by the parameter and reach a pass's program when the pass state is set
// (deferred setting), so values set between passes take effect at the next Set.
// Sampler parameters hold a GL texture name; the pass binds it to the texture unit of
// its program, applies the sampler states of the effect file to the texture, and
// unbinds it again on Reset.
//
// Every call needs the GL context current that was current when the context was
// created. Single-threaded.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "render/fx/fx_format.h"

namespace fx {

class Context;
class Effect;
class Technique;
class Pass;

enum class ErrorCode {
  kNone = 0,
  kInvalidParameter,   // a null parameter, or a name the effect lacks
  kTypeMismatch,       // a value whose kind does not fit the parameter's type
  kInvalidTechnique,   // a technique name the effect lacks
  kInvalidPass,        // setting or resetting a pass that cannot be used
};

const char* ErrorCodeName(ErrorCode code);

// Called after each error is raised; the hook takes the error with Context::TakeError.
using ErrorHook = void (*)(Context& context);

enum class ParameterType {
  kFloat,
  kVec2,
  kVec3,
  kVec4,
  kMat4,
  kSampler1D,
  kSampler2D,
  kSamplerCube,
  kSampler2DShadow,
};

const char* ParameterTypeName(ParameterType type);

class Parameter {
 public:
  const std::string& Name() const { return name_; }
  ParameterType Type() const { return type_; }
  bool IsSampler() const { return type_ >= ParameterType::kSampler1D; }
  // Float components: 1 to 4 for floats and vectors, 16 for a matrix, 0 for samplers.
  int Components() const;

  // Sets count floats; count must equal Components(). Matrices are column-major.
  void Set(const float* values, int count);
  void Set1f(float x) { Set(&x, 1); }
  void Set2f(float x, float y);
  void Set3f(float x, float y, float z);
  void Set4f(float x, float y, float z, float w);
  void SetMatrix(const float* columnMajor16) { Set(columnMajor16, 16); }
  // The texture a sampler parameter binds; 0 binds none.
  void SetTexture(unsigned texture);

  // The values last set (the GLSL initialiser's values are not known here: zero until set).
  const float* Values() const { return values_; }
  unsigned Texture() const { return texture_; }
  // Bumped by every set; 0 while the parameter was never set.
  unsigned Version() const { return version_; }

 private:
  friend class Effect;
  Parameter(Effect& effect, std::string name, ParameterType type)
      : effect_(effect), name_(std::move(name)), type_(type) {}

  Effect& effect_;
  std::string name_;
  ParameterType type_;
  float values_[16] = {};
  unsigned texture_ = 0;
  unsigned version_ = 0;
};

// One linked GLSL program with the parameters it reads. Passes with the same sources
// share a program.
struct Program {
  struct Uniform {
    Parameter* parameter;
    int location;
    unsigned uploadedVersion;  // the parameter version the program holds
  };
  struct Sampler {
    Parameter* parameter;
    int unit;
  };
  unsigned id = 0;
  std::vector<Uniform> uniforms;
  std::vector<Sampler> samplers;
};

class Pass {
 public:
  const std::string& Name() const { return name_; }
  Technique& GetTechnique() const { return technique_; }
  const RenderStates& States() const { return states_; }
  unsigned ProgramId() const { return program_->id; }

  // Uses the program, uploads the parameter values that changed since the program last
  // saw them, binds the sampler textures with their sampler states and sets the render
  // states (remembering the values they replace).
  void Set();
  // Restores the render states Set replaced, unbinds the sampler textures, makes texture
  // unit 0 active and uses no program. A Reset without a Set raises kInvalidPass.
  void Reset();
  bool IsSet() const { return set_; }

 private:
  friend class Effect;
  Pass(Technique& technique, std::string name, RenderStates states, Program* program)
      : technique_(technique), name_(std::move(name)), states_(states), program_(program) {}

  struct Saved {
    unsigned char depthTest, depthWrite, colorWrite[4], blend, cull;
    int depthFunc, blendSource, blendDestination, cullFace;
  };

  Technique& technique_;
  std::string name_;
  RenderStates states_;
  Program* program_;
  std::vector<SamplerStates> samplerStates_;  // one per program sampler, same order
  Saved saved_{};
  bool set_ = false;
};

class Technique {
 public:
  const std::string& Name() const { return name_; }
  Effect& GetEffect() const { return effect_; }
  // The passes in the order of the effect file.
  const std::vector<std::unique_ptr<Pass>>& Passes() const { return passes_; }

 private:
  friend class Effect;
  Technique(Effect& effect, std::string name) : effect_(effect), name_(std::move(name)) {}

  Effect& effect_;
  std::string name_;
  std::vector<std::unique_ptr<Pass>> passes_;
};

class Effect {
 public:
  Effect(const Effect&) = delete;
  Effect& operator=(const Effect&) = delete;
  // Deletes the programs (while the GL context that made them is current).
  ~Effect();

  const std::string& SourceName() const { return sourceName_; }
  // The techniques in the order of the effect file.
  const std::vector<std::unique_ptr<Technique>>& Techniques() const { return techniques_; }
  // Exact, case-sensitive; null when absent (no error is raised).
  Technique* FindTechnique(const std::string& name) const;
  // Exact, case-sensitive; null when no pass of the effect reads the name.
  Parameter* GetNamedParameter(const char* name) const;
  const std::map<std::string, std::unique_ptr<Parameter>, std::less<>>& Parameters() const {
    return parameters_;
  }
  // The context that made the effect; null once that context is destroyed.
  Context* GetContext() const { return context_; }

  // Raises an error on the effect's context (nothing when the context is gone).
  void RaiseError(ErrorCode code, const std::string& message) const;

 private:
  friend class Context;
  Effect(Context& context, std::string sourceName) : context_(&context), sourceName_(std::move(sourceName)) {}
  bool Build(const EffectDesc& desc, std::string& error);
  Parameter* AddUniform(const std::string& name, unsigned glType, int size, std::string& error);
  void ReleasePrograms();

  Context* context_;
  std::string sourceName_;
  std::vector<std::unique_ptr<Technique>> techniques_;
  std::map<std::string, std::unique_ptr<Parameter>, std::less<>> parameters_;
  std::vector<std::unique_ptr<Program>> programs_;
};

// Reads an effect file into its description without GL: parses it and reads the GLSL
// files its blocks name, relative to the effect file's folder. False with the reason
// ("<path>:<line>: ...", or the unreadable file) in error.
bool ReadEffectDescription(const std::string& text, const std::string& sourceName, EffectDesc& desc,
                           std::string& error);
bool ReadEffectDescriptionFile(const std::string& path, EffectDesc& desc, std::string& error);

class Context {
 public:
  // Creates the runtime over the current GL context. Null, with the reason in error,
  // when the driver lacks GLSL 1.20 or one of the shader entry points.
  static std::unique_ptr<Context> Create(std::string* error = nullptr);
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;
  // Effects that outlive the context keep working as GL objects but raise no errors.
  ~Context();

  // Compiles and links every pass of an effect file. Null on failure, with the reason
  // (a read or parse error, or the driver's compile or link message naming the
  // technique, pass and stage) in error. GLSL files that blocks name are read relative
  // to the folder of sourceName (the effect file's path).
  std::unique_ptr<Effect> CreateEffectFromFile(const std::string& path, std::string* error = nullptr);
  std::unique_ptr<Effect> CreateEffect(const std::string& text, const std::string& sourceName,
                                       std::string* error = nullptr);

  void SetErrorHook(ErrorHook hook) { hook_ = hook; }
  ErrorHook GetErrorHook() const { return hook_; }
  // The pending error and its message; both are cleared.
  ErrorCode TakeError(std::string* message = nullptr);
  // Records an error (replacing a pending one) and calls the hook.
  void RaiseError(ErrorCode code, const std::string& message);

  int MaxTextureUnits() const { return maxTextureUnits_; }

 private:
  Context() = default;
  friend class Effect;

  ErrorHook hook_ = nullptr;
  ErrorCode pending_ = ErrorCode::kNone;
  std::string message_;
  std::set<Effect*> effects_;
  int maxTextureUnits_ = 0;
};

}  // namespace fx
