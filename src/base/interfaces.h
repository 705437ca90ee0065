#pragma once
// The small interfaces that tie loaded assets, their loaders, the content registry's
// observers and the shared services together.
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

// Base of every loaded resource; whoever holds one as IDisposable may destroy it.
class IDisposable {
 public:
  virtual ~IDisposable() = default;
};

// Something a node animation can move: meshes and animated cameras.
class ITransformable {
 public:
  virtual bool IsCamera() = 0;
  virtual int GetId() = 0;
  // The final transform, the one used when the object is drawn (column-major).
  virtual float* GetTransform() = 0;
  // The animated transform before the node's own local matrix is applied.
  virtual float* GetBaseTransform() = 0;

 protected:
  ~ITransformable() = default;
};

// Loading progress, reported by the content registry to every observer in order.
class IContentObserver {
 public:
  virtual void OnError(const char* message) = 0;
  virtual void OnBegin(int total) = 0;
  virtual void OnStep() = 0;
  virtual void OnFinished() = 0;

 protected:
  ~IContentObserver() = default;
};

using ContentObservers = std::vector<IContentObserver*>;

namespace fx {
class Context;
}

// The effect runtime's context, handed to the effect loader as a service.
class ICgContextService {
 public:
  virtual ~ICgContextService() = default;
  virtual fx::Context* GetContext() = 0;
};

namespace sm {

class IServiceProvider {
 public:
  // The service registered under name, or null.
  virtual void* GetService(const char* name) = 0;

 protected:
  ~IServiceProvider() = default;
};

}  // namespace sm

// The registry name of a service or asset type: the type's name as a pointer type,
// derived the same way wherever it is registered and looked up.
template <typename T>
std::string TypeKey() {
  return typeid(T*).name();
}

// Service registry; does not own the services.
class ServiceProvider final : public sm::IServiceProvider {
 public:
  void Register(const std::string& name, void* service) { services_[name] = service; }
  void* GetService(const char* name) override {
    const auto found = services_.find(name);
    return found == services_.end() ? nullptr : found->second;
  }

 private:
  std::map<std::string, void*> services_;
};

// Turns one file into a resource; the caller owns the result. Null when the file
// failed to load.
class IAssetLoader {
 public:
  virtual ~IAssetLoader() = default;
  virtual IDisposable* Load(const char* path, sm::IServiceProvider* provider) = 0;
};
