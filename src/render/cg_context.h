#pragma once
// The run's one effect-runtime context: created by the controller once the GL window
// exists, published to the effect loader as a service, destroyed at shutdown after
// every effect.
#include <memory>

#include "base/interfaces.h"
#include "render/fx/fx.h"

// Creates the context over the current GL context and installs OnCgError as its error
// hook. False (context left empty) when the driver cannot run effects; the reason goes
// to the log.
bool CreateCgContext(std::unique_ptr<fx::Context>& context);

// The context's error hook: takes the pending error and writes its message to the log,
// each distinct message once, so an error repeated every frame does not flood the log.
void OnCgError(fx::Context& context);

// The service the effect loader fetches the context from; does not own the context.
class CgContextService final : public ICgContextService {
 public:
  explicit CgContextService(fx::Context* context) : context_(context) {}
  fx::Context* GetContext() override { return context_; }

 private:
  fx::Context* context_;
};
