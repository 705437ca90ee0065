#pragma once
// Access to the data set the build generated (build/data, build/demodat, build/setup.jpg)
// and the names the program looks up in it.
#include <string>
#include <vector>

#include "anim/animation_file.h"
#include "anim/node_animation.h"
#include "assets/model_file.h"

namespace data_set {

std::string Root();      // build/data, no trailing separator
std::string Archive();   // build/demodat
std::string SetupPicture();
std::string PathOf(const std::string& relative);

// Every file of the tree, relative, sorted.
std::vector<std::string> Files();

// The names the program looks up.
const std::vector<std::string>& ModelNames();
const std::vector<std::string>& AnimationNames();
// title1 ... greetz58: every texture looked up by name (167).
const std::vector<std::string>& TextureNames();

// The stems of the files in a folder with an extension ("textures", ".png").
std::vector<std::string> Stems(const std::string& folder, const std::string& extension);

// Parsed files; a failure fails the calling test through ADD_FAILURE.
model_file::ModelData Model(const std::string& name);
animation_file::AnimationData AnimationData(const std::string& name);
// The animation as the program builds it (root above the file's nodes).
std::unique_ptr<Animation> LoadedAnimation(const std::string& name);

// The mesh of that name, or null.
const model_file::MeshData* FindMesh(const model_file::ModelData& model, const std::string& name);
const model_file::NodeValue* FindValue(const model_file::MeshData& mesh, const std::string& name);
// Every node id of an animation file (depth first).
std::vector<int> NodeIds(const animation_file::AnimationData& animation);

}  // namespace data_set
