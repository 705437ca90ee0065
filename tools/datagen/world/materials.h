#pragma once
// The materials of the world and the texture maps they use. Every material file is
// named after the material (file stem = Name), every opaque one states Opacity 1, and
// the glowing ones' names start with "glow".
#include <functional>
#include <string>
#include <vector>

#include "datagen/texture/canvas.h"

namespace datagen {

class OutputTree;

struct MaterialLook {
  std::string name;
  Color diffuse{0.6f, 0.6f, 0.6f};
  float ambient = 0.30f;  // ambient colour = diffuse × this
  Color specular{0.5f, 0.5f, 0.5f};
  float specularLevel = 0.5f;
  Color emissive{0, 0, 0};
  float opacity = 1.0f;
  std::string diffuseMap;  // texture names; empty: none
  std::string bumpMap;
  std::string environmentMap;  // cube-map prefix name ("env_")
  float reflection = 0.0f;
  float rim = 0.0f;  // the rim light's strength
};

class Fonts;

// A texture map: its asset name, file extension and the picture.
struct MapRecipe {
  std::string name;
  std::string extension;  // "jpg" or "png"
  std::function<Canvas(Fonts& fonts)> paint;
  int bitsPerPixel = 24;
};

const std::vector<MaterialLook>& Materials();
const std::vector<MapRecipe>& MaterialMaps();

// The cube map every reflective material uses (also the program's own environment).
constexpr const char* kEnvironmentMap = "env_";

// Writes every material file into materials/.
bool WriteMaterials(OutputTree& tree);
// Paints and writes every map into textures/.
bool WriteMaterialMaps(OutputTree& tree, Fonts& fonts);

}  // namespace datagen
