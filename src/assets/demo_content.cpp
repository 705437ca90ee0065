#include "assets/demo_content.h"

#include <climits>
#include <cstdint>

#include "anim/node_animation.h"
#include "assets/effect.h"
#include "assets/image_prefetch.h"
#include "assets/material.h"
#include "assets/model.h"
#include "assets/texture.h"

namespace {

// The caller's services for one load, plus the decoded pictures of that load.
class LoadServices final : public sm::IServiceProvider {
 public:
  LoadServices(sm::IServiceProvider* caller, IImageSource* images) : caller_(caller), images_(images) {}
  void* GetService(const char* name) override {
    if (imagesKey_ == name) return images_;
    return caller_ != nullptr ? caller_->GetService(name) : nullptr;
  }

 private:
  sm::IServiceProvider* caller_;
  IImageSource* images_;
  const std::string imagesKey_ = TypeKey<IImageSource>();
};

}  // namespace

DemoContent::~DemoContent() { ReleaseAll(); }

void DemoContent::NotifyError(const char* message) {
  for (IContentObserver* observer : observers_) observer->OnError(message);
}

void DemoContent::NotifyBegin(int total) {
  for (IContentObserver* observer : observers_) observer->OnBegin(total);
}

void DemoContent::NotifyStep() {
  for (IContentObserver* observer : observers_) observer->OnStep();
}

void DemoContent::NotifyFinished() {
  for (IContentObserver* observer : observers_) observer->OnFinished();
}

void DemoContent::AddObserver(IContentObserver* observer) { observers_.push_back(observer); }

bool DemoContent::LoadAll(const std::string& root, sm::IServiceProvider* provider) {
  ContentLoaders loaders;
  loaders.textures = std::make_unique<TextureLoader>();
  loaders.animations = std::make_unique<AnimationLoader>();
  loaders.materials = std::make_unique<MaterialLoader>();
  loaders.effects = std::make_unique<EffectLoader>();
  // The model loader reports a step per mesh to the same observers.
  loaders.models = std::make_unique<ModelLoader>(observers_);
  loaders.meshCount = PeekMeshCount;
  return Load(root, provider, std::move(loaders));
}

bool DemoContent::Load(const std::string& root, sm::IServiceProvider* provider,
                       ContentLoaders loaders) {
  ReleaseAll();
  const std::string textureFolder = root + "textures";
  const std::string modelFolder = root + "models";

  // Textures are loaded from one list, every PNG before every JPEG, so of a.png and
  // a.jpg the JPEG ends up under the name a.
  std::vector<std::string> textures = ListFiles(textureFolder, "png");
  for (std::string& name : ListFiles(textureFolder, "jpg")) textures.push_back(std::move(name));
  const std::vector<std::string> models = ListFiles(modelFolder, "geo");

  // The pictures decode on worker threads while the loop below uploads them in the
  // same order on this one.
  std::vector<std::string> texturePaths;
  for (const std::string& name : textures) texturePaths.push_back(textureFolder + "/" + name);
  ImagePrefetch prefetch(std::move(texturePaths), ImagePrefetch::DefaultWorkers());
  LoadServices services(provider, &prefetch);

  provider_ = &services;
  AssetsManager& textureManager =
      AddManager(TypeKey<Texture>(), "png", std::move(loaders.textures), textureFolder);
  AssetsManager& animationManager = AddManager(TypeKey<Animation>(), "ani",
                                               std::move(loaders.animations), root + "animations");
  AssetsManager& materialManager = AddManager(TypeKey<Material>(), "mat",
                                              std::move(loaders.materials), root + "materials");
  AssetsManager& effectManager =
      AddManager(TypeKey<Effect>(), "cfx", std::move(loaders.effects), root + "effects");
  AssetsManager& modelManager =
      AddManager(TypeKey<Model>(), "geo", std::move(loaders.models), modelFolder);

  // One step per texture, per model file and per mesh. A mesh count below zero reads
  // as no meshes, as it does when the model is loaded.
  std::int64_t total = static_cast<std::int64_t>(textures.size()) + models.size();
  for (const std::string& name : models) {
    const int meshes = loaders.meshCount ? loaders.meshCount(modelFolder + "/" + name) : 0;
    if (meshes > 0) total += meshes;
  }
  NotifyBegin(static_cast<int>(total > INT_MAX ? INT_MAX : total));

  // Animation files report steps the total does not count; observers clamp.
  bool ok = textureManager.LoadFiles(true, textures);
  ok = animationManager.LoadFolder(true) && ok;
  ok = materialManager.LoadFolder(false) && ok;
  ok = effectManager.LoadFolder(false) && ok;
  ok = modelManager.LoadFolder(true) && ok;
  NotifyFinished();

  // The caller destroys the provider once loading is over.
  for (auto& entry : managers_) entry.second->ForgetProvider();
  provider_ = nullptr;
  return ok;
}

void DemoContent::ReleaseAll() { managers_.clear(); }

const AssetsManager* DemoContent::Manager(const std::string& typeKey) const {
  const auto found = managers_.find(typeKey);
  return found == managers_.end() ? nullptr : found->second.get();
}

AssetsManager& DemoContent::AddManager(const std::string& typeKey, const std::string& extension,
                                       std::unique_ptr<IAssetLoader> loader,
                                       const std::string& folder) {
  auto manager =
      std::make_unique<AssetsManager>(extension, std::move(loader), folder, provider_, observers_);
  AssetsManager& result = *manager;
  managers_[typeKey] = std::move(manager);
  return result;
}
