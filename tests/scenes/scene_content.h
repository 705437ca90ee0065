#pragma once
// Everything the robot and the two scenes look up, built in code into a FakeWorld:
// the twelve robot parts and the robot's pose files, the two welding arms with their
// end animations and spark signals, the credits, the monitor screens, the robot's
// paths, the greetings wall and the broken wall. The overlay surfaces are rectangles
// in clip space (x, y in -1..1, z = 0), so a GL test that draws them with identity
// camera matrices knows where each lands on screen.
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "anim/animation_file.h"
#include "assets/model_file.h"
#include "assets/robot_pose_file.h"
#include "scenes/fake_world.h"
#include "scenes/lookups.h"

namespace scene_testing {

// A change that takes something a set-up needs out of a world, and the name the
// set-up's error line must give.
struct ContentDamage {
  const char* name;
  std::function<void(FakeWorld&)> damage;
};

// A rectangle in the plane z = 0 (two triangles) whose second texture coordinates run
// 0..1 across it, t = 0 at the bottom; the first set runs the other way round, so a
// picture drawn with the wrong set shows mirrored.
inline model_file::SubMeshData Rectangle(float x0, float y0, float x1, float y1, const std::string& material = "") {
  model_file::SubMeshData subMesh;
  subMesh.materialName = material;
  const float corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
  for (const auto& c : corners) {
    const float x = x0 + (x1 - x0) * c[0];
    const float y = y0 + (y1 - y0) * c[1];
    const float vertex[model_file::kFloatsPerVertex] = {x, y, 0, 1, 0, 0, 1, 1, 1 - c[0], 1 - c[1], 0, 1, c[0], c[1], 1};
    subMesh.vertices.insert(subMesh.vertices.end(), vertex, vertex + model_file::kFloatsPerVertex);
  }
  return subMesh;
}

inline model_file::MeshData MeshData(const std::string& name, int nodeId = 0,
                                     std::vector<model_file::SubMeshData> subMeshes = {}) {
  model_file::MeshData mesh;
  mesh.name = name;
  mesh.nodeId = nodeId;
  mesh.subMeshes = std::move(subMeshes);
  return mesh;
}

inline std::unique_ptr<Model> ModelOf(std::vector<model_file::MeshData> meshes) {
  auto model = std::make_unique<Model>();
  for (model_file::MeshData& mesh : meshes) model->meshes.push_back(MakeMesh(std::move(mesh)));
  return model;
}

// An int step signal with the given (time, value) keys.
inline model_file::NodeValue IntSignal(const std::string& name, const std::vector<std::pair<float, int>>& keys) {
  model_file::NodeValue value;
  value.name = name;
  value.type = model_file::kInt;
  value.mode = model_file::kStep;
  for (const auto& key : keys) {
    model_file::ValueKey k;
    k.time = key.first;
    k.intValue = key.second;
    value.keys.push_back(k);
  }
  return value;
}

// A node animation with one node (id) at a constant position, or moving through the
// keyed positions (two keys give a straight line at constant speed).
inline std::unique_ptr<Animation> NodeAt(int id, const std::vector<std::pair<float, sm::Vec3>>& positions) {
  animation_file::NodeData node;
  node.id = id;
  node.rotation.axisY = 1.0f;
  node.scale.x = node.scale.y = node.scale.z = 1.0f;
  if (positions.size() == 1) {
    node.position.x = positions[0].second.x;
    node.position.y = positions[0].second.y;
    node.position.z = positions[0].second.z;
  } else {
    node.position.keyed = true;
    for (const auto& p : positions) node.position.keys.push_back({p.first, p.second.x, p.second.y, p.second.z});
  }
  animation_file::AnimationData data;
  data.nodes.push_back(node);
  return Animation::FromData(data);
}

// ---- The robot ----

// A standing pose in pose space (hips at the origin, facing +z, right = -x).
inline Robot::Frame StandingFrame() {
  Robot::Frame f;
  const float joints[20][3] = {
      {0, 440, 15},    {0, 300, 10},     {0, 150, 5},      {0, 0, 0},       {115, 280, 0},
      {130, 110, 20},  {140, -50, 60},   {145, -80, 70},   {-115, 280, 0},  {-130, 110, 20},
      {-140, -50, 60}, {-145, -80, 70},  {40, 40, 30},     {40, -150, 50},  {40, -340, 30},
      {40, -360, 130}, {-20, 40, 30},    {-20, -150, 50},  {-20, -340, 30}, {-20, -360, 130}};
  for (int j = 0; j < 20; ++j) f.joints[j] = sm::Vec3(joints[j][0], joints[j][1], joints[j][2]);
  return f;
}

// The standing pose with joint 2 (carried, never drawn) marked (animation, key time, 0),
// so a test can tell from the robot's current frame which key was chosen.
inline Robot::Frame TaggedFrame(int animation, float time) {
  Robot::Frame f = StandingFrame();
  f.joints[2] = sm::Vec3(static_cast<float>(animation), time, 0.0f);
  return f;
}

struct PoseTrackShape {
  float length;  // time of the last key
  float step;    // between keys
};

// Releasing 12 s, run 1.4 s, breaking wall 3 s, dance 24 s.
inline PoseTrackShape DefaultShape(int animation) {
  switch (animation) {
    case Robot::kReleasing: return {12.0f, 0.1f};
    case Robot::kRun: return {1.4f, 0.05f};
    case Robot::kBreakingWall: return {3.0f, 0.05f};
    default: return {24.0f, 0.25f};
  }
}

inline std::vector<robot_pose_file::PoseKey> TaggedKeys(int animation, PoseTrackShape shape) {
  std::vector<robot_pose_file::PoseKey> keys;
  const int count = static_cast<int>(shape.length / shape.step + 0.5f);
  for (int k = 0; k <= count; ++k) {
    robot_pose_file::PoseKey key;
    key.time = static_cast<float>(k) * shape.step;
    key.frame = TaggedFrame(animation, key.time);
    keys.push_back(key);
  }
  return keys;
}

// Writes "Robot/frame" and the four animations into folder (which must exist).
inline void WriteRobotFiles(const std::string& folder) {
  const std::string robot = folder + "/Robot";
  std::error_code ignored;
  std::filesystem::create_directories(robot, ignored);
  std::string error;
  robot_pose_file::WriteRestFrameFile(robot + "/frame", StandingFrame(), error);
  for (const Robot::AnimationFile& file : Robot::kAnimationFiles) {
    robot_pose_file::WriteAnimationFile(folder + "/" + file.file,
                                        TaggedKeys(file.index, DefaultShape(file.index)), error);
  }
}

// Every part model with two meshes (every mesh of a part is placed).
inline void AddRobotParts(FakeWorld& world) {
  for (const Robot::PartName& part : Robot::kPartNames) {
    std::vector<model_file::MeshData> meshes;
    meshes.push_back(MeshData(std::string(part.model) + "_shell", 0, {Rectangle(-10, 0, 10, 50)}));
    meshes.push_back(MeshData(std::string(part.model) + "_detail"));
    world.AddModel(part.model, ModelOf(std::move(meshes)));
  }
}

// ---- The arms ----

constexpr int kArmEndNode = 21;

// Where each arm's end effector is held (within reach, off to the side and lower).
inline sm::Vec3 ArmEndPosition(const sm::Vec3& base) { return sm::Vec3(base.x * 0.6f, 300.0f, base.z - 350.0f); }

inline void AddArm(FakeWorld& world, const std::string& prefix, const std::string& sparkName, const sm::Vec3& base,
                   const std::vector<std::pair<float, int>>& sparkKeys) {
  for (const char* part : {"base", "joint1", "joint2"}) {
    std::vector<model_file::MeshData> meshes;
    meshes.push_back(MeshData(prefix + part, 0, {Rectangle(-20, -20, 20, 20)}));
    world.AddModel(prefix + part, ModelOf(std::move(meshes)));
  }
  std::vector<model_file::MeshData> end;
  end.push_back(MeshData("arm_end", kArmEndNode, {Rectangle(-5, 0, 5, 100)}));
  end.push_back(MeshData("_ctrl_props"));
  end.back().values.push_back(IntSignal(sparkName, sparkKeys));
  world.AddModel(prefix + "end", ModelOf(std::move(end)));
  world.AddAnimation(prefix + "end", NodeAt(kArmEndNode, {{0.0f, ArmEndPosition(base)}}));
}

// ---- The paths ----

constexpr int kPathNode = 31;
constexpr int kWallPathNode = 32;

// The robot's path: a straight line at constant speed from (0, 365.769, 0) at 100 s
// to (12000, 365.769, -12000) at 220 s.
inline sm::Vec3 PathPosition(float t) {
  const float u = (t - 100.0f) / 120.0f;
  const float clamped = u < 0.0f ? 0.0f : (u > 1.0f ? 1.0f : u);
  return sm::Vec3(12000.0f * clamped, 365.769f, -12000.0f * clamped);
}

inline void AddPaths(FakeWorld& world) {
  std::vector<model_file::MeshData> path;
  path.push_back(MeshData("path_carrier", kPathNode));
  path.push_back(MeshData("path_decoration", 0, {Rectangle(0, 0, 1, 1)}));
  world.AddModel("robot_path", ModelOf(std::move(path)));
  world.AddAnimation("robot_path", NodeAt(kPathNode, {{100.0f, PathPosition(100.0f)}, {220.0f, PathPosition(220.0f)}}));
  std::vector<model_file::MeshData> wallPath;
  wallPath.push_back(MeshData("wall_path", kWallPathNode));
  world.AddModel("robot_breaking_wall_path", ModelOf(std::move(wallPath)));
  world.AddAnimation("robot_breaking_wall_path", NodeAt(kWallPathNode, {{0.0f, sm::Vec3(13100, 365.769f, -17400)}}));
}

// ---- The assembling scene ----

const sm::Vec3 kFirstArmBase(780.924f, 217.917f, 1819.266f);
const sm::Vec3 kSecondArmBase(-780.924f, 217.917f, 1819.266f);

// Clip-space places of the overlays: credits on the left half, the two monitor faces
// at the top right and bottom right.
inline void AddAssemblingContent(FakeWorld& world) {
  AddArm(world, "mech_arm_01_", "sparks", kFirstArmBase, {{0.0f, 1}, {50.0f, 0}, {60.0f, 1}, {110.0f, 0}});
  AddArm(world, "mech_arm_02_", "sparks2", kSecondArmBase, {{0.0f, 0}, {20.0f, 1}, {110.0f, 0}});

  std::vector<model_file::MeshData> credits;
  credits.push_back(MeshData("credits_surface", 0, {Rectangle(-1, -1, 0, 1)}));
  credits.back().values.push_back(
      IntSignal("credits_signal", {{0.0f, 0}, {203.8721f, 1}, {208.5505f, 0}, {213.6274f, 1}}));
  world.AddModel("credits", ModelOf(std::move(credits)));
  for (const char* name : {"kestrel", "marlin", "osprey"}) world.AddTexture(name);

  std::vector<model_file::MeshData> screens;
  screens.push_back(MeshData("screen_a", 0, {Rectangle(0.5f, 0.5f, 1, 1)}));
  screens.push_back(MeshData("screen_b", 0, {Rectangle(0.5f, -1, 1, -0.5f)}));
  world.AddModel("screens", ModelOf(std::move(screens)));
  for (int i = 0; i < 99; ++i) world.AddTexture(NumberedName("hud", i));
  AddPaths(world);
}

// ---- The breaking-wall scene ----

// Shard i's centre: on the wall plane x = 13800, spread over y and z.
inline sm::Vec3 ShardCentre(int i) {
  return sm::Vec3(13800.0f, 100.0f + 80.0f * static_cast<float>(i % 10), -17900.0f + 90.0f * static_cast<float>(i));
}

// The greetings surface covers the right half of clip space.
inline void AddBreakingWallContent(FakeWorld& world, int shardCount = 12) {
  AddPaths(world);
  std::vector<model_file::MeshData> greetings;
  greetings.push_back(MeshData("greetings_surface", 0, {Rectangle(0, -1, 1, 1)}));
  world.AddModel("glass_wall_greetz", ModelOf(std::move(greetings)));
  for (int i = 0; i < 59; ++i) world.AddTexture(NumberedName("greetz", i));

  std::vector<model_file::MeshData> shards;
  for (int i = 0; i < shardCount; ++i) {
    const sm::Vec3 c = ShardCentre(i);
    shards.push_back(MeshData(NumberedName("shard", i), 0, {Rectangle(-1, -1, 1, 1, "glass")}));
    shards.back().pivot = sm::Translation(-c.x, -c.y, -c.z);
  }
  world.AddModel("glass_wall_broken", ModelOf(std::move(shards)));
}

// The whole world of both scenes, the robot's files written into dataFolder.
inline void AddAllSceneContent(FakeWorld& world, const std::string& dataFolder, int shardCount = 12) {
  AddRobotParts(world);
  WriteRobotFiles(dataFolder);
  AddAssemblingContent(world);
  AddBreakingWallContent(world, shardCount);
}

}  // namespace scene_testing
