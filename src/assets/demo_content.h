#pragma once
// The content registry: loads every asset of the data folder once, in a fixed order
// of kinds, reports progress to the content observers, owns the assets until
// shutdown and hands them out by type and name.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/singleton.h"
#include "assets/assets_manager.h"
#include "base/interfaces.h"

// One loader per kind, and how many progress steps a model file will report for its
// meshes (read from the file's header before loading). LoadAll uses the program's
// own; tests hand in their own through Load.
struct ContentLoaders {
  std::unique_ptr<IAssetLoader> textures;
  std::unique_ptr<IAssetLoader> animations;
  std::unique_ptr<IAssetLoader> materials;
  std::unique_ptr<IAssetLoader> effects;
  std::unique_ptr<IAssetLoader> models;
  std::function<int(const std::string& path)> meshCount;
};

class DemoContent : public GenericSingleton<DemoContent> {
 public:
  // Destroys whatever is still loaded.
  virtual ~DemoContent();
  DemoContent(const DemoContent&) = delete;
  DemoContent& operator=(const DemoContent&) = delete;

  // Each calls the observer operation of the same name (OnError, OnBegin, ...) on
  // every observer, in the order they were added.
  virtual void NotifyError(const char* message);
  virtual void NotifyBegin(int total);
  virtual void NotifyStep();
  virtual void NotifyFinished();

  // Observers are borrowed and must outlive the loading; they are never removed.
  void AddObserver(IContentObserver* observer);

  // Loads the data folder root (ending with '/'): textures (every .png, then every
  // .jpg, of root + "textures"), animations (.ani), materials (.mat), effects (.cfx)
  // and models (.geo), each from the folder of that name, in that order. Announces
  // textures + model files + their meshes as the total; textures, animations, model
  // files and meshes report a step each. Every kind is loaded even after a failure;
  // true when no file failed. The provider is used only during the call.
  bool LoadAll(const std::string& root, sm::IServiceProvider* provider);
  // The same with the given loaders (replacing anything loaded before).
  bool Load(const std::string& root, sm::IServiceProvider* provider, ContentLoaders loaders);

  // The asset of type T filed under exactly that name; null when there is none (or no
  // manager for T yet). Nothing is written anywhere: callers report misses.
  template <typename T>
  T* Get(const std::string& name) const {
    const AssetsManager* manager = Manager(TypeKey<T>());
    return manager == nullptr ? nullptr : dynamic_cast<T*>(manager->Get(name));
  }

  // Appends every asset of type T, ascending by name (bytewise).
  template <typename T>
  void GetAll(std::vector<T*>& list) const {
    const AssetsManager* manager = Manager(TypeKey<T>());
    if (manager == nullptr) return;
    std::vector<IDisposable*> all;
    manager->CollectAll(all);
    for (IDisposable* asset : all) {
      if (T* typed = dynamic_cast<T*>(asset)) list.push_back(typed);
    }
  }

  // Destroys every manager with its assets and loader; a second call does nothing.
  void ReleaseAll();

  // The manager holding the assets of type T; null before loading.
  template <typename T>
  const AssetsManager* ManagerOf() const {
    return Manager(TypeKey<T>());
  }

 protected:
  DemoContent() = default;
  friend class GenericSingleton<DemoContent>;

 private:
  const AssetsManager* Manager(const std::string& typeKey) const;
  AssetsManager& AddManager(const std::string& typeKey, const std::string& extension,
                            std::unique_ptr<IAssetLoader> loader, const std::string& folder);

  std::map<std::string, std::unique_ptr<AssetsManager>> managers_;
  sm::IServiceProvider* provider_ = nullptr;
  ContentObservers observers_;
};
