#include "live/live_reload.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/demo_content.h"
#include "assets/effect.h"
#include "assets/material.h"
#include "render/draw_lists.h"
#include "assets/material.h"
#include "render/draw_lists.h"
#include "assets/texture.h"
#include "demo/demo_controller.h"
#include "inspect/file_report.h"
#include "render/fx/fx.h"

namespace {

std::string Extension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

bool InRobotFolder(const std::string& path) { return path.rfind("Robot/", 0) == 0; }

// Compiled on the GL context current here, as the demo compiles it.
bool CompileEffect(const std::string& path, std::string& error) {
  std::unique_ptr<fx::Context> context = fx::Context::Create(&error);
  if (context != nullptr && context->CreateEffectFromFile(path, &error) != nullptr) return true;
  if (error.find(path) == std::string::npos) error = path + ": " + error;
  return false;
}

}  // namespace

std::string ContentKindOf(const std::string& relativePath) {
  const std::string extension = Extension(relativePath);
  if (extension == "cfx") return "effect";
  if (extension == "glsl") return "effect-code";
  if (extension == "mat") return "material";
  if (extension == "png" || extension == "jpg") return "texture";
  if (extension == "geo") return "model";
  if (extension == "ani") return "animation";
  if (extension == "cam") return "camera";
  if (extension == "scr") return "property-script";
  if (extension == "mp3") return "music";
  if (extension.empty() && InRobotFolder(relativePath)) return "pose";
  return "";
}

std::vector<std::string> RelevantChanges(const std::vector<std::string>& relativePaths) {
  std::vector<std::string> relevant;
  for (const std::string& path : relativePaths) {
    if (ContentKindOf(path).empty()) continue;
    if (std::find(relevant.begin(), relevant.end(), path) == relevant.end()) relevant.push_back(path);
  }
  return relevant;
}

