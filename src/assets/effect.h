#pragma once
// Effects: the shading programs of the demo, compiled from effect files (docs/effects.md)
// through the effect runtime's context, with techniques found by name and parameters
// set by name.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/interfaces.h"

namespace fx {
class Effect;
class Parameter;
class Pass;
class Technique;
}  // namespace fx

class Effect : public IDisposable {
 public:
  explicit Effect(std::unique_ptr<fx::Effect> effect);
  ~Effect() override;
  Effect(const Effect&) = delete;
  Effect& operator=(const Effect&) = delete;

  // Selects the technique (exact, case-sensitive name) and collects its passes in
  // order. A name the effect lacks selects nothing, leaves no passes and raises an
  // error on the runtime's context.
  void SetTechnique(const char* name);
  void SetFloat(const char* name, float value);
  // Binds a GL texture name to a sampler parameter (with the effect's sampler states
  // when a pass is set).
  void SetTexture(const char* name, unsigned texture);
  // count floats into a float or vector parameter.
  void SetVector(const char* name, const float* values, int count);
  // A 4x4 column-major matrix.
  void SetMatrix(const char* name, const float* columnMajor);

  // Takes a recompiled effect in place of the one held, so that everything holding this
  // asset draws with the new code: the technique selected stays selected (by name) and
  // every parameter value set so far goes over to the parameter of the same name and
  // type. False (nothing changes) for a null effect.
  bool Replace(std::unique_ptr<fx::Effect> replacement);

  // The runtime's effect, for lookups of its own.
  fx::Effect* Handle() const { return effect_.get(); }
  // The parameter of that name; null (and an error on the context) when there is none.
  fx::Parameter* Parameter(const char* name) const;
  // The technique last selected (null when none) and its passes in order.
  fx::Technique* CurrentTechnique() const { return current_; }
  const std::vector<fx::Pass*>& Passes() const { return passes_; }
  // The pass the drawing code uses; null when the current technique has none.
  fx::Pass* FirstPass() const { return passes_.empty() ? nullptr : passes_.front(); }

 private:
  std::unique_ptr<fx::Effect> effect_;
  std::map<std::string, fx::Technique*, std::less<>> techniques_;
  fx::Technique* current_ = nullptr;
  std::vector<fx::Pass*> passes_;
};

// Compiles effect files with the context of the provider's ICgContextService. A file
// that cannot be read, parsed, compiled or linked, or a provider without the service,
// gives null; the reason goes to the log.
class EffectLoader : public IAssetLoader {
 public:
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
};
