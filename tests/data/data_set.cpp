#include "data/data_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace data_set {

namespace fs = std::filesystem;

std::string Root() { return std::string(DRIFT_BINARY_DIR) + "/data"; }
std::string Archive() { return std::string(DRIFT_BINARY_DIR) + "/demodat"; }
std::string SetupPicture() { return std::string(DRIFT_BINARY_DIR) + "/setup.jpg"; }
std::string PathOf(const std::string& relative) { return Root() + "/" + relative; }

std::vector<std::string> Files() {
  std::vector<std::string> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(Root(), error); !error && it != fs::end(it); it.increment(error)) {
    if (it->is_regular_file()) files.push_back(fs::relative(it->path(), Root()).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

const std::vector<std::string>& ModelNames() {
  static const std::vector<std::string> names = {
      "doors", "boards", "factory_hal", "factory_passage", "robot_path", "robot_lying", "robot_head", "robot_corpse",
      "robot_shoulder_left", "robot_shoulder_right", "robot_elbow_left", "robot_elbow_right", "robot_thigh_left",
      "robot_thigh_right", "robot_tibia_left", "robot_tibia_right", "robot_foot_left", "robot_foot_right",
      "mech_arm_01_base", "mech_arm_01_joint1", "mech_arm_01_joint2", "mech_arm_01_end", "mech_arm_02_base",
      "mech_arm_02_joint1", "mech_arm_02_joint2", "mech_arm_02_end", "credits", "screens", "glass_wall_greetz",
      "glass_wall_broken", "robot_breaking_wall_path"};
  return names;
}

const std::vector<std::string>& AnimationNames() {
  static const std::vector<std::string> names = {"doors", "cameras", "robot_path", "robot_breaking_wall_path",
                                                 "mech_arm_01_end", "mech_arm_02_end"};
  return names;
}

const std::vector<std::string>& TextureNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list = {"title1", "title2", "soon", "endscreen", "mask", "mask_big",
                                     "kestrel", "marlin", "osprey"};
    for (int i = 0; i < 99; ++i) list.push_back("hud" + std::to_string(i));
    for (int i = 0; i < 59; ++i) list.push_back("greetz" + std::to_string(i));
    return list;
  }();
  return names;
}

std::vector<std::string> Stems(const std::string& folder, const std::string& extension) {
  std::vector<std::string> stems;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(PathOf(folder), error)) {
    if (entry.path().extension() == extension) stems.push_back(entry.path().stem().string());
  }
  std::sort(stems.begin(), stems.end());
  return stems;
}

model_file::ModelData Model(const std::string& name) {
  model_file::ModelData model;
  std::string error;
  if (!model_file::ReadFile(PathOf("models/" + name + ".geo"), model, error)) ADD_FAILURE() << error;
  return model;
}

animation_file::AnimationData AnimationData(const std::string& name) {
  animation_file::AnimationData animation;
  std::string error;
  if (!animation_file::ReadFile(PathOf("animations/" + name + ".ani"), animation, error)) ADD_FAILURE() << error;
  return animation;
}

std::unique_ptr<Animation> LoadedAnimation(const std::string& name) { return Animation::FromData(AnimationData(name)); }

const model_file::MeshData* FindMesh(const model_file::ModelData& model, const std::string& name) {
  for (const auto& mesh : model.meshes) {
    if (mesh.name == name) return &mesh;
  }
  return nullptr;
}

const model_file::NodeValue* FindValue(const model_file::MeshData& mesh, const std::string& name) {
  for (const auto& value : mesh.values) {
    if (value.name == name) return &value;
  }
  return nullptr;
}

namespace {
void CollectIds(const std::vector<animation_file::NodeData>& nodes, std::vector<int>& ids) {
  for (const auto& node : nodes) {
    ids.push_back(node.id);
    CollectIds(node.children, ids);
  }
}
}  // namespace

std::vector<int> NodeIds(const animation_file::AnimationData& animation) {
  std::vector<int> ids;
  CollectIds(animation.nodes, ids);
  return ids;
}

}  // namespace data_set