namespace {

constexpr char kTextureFolder[] = "textures/";

// The registry's name of a texture directly in the texture folder; "" otherwise.
std::string TextureName(const std::string& relativePath) {
  if (relativePath.rfind(kTextureFolder, 0) != 0 || ContentKindOf(relativePath) != "texture") return "";
  const std::string file = relativePath.substr(sizeof kTextureFolder - 1);
  if (file.find('/') != std::string::npos) return "";
  return file.substr(0, file.find_last_of('.'));
}

// The loaded effects of the effect folder, by file.
std::vector<std::string> LoadedEffectFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code code;
  for (const auto& entry : std::filesystem::directory_iterator(folder + "effects", code)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() == ".cfx" && DemoContent::Exists() &&
        DemoContent::Instance()->Get<Effect>(path.stem().string()) != nullptr) {
      files.push_back(path.string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A map name of a material file resolved against the loaded textures: false when it
// names no loaded texture.
bool FindMap(const std::string& name, Texture*& out) {
  out = nullptr;
  if (name.empty()) return true;
  out = DemoContent::Instance()->Get<Texture>(name);
  return out != nullptr;
}

// The loaded material of a changed file, and the file as read, when the file can go
// into the loaded material as it is: the same name (the glow lists go by it), on the
// same side of translucent (the lists the draw passes take), the same environment map
// (loaded once, with the material) and 2D maps that are loaded. Null otherwise.
Material* MaterialInPlace(const std::string& folder, const std::string& relativePath,
                          std::unique_ptr<Material>& file) {
  const std::string name = std::filesystem::path(relativePath).stem().string();
  if (relativePath != "materials/" + name + ".mat" || !DemoContent::Exists()) return nullptr;
  Material* loaded = DemoContent::Instance()->Get<Material>(name);
  std::string error;
  file = ReadMaterialFile(folder + relativePath, error);
  Texture* map = nullptr;
  if (loaded == nullptr || file == nullptr || file->name != loaded->name ||
      IsTranslucentMaterial(file.get()) != IsTranslucentMaterial(loaded) ||
      file->environmentMapName != loaded->environmentMapName || !FindMap(file->diffuseMapName, map) ||
      !FindMap(file->opacityMapName, map) || !FindMap(file->bumpMapName, map)) {
    return nullptr;
  }
  return loaded;
}

// The file's values into the loaded material, which keeps its identity (the sub-meshes
// and the draw lists hold it) and its environment map.
void TakeMaterialValues(const Material& file, Material& loaded) {
  std::copy(file.ambient, file.ambient + 4, loaded.ambient);
  std::copy(file.diffuse, file.diffuse + 4, loaded.diffuse);
  std::copy(file.specular, file.specular + 4, loaded.specular);
  std::copy(file.emissive, file.emissive + 4, loaded.emissive);
  loaded.opacity = file.opacity;
  loaded.glossiness = file.glossiness;
  loaded.specularLevel = file.specularLevel;
  loaded.emissiveAmount = file.emissiveAmount;
  loaded.reflectionLevel = file.reflectionLevel;
  loaded.diffuseMapName = file.diffuseMapName;
  loaded.opacityMapName = file.opacityMapName;
  loaded.bumpMapName = file.bumpMapName;
  FindMap(loaded.diffuseMapName, loaded.diffuseMap);
  FindMap(loaded.opacityMapName, loaded.opacityMap);
  FindMap(loaded.bumpMapName, loaded.bumpMap);
}

}  // namespace

bool ReloadsInPlace(const std::string& folder, const std::string& relativePath) {
  const std::string kind = ContentKindOf(relativePath);
  if (kind == "effect-code") return relativePath.rfind("effects/", 0) == 0;
  if (kind == "material") {
    std::unique_ptr<Material> file;
    return MaterialInPlace(folder, relativePath, file) != nullptr;
  }
  if (kind == "effect") {
    return relativePath.rfind("effects/", 0) == 0 && relativePath.find('/', 8) == std::string::npos &&
           DemoContent::Exists() &&
           DemoContent::Instance()->Get<Effect>(std::filesystem::path(relativePath).stem().string()) != nullptr;
  }
  const std::string name = TextureName(relativePath);
  if (name.empty() || name == DemoController::MaskName(0) || name == DemoController::MaskName(1 << 20)) return false;
  if (!DemoContent::Exists() || DemoContent::Instance()->Get<Texture>(name) == nullptr) return false;
  std::error_code code;
  if (Extension(relativePath) == "png" && std::filesystem::exists(folder + kTextureFolder + name + ".jpg", code)) {
    return false;
  }
  return true;
}

bool ReloadInPlace(DemoController& controller, const std::string& folder, const std::string& relativePath,
                   std::string& error) {
  const std::string kind = ContentKindOf(relativePath);
  if (kind == "effect") return controller.ReloadEffect(folder + relativePath, error);
  if (kind == "material") {
    std::unique_ptr<Material> file;
    Material* loaded = MaterialInPlace(folder, relativePath, file);
    if (loaded == nullptr) {
      error = "couldn't reload " + folder + relativePath + " in place";
      return false;
    }
    TakeMaterialValues(*file, *loaded);
    return true;
  }
  if (kind == "effect-code") {
    for (const std::string& file : LoadedEffectFiles(folder)) {
      if (!controller.ReloadEffect(file, error)) return false;
    }
    return true;
  }
  Texture* texture = DemoContent::Exists() ? DemoContent::Instance()->Get<Texture>(TextureName(relativePath)) : nullptr;
  Image image;
  if (texture == nullptr || !DecodeTextureFile(folder + relativePath, image) ||
      !texture->Replace(image.width, image.height, image.bitsPerPixel, image.pixels.get())) {
    error = "couldn't reload " + folder + relativePath;
    return false;
  }
  return true;
}

bool CheckChangedFile(const std::string& folder, const std::string& relativePath, std::string& error) {
  const std::string path = folder + relativePath;
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) {
    error = path + " was removed";
    return false;
  }
  const std::string kind = ContentKindOf(relativePath);
  if (kind == "effect") return CompileEffect(path, error);
  if (kind == "effect-code") {
    // Shared code: every effect beside it that may include it must still compile.
    std::vector<std::string> effects;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path(), code)) {
      if (entry.path().extension() == ".cfx") effects.push_back(entry.path().string());
    }
    std::sort(effects.begin(), effects.end());
    for (const std::string& effect : effects) {
      if (!CompileEffect(effect, error)) return false;
    }
    return true;
  }
  // Music is streamed as it plays; the inspector knows no kind for it.
  if (kind == "music") return true;
  inspect::Json ignored;
  return inspect::Inspect(path, inspect::Options(), ignored, error);
}
