#include "assets/effect.h"

#include <string>

#include "base/log.h"
#include "render/fx/fx.h"

Effect::Effect(std::unique_ptr<fx::Effect> effect) : effect_(std::move(effect)) {
  if (effect_ == nullptr) return;
  for (const auto& technique : effect_->Techniques()) techniques_[technique->Name()] = technique.get();
}

Effect::~Effect() = default;

bool Effect::Replace(std::unique_ptr<fx::Effect> replacement) {
  if (replacement == nullptr) return false;
  if (effect_ != nullptr) {
    for (const auto& [name, old] : effect_->Parameters()) {
      fx::Parameter* now = replacement->GetNamedParameter(name.c_str());
      if (now == nullptr || now->Type() != old->Type() || old->Version() == 0) continue;
      if (old->IsSampler()) {
        now->SetTexture(old->Texture());
      } else {
        now->Set(old->Values(), old->Components());
      }
    }
  }
  const std::string technique = current_ != nullptr ? current_->Name() : std::string();
  effect_ = std::move(replacement);
  techniques_.clear();
  for (const auto& entry : effect_->Techniques()) techniques_[entry->Name()] = entry.get();
  passes_.clear();
  current_ = nullptr;
  if (!technique.empty()) SetTechnique(technique.c_str());
  return true;
}

void Effect::SetTechnique(const char* name) {
  passes_.clear();
  current_ = nullptr;
  const auto found = name != nullptr ? techniques_.find(std::string_view(name)) : techniques_.end();
  if (found == techniques_.end()) {
    if (effect_ != nullptr) {
      effect_->RaiseError(fx::ErrorCode::kInvalidTechnique, effect_->SourceName() + ": no technique '" +
                                                                (name != nullptr ? name : "") + "'");
    }
    return;
  }
  current_ = found->second;
  for (const auto& pass : current_->Passes()) passes_.push_back(pass.get());
}

fx::Parameter* Effect::Parameter(const char* name) const {
  if (effect_ == nullptr) return nullptr;
  fx::Parameter* parameter = effect_->GetNamedParameter(name);
  if (parameter == nullptr) {
    effect_->RaiseError(fx::ErrorCode::kInvalidParameter,
                        effect_->SourceName() + ": no parameter '" + (name != nullptr ? name : "") + "'");
  }
  return parameter;
}

void Effect::SetFloat(const char* name, float value) {
  if (fx::Parameter* p = Parameter(name)) p->Set1f(value);
}

void Effect::SetTexture(const char* name, unsigned texture) {
  if (fx::Parameter* p = Parameter(name)) p->SetTexture(texture);
}

void Effect::SetVector(const char* name, const float* values, int count) {
  if (fx::Parameter* p = Parameter(name)) p->Set(values, count);
}

void Effect::SetMatrix(const char* name, const float* columnMajor) {
  if (fx::Parameter* p = Parameter(name)) p->SetMatrix(columnMajor);
}

IDisposable* EffectLoader::Load(const char* path, sm::IServiceProvider* provider) {
  auto* service = provider != nullptr
                      ? static_cast<ICgContextService*>(provider->GetService(TypeKey<ICgContextService>().c_str()))
                      : nullptr;
  fx::Context* context = service != nullptr ? service->GetContext() : nullptr;
  if (context == nullptr) {
    WriteLog("error: %s: no effect context to compile it with", path);
    return nullptr;
  }
  std::string error;
  std::unique_ptr<fx::Effect> effect = context->CreateEffectFromFile(path, &error);
  if (effect == nullptr) {
    WriteLog("error: %s", error.c_str());
    return nullptr;
  }
  return new Effect(std::move(effect));
}
