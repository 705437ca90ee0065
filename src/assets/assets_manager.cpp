#include "assets/assets_manager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/path.h"

std::string AssetName(const std::string& path) { return SplitPath(path).name; }

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  const std::string suffix = "." + extension;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return names;
  for (const fs::directory_entry& entry : entries) {
    std::error_code statError;
    if (!entry.is_regular_file(statError)) continue;
    std::string name = entry.path().filename().string();
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(std::move(name));
    }
  }
  // std::string compares its characters as unsigned bytes.
  std::sort(names.begin(), names.end());
  return names;
}

AssetsManager::AssetsManager(const std::string& extension, std::unique_ptr<IAssetLoader> loader,
                             const std::string& folder, sm::IServiceProvider* provider,
                             ContentObservers& observers)
    : loader_(std::move(loader)), folder_(folder), provider_(provider), observers_(observers) {
  extensions_.push_back(extension);
}

AssetsManager::~AssetsManager() {
  loader_.reset();
  assets_.clear();
}

void AssetsManager::ReportError(const std::string& message) {
  for (IContentObserver* observer : observers_) observer->OnError(message.c_str());
}

void AssetsManager::ReportStep() {
  for (IContentObserver* observer : observers_) observer->OnStep();
}

bool AssetsManager::LoadFiles(bool reportSteps, const std::vector<std::string>& names) {
  bool ok = true;
  for (const std::string& name : names) ok = LoadFile(folder_ + "/" + name, reportSteps) && ok;
  return ok;
}

bool AssetsManager::LoadFolder(bool reportSteps) {
  return LoadFiles(reportSteps, ListFiles(folder_, extensions_.front()));
}

bool AssetsManager::LoadFile(const std::string& path, bool reportStep) {
  std::fprintf(stderr, "loading %s\n", path.c_str());
  std::unique_ptr<IDisposable> asset(loader_ ? loader_->Load(path.c_str(), provider_) : nullptr);
  const bool loaded = asset != nullptr;
  if (loaded) {
    // A later file of the same name takes the name over; the earlier asset is
    // destroyed here, as nothing could reach it any more.
    assets_[AssetName(path)] = std::move(asset);
  } else {
    ReportError("couldn't load asset '" + path + "'");
  }
  if (reportStep) ReportStep();
  return loaded;
}

IDisposable* AssetsManager::Get(const std::string& name) const {
  const auto found = assets_.find(name);
  return found == assets_.end() ? nullptr : found->second.get();
}

void AssetsManager::CollectAll(std::vector<IDisposable*>& list) const {
  for (const auto& entry : assets_) list.push_back(entry.second.get());
}
