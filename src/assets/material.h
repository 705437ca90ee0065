#pragma once
// Materials: how a sub-mesh is lit. Four colours, five factors and up to four maps,
// read from small XML files (see docs/formats-material.md).
#include <memory>
#include <string>

#include "base/interfaces.h"

class Texture;

class Material : public IDisposable {
 public:
  Material() = default;
  // Deletes the environment cube map; the 2D maps belong to the texture registry.
  ~Material() override;
  Material(const Material&) = delete;
  Material& operator=(const Material&) = delete;

  // The root element's "Name"; independent of the file name the registry uses.
  std::string name;
  // Colours r, g, b, a; the files set r, g and b only, a stays 1.
  float ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
  float diffuse[4] = {0.6f, 0.6f, 0.6f, 1.0f};
  float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float emissive[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  // 0 unless the file says otherwise, which the draw passes take as translucent.
  float opacity = 0.0f;
  float glossiness = 0.3f;
  float specularLevel = 1.0f;
  float emissiveAmount = 0.0f;
  // A cool light on the edges that face away from the eye, which lifts a figure off
  // what is behind it; 0 for none.
  float rimLevel = 0.0f;
  float reflectionLevel = 0.0f;

  // Map names are asset names (file names without folder and extension); the
  // textures are bound by ResolveMaterialTextures.
  std::string diffuseMapName;
  Texture* diffuseMap = nullptr;
  std::string opacityMapName;
  Texture* opacityMap = nullptr;
  std::string bumpMapName;
  Texture* bumpMap = nullptr;
  std::string environmentMapName;

  // The environment cube map's GL name (0 = none). The material owns it: setting a
  // new one deletes the previous one.
  unsigned GetEnvironmentMap() const { return environmentMap_; }
  void SetEnvironmentMap(unsigned cubeMap);

 private:
  unsigned environmentMap_ = 0;
};

// Reads material files for the registry. A file that is not a material (unreadable,
// malformed XML, no "Name" on the root element) gives null, with the reason logged.
class MaterialLoader : public IAssetLoader {
 public:
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
};

// Reads one material file; null with error set (naming the file) when it fails.
std::unique_ptr<Material> ReadMaterialFile(const std::string& path, std::string& error);

// Writes a material file that ReadMaterialFile reads back to the same values (the
// texture and cube-map bindings are not part of the file). False, with error set,
// when the file cannot be written or a name cannot be represented: map names must
// not contain folder separators, and no name may hold control characters other than
// tab, line feed and carriage return, or bytes that are not UTF-8.
bool WriteMaterialFile(const std::string& path, const Material& material, std::string& error);
