#pragma once
// One asset kind's loaded assets: loads the files of its folder through its loader
// and keeps each asset under its name.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/interfaces.h"

// The name an asset is filed under: its file's name without folder and extension,
// in the file's letter case. Both '/' and '\' separate folders; the last dot starts
// the extension unless it is the name's first character (".hidden.geo" is named
// ".hidden", "robot.mk2.geo" "robot.mk2", "abc." "abc", ".cfg" ".cfg").
std::string AssetName(const std::string& path);

// The names of the regular files directly in folder whose names end in "." +
// extension (case-sensitive), sorted bytewise so that loading order, and which of
// two same-named files wins, is the same on every file system. A missing folder
// lists nothing.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension);

class IAssetsManager {
 public:
  virtual ~IAssetsManager() = default;
};

class AssetsManager : public IAssetsManager {
 public:
  // folder is the full path of the kind's folder, without a trailing separator.
  // The manager owns the loader; provider and observers are borrowed.
  AssetsManager(const std::string& extension, std::unique_ptr<IAssetLoader> loader,
                const std::string& folder, sm::IServiceProvider* provider,
                ContentObservers& observers);
  ~AssetsManager() override;
  AssetsManager(const AssetsManager&) = delete;
  AssetsManager& operator=(const AssetsManager&) = delete;

  // OnError / OnStep on every observer, in the order they were added.
  virtual void ReportError(const std::string& message);
  virtual void ReportStep();
  virtual int Count() const { return static_cast<int>(assets_.size()); }
  // Loads folder + "/" + name for each bare file name, in list order. Every file is
  // tried; a failed one is reported as "couldn't load asset '<path>'". True when none
  // failed (also for an empty list). With reportSteps, one step per file either way.
  virtual bool LoadFiles(bool reportSteps, const std::vector<std::string>& names);
  // LoadFiles over every file of the folder with the kind's extension (ListFiles).
  virtual bool LoadFolder(bool reportSteps);

  // The asset filed under exactly that name, or null.
  IDisposable* Get(const std::string& name) const;
  // Appends every asset, ascending by name.
  void CollectAll(std::vector<IDisposable*>& list) const;

  // The loader no longer gets a provider (it is only valid while loading).
  void ForgetProvider() { provider_ = nullptr; }

 private:
  bool LoadFile(const std::string& path, bool reportStep);

  std::map<std::string, std::unique_ptr<IDisposable>> assets_;
  std::unique_ptr<IAssetLoader> loader_;
  std::string folder_;
  std::vector<std::string> extensions_;
  sm::IServiceProvider* provider_;
  ContentObservers& observers_;
};
