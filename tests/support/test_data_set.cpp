#include "support/test_data_set.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "anim/animation_file.h"
#include "anim/show_times.h"
#include "base/byte_io.h"
#include "assets/camera_file.h"
#include "assets/image.h"
#include "assets/model_file.h"
#include "assets/robot_pose_file.h"
#include "platform/tools/mp3_encoder.h"
#include "platform/zip_archive.h"
#include "support/geometry.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;
using model_file::MeshData;
using model_file::ModelData;
using model_file::NodeValue;
using model_file::SubMeshData;

constexpr float kPi = 3.14159265f;

// Where the scenes put the robot (release point) and the welding arms' bases.
const sm::Vec3 kRelease(-6.859f, 380.929f, 1694.074f);
const sm::Vec3 kArmBase1(780.924f, 217.917f, 1819.266f);
const sm::Vec3 kArmBase2(-780.924f, 217.917f, 1819.266f);

// Node ids of the meshes that animations drive.
constexpr int kDoorLeft = 101;
constexpr int kDoorRight = 102;
constexpr int kRobotPathNode = 201;
constexpr int kWallPathNode = 202;
constexpr int kArmEnd1 = 301;
constexpr int kArmEnd2 = 302;

// --- geometry -------------------------------------------------------------------------

// The geometry's triangles as one sub-mesh of the given material.
SubMeshData SubMeshOf(Geometry& geometry, const std::string& material = "") {
  SubMeshData subMesh;
  subMesh.materialName = material;
  subMesh.vertices = std::move(geometry.vertices);
  geometry.vertices.clear();
  return subMesh;
}

SubMeshData BoxMesh(const sm::Vec3& c, const sm::Vec3& h) {
  Geometry g;
  g.Box(c, h.x, h.y, h.z);
  return SubMeshOf(g);
}

// A vertical quad facing +z, centred on c.
SubMeshData Panel(const sm::Vec3& c, float halfWidth, float halfHeight) {
  Geometry g;
  g.Quad({c.x - halfWidth, c.y - halfHeight, c.z}, {c.x + halfWidth, c.y - halfHeight, c.z},
         {c.x + halfWidth, c.y + halfHeight, c.z}, {c.x - halfWidth, c.y + halfHeight, c.z}, {0, 0, 1});
  return SubMeshOf(g);
}

MeshData Mesh(int id, const std::string& name, std::vector<SubMeshData> subMeshes = {}) {
  MeshData mesh;
  mesh.nodeId = id;
  mesh.name = name;
  mesh.subMeshes = std::move(subMeshes);
  return mesh;
}

ModelData Model(std::vector<MeshData> meshes) {
  ModelData model;
  model.hasHeader = true;
  model.version = 1;
  model.meshes = std::move(meshes);
  return model;
}

ModelData BoxModel(const sm::Vec3& c, const sm::Vec3& h) { return Model({Mesh(1, "box", {BoxMesh(c, h)})}); }

// A step track of ints or a linear track of floats through (time, value) keys.
NodeValue IntSteps(const std::string& name, const std::vector<std::pair<float, int>>& keys) {
  NodeValue value;
  value.name = name;
  value.type = model_file::kInt;
  value.mode = model_file::kStep;
  for (const auto& [time, v] : keys) value.keys.push_back({time, v, 0.0f});
  return value;
}

NodeValue FloatLine(const std::string& name, const std::vector<std::pair<float, float>>& keys) {
  NodeValue value;
  value.name = name;
  value.type = model_file::kFloat;
  value.mode = model_file::kLinear;
  for (const auto& [time, v] : keys) value.keys.push_back({time, 0, v});
  return value;
}

// --- animations -----------------------------------------------------------------------

animation_file::NodeData Node(int id) {
  animation_file::NodeData node;
  node.id = id;
  node.rotation.axisY = 1;
  node.scale.x = node.scale.y = node.scale.z = 1;
  return node;
}

animation_file::NodeData MovingNode(int id, const std::vector<animation_file::VectorKey>& keys) {
  animation_file::NodeData node = Node(id);
  node.position.keyed = true;
  node.position.keys = keys;
  return node;
}

// A camera node at eye looking along -z, tilted down by `down` radians, whose position
// track ends at endTime. The node's local -y is the viewing direction, so the node
// turns by a quarter turn less the tilt about x; the file stores constant angles
// negated.
animation_file::NodeData CameraNode(int id, const sm::Vec3& eye, float down, float endTime) {
  animation_file::NodeData node = MovingNode(id, {{0.0f, eye.x, eye.y, eye.z}, {endTime, eye.x, eye.y, eye.z}});
  node.rotation.angle = -(kPi / 2.0f - down);
  node.rotation.axisX = 1;
  node.rotation.axisY = 0;
  return node;
}

// --- robot ----------------------------------------------------------------------------

// A standing robot facing +z, hip centre at the origin, legs already where the robot's
// leg adjustment puts them (right hip 20 and left hip 40 to the side, 40 up, 30 ahead).
robot_pose_file::Joints StandingRobot(float armSwing) {
  robot_pose_file::Joints j;
  auto at = [&](int i, float x, float y, float z) { j.joints[i] = sm::Vec3(x, y, z); };
  at(3, 0, 0, 0);
  at(2, 0, 110, 0);
  at(1, 0, 220, 0);
  at(0, 0, 300, 10);
  at(4, 60, 200, 0);
  at(5, 70, 100, 5 + armSwing);
  at(6, 75, 0, 15 + armSwing);
  at(7, 75, -20, 15);
  at(8, -60, 200, 0);
  at(9, -70, 100, 5 - armSwing);
  at(10, -75, 0, 15 - armSwing);
  at(11, -75, -20, 15);
  at(12, 40, 40, 30);
  at(13, 40, -140, 35);
  at(14, 40, -330, 30);
  at(15, 40, -340, 70);
  at(16, -20, 40, 30);
  at(17, -20, -140, 35);
  at(18, -20, -330, 30);
  at(19, -20, -340, 70);
  return j;
}

std::vector<robot_pose_file::PoseKey> PoseKeys(const std::vector<float>& times) {
  std::vector<robot_pose_file::PoseKey> keys;
  for (std::size_t i = 0; i < times.size(); ++i) {
    robot_pose_file::PoseKey key;
    key.time = times[i];
    key.frame = StandingRobot(i % 2 == 0 ? 0.0f : 20.0f);
    keys.push_back(key);
  }
  return keys;
}

// --- pictures -------------------------------------------------------------------------

Image Solid(int width, int height, int bitsPerPixel, const std::vector<unsigned char>& colour) {
  Image image = Image::Allocate(width, height, bitsPerPixel);
  const int channels = bitsPerPixel / 8;
  for (int i = 0; i < width * height; ++i) {
    for (int c = 0; c < channels; ++c) image.pixels[static_cast<std::size_t>(i * channels + c)] = colour[c];
  }
  return image;
}

// Black bars over the top and bottom eighth, clear in between.
Image Letterbox() {
  Image image = Solid(16, 16, 32, {0, 0, 0, 0});
  for (int y : {0, 1, 14, 15}) {
    for (int x = 0; x < 16; ++x) image.pixels[static_cast<std::size_t>((y * 16 + x) * 4 + 3)] = 255;
  }
  return image;
}

std::vector<unsigned char> Hue(int index) {
  return {static_cast<unsigned char>(40 + (index * 67) % 200), static_cast<unsigned char>(40 + (index * 131) % 200),
          static_cast<unsigned char>(40 + (index * 29) % 200), 255};
}

// --- the writer -----------------------------------------------------------------------

class DataSetWriter {
 public:
  DataSetWriter(const std::string& folder, const TestDataSetOptions& options, std::string& error)
      : folder_(folder), options_(options), error_(error) {}

  bool Ok() const { return ok_; }

  void Model(const std::string& name, const ModelData& model) {
    Bytes("models/" + name + ".geo", model_file::Write(model));
  }
  void Animation(const std::string& name, std::vector<animation_file::NodeData> nodes) {
    animation_file::AnimationData data;
    data.nodes = std::move(nodes);
    Bytes("animations/" + name + ".ani", animation_file::Write(data));
  }
  void Png(const std::string& relative, const Image& image) {
    if (Wanted(relative) && !EncodePng(Path(relative), image)) Fail("couldn't write " + relative);
  }
  void Jpeg(const std::string& relative, const Image& image) {
    if (Wanted(relative) && !EncodeJpeg(Path(relative), image, 95)) Fail("couldn't write " + relative);
  }
  void Bytes(const std::string& relative, const std::string& bytes) {
    std::string error;
    if (Wanted(relative) && !bytes::WriteWholeFile(Path(relative), bytes, error)) Fail(error);
  }
  void Copy(const std::string& relative, const std::string& source) {
    std::error_code code;
    if (Wanted(relative) && !fs::copy_file(source, Path(relative), fs::copy_options::overwrite_existing, code)) {
      Fail("couldn't copy " + source + ": " + code.message());
    }
  }
  void Music(const std::string& relative, double seconds) {
    if (!Wanted(relative)) return;
    const int frames = std::max(1, static_cast<int>(seconds * 44100.0));
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
      const auto v = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * 3.141592653589793 * 220.0 * i / 44100.0));
      samples[static_cast<std::size_t>(2 * i)] = v;
      samples[static_cast<std::size_t>(2 * i + 1)] = v;
    }
    std::string error;
    if (!platform::EncodeMp3(Path(relative), samples, platform::Mp3Settings(), error)) Fail(error);
  }

 private:
  bool Wanted(const std::string& relative) {
    if (!ok_ || options_.omit.count(relative) != 0) return false;
    std::error_code code;
    fs::create_directories(fs::path(Path(relative)).parent_path(), code);
    return true;
  }
  std::string Path(const std::string& relative) const { return folder_ + "/" + relative; }
  void Fail(const std::string& message) {
    if (ok_) error_ = message;
    ok_ = false;
  }

  std::string folder_;
  const TestDataSetOptions& options_;
  std::string& error_;
  bool ok_ = true;
};

void WriteWorld(DataSetWriter& out) {
  // The hall: a floor, walls and two machines; the passage behind the doors at z < -1000.
  Geometry hall;
  hall.Quad({-1500, 0, 2600}, {1500, 0, 2600}, {1500, 0, -1000}, {-1500, 0, -1000}, {0, 1, 0});
  hall.Quad({-1500, 0, -1000}, {1500, 0, -1000}, {1500, 900, -1000}, {-1500, 900, -1000}, {0, 0, 1});
  hall.Box({-700, 150, 400}, 150, 150, 150);
  hall.Box({600, 100, 800}, 120, 100, 200);
  out.Model("factory_hal", Model({Mesh(1, "hall", {SubMeshOf(hall)})}));

  Geometry passage;
  passage.Quad({-300, 0, -1000}, {300, 0, -1000}, {300, 0, -4000}, {-300, 0, -4000}, {0, 1, 0});
  passage.Box({-320, 300, -2500}, 20, 300, 1500);
  passage.Box({320, 300, -2500}, 20, 300, 1500);
  out.Model("factory_passage", Model({Mesh(1, "passage", {SubMeshOf(passage)})}));

  // The doors: two leaves in the opening of the hall's back wall, sliding apart.
  out.Model("doors", Model({Mesh(kDoorLeft, "door_left", {BoxMesh({-150, 250, -1000}, {150, 250, 10})}),
                            Mesh(kDoorRight, "door_right", {BoxMesh({150, 250, -1000}, {150, 250, 10})})}));
  out.Animation("doors", {MovingNode(kDoorLeft, {{115.5f, 0, 0, 0}, {117.0f, -300, 0, 0}}),
                          MovingNode(kDoorRight, {{115.5f, 0, 0, 0}, {117.0f, 300, 0, 0}})});

  // The boards: the first title fades in and out at the start, the second at 20 s.
  MeshData boards = Mesh(1, "boards");
  boards.values.push_back(IntSteps("board_index", {{0.0f, 0}, {15.0f, 1}}));
  boards.values.push_back(FloatLine("board_opacity", {{0.0f, 0.0f}, {2.0f, 1.0f}, {6.0f, 1.0f}, {8.0f, 0.0f},
                                                      {20.0f, 0.0f}, {22.0f, 1.0f}, {26.0f, 1.0f}, {28.0f, 0.0f}}));
  out.Model("boards", Model({boards}));

  // The robot: the lying model, the twelve parts in their local frames, its path.
  out.Model("robot_lying", BoxModel({kRelease.x, 40, kRelease.z}, {60, 40, 200}));
  const char* const parts[] = {"robot_head",        "robot_corpse",         "robot_shoulder_left",
                               "robot_shoulder_right", "robot_elbow_left",  "robot_elbow_right",
                               "robot_thigh_left",  "robot_thigh_right",    "robot_tibia_left",
                               "robot_tibia_right", "robot_foot_left",      "robot_foot_right"};
  for (const char* part : parts) out.Model(part, BoxModel({0, 0, -40}, {15, 15, 40}));
  out.Model("robot_path", Model({Mesh(kRobotPathNode, "path")}));
  using show::AsFloat;
  out.Animation("robot_path", {MovingNode(kRobotPathNode, {{AsFloat(show::kRunStart), kRelease.x, kRelease.y, kRelease.z},
                                                           {AsFloat(show::kSceneSwitch), 0, 380, 600},
                                                           {AsFloat(show::kRobotStands), 0, 380, -1500},
                                                           {AsFloat(show::kWallCharge), 0, 380, -1600},
                                                           {AsFloat(show::kDanceLight), 0, 380, -3500}})});
  out.Model("robot_breaking_wall_path", Model({Mesh(kWallPathNode, "wall_path")}));
  out.Animation("robot_breaking_wall_path", {Node(kWallPathNode)});

  // The welding arms: base, two joints and the end with its torch and spark signal.
  const struct {
    const char* prefix;
    sm::Vec3 base;
    int endId;
    const char* sparks;
  } arms[] = {{"mech_arm_01_", kArmBase1, kArmEnd1, "sparks"}, {"mech_arm_02_", kArmBase2, kArmEnd2, "sparks2"}};
  for (const auto& arm : arms) {
    const std::string prefix = arm.prefix;
    out.Model(prefix + "base", BoxModel(arm.base, {60, 60, 60}));
    out.Model(prefix + "joint1", BoxModel({0, 0, -100}, {20, 20, 100}));
    out.Model(prefix + "joint2", BoxModel({0, 0, -80}, {15, 15, 80}));
    MeshData controls = Mesh(arm.endId + 10, "_ctrl_props");
    controls.values.push_back(IntSteps(arm.sparks, {{0.0f, 0}, {5.0f, 1}, {40.0f, 0}, {60.0f, 1}, {100.0f, 0}}));
    out.Model(prefix + "end", Model({Mesh(arm.endId, "arm_end", {BoxMesh({0, 0, 0}, {10, 10, 30})}), controls}));
    const float side = arm.base.x > 0 ? -1.0f : 1.0f;
    const sm::Vec3 e1(arm.base.x + side * 300, arm.base.y + 150, arm.base.z - 250);
    const sm::Vec3 e2(arm.base.x + side * 400, arm.base.y + 50, arm.base.z - 100);
    out.Animation(prefix + "end", {MovingNode(arm.endId, {{0.0f, e1.x, e1.y, e1.z},
                                                          {60.0f, e2.x, e2.y, e2.z},
                                                          {120.0f, e1.x, e1.y, e1.z},
                                                          {240.0f, e2.x, e2.y, e2.z}})});
  }

  // The overlays: credits with their signal, two monitors, the greetings wall.
  MeshData credits = Mesh(1, "credits", {Panel({0, 500, 900}, 200, 60)});
  credits.values.push_back(IntSteps("credits_signal", {{0.0f, 0}, {30.0f, 1}, {60.0f, 2}, {210.0f, 3}}));
  out.Model("credits", Model({credits}));
  out.Model("screens", Model({Mesh(1, "screen_left", {Panel({-900, 300, -990}, 150, 100)}),
                              Mesh(2, "screen_right", {Panel({900, 300, -990}, 150, 100)})}));
  out.Model("glass_wall_greetz", Model({Mesh(1, "greetz", {Panel({0, 300, -1550}, 300, 200)})}));

  // The glass wall as shards, each about its own centre.
  std::vector<MeshData> shards;
  for (int i = 0; i < 6; ++i) {
    const sm::Vec3 centre(-200.0f + 80.0f * i, 150.0f + 60.0f * (i % 3), -1550.0f);
    MeshData shard = Mesh(1000 + i, "shard" + std::to_string(i), {Panel(centre, 35, 25)});
    shard.pivot = sm::Translation(-centre.x, -centre.y, -centre.z);
    shards.push_back(std::move(shard));
  }
  out.Model("glass_wall_broken", Model(std::move(shards)));
}

void WriteCameras(DataSetWriter& out) {
  // The hall until the breaking-wall scene, the passage during it, the dance after it.
  struct Shot {
    int id;
    sm::Vec3 eye;
    float down;
    float end;
    float fieldOfView;
  };
  const Shot shots[] = {{11, {0, 700, 3200}, 0.20f, show::AsFloat(show::kSceneSwitch), 1.0f},
                        {12, {0, 380, -800}, 0.05f, show::AsFloat(show::kBackToHall), 0.9f},
                        {13, {0, 600, 1400}, 0.25f, 240.0f, 1.1f}};
  std::vector<animation_file::NodeData> nodes;
  std::vector<camera_file::CameraRecord> records;
  for (const Shot& shot : shots) {
    nodes.push_back(CameraNode(shot.id, shot.eye, shot.down, shot.end));
    camera_file::CameraRecord record;
    record.id = shot.id;
    record.fieldOfView.constant = shot.fieldOfView;
    record.second.constant = 10.0f;
    records.push_back(record);
  }
  out.Animation("cameras", std::move(nodes));
  out.Bytes("cameras/cameras.cam", camera_file::Write(records));
}

void WriteRobotPoses(DataSetWriter& out) {
  out.Bytes("Robot/frame", robot_pose_file::WriteRestFrame(StandingRobot(0.0f)));
  out.Bytes("Robot/releasing_anim", robot_pose_file::WriteAnimation(PoseKeys({0.0f, 5.0f, 11.0f})));
  std::vector<robot_pose_file::PoseKey> run = PoseKeys({0.0f, 0.7f, 1.4f});
  run.back().frame = run.front().frame;  // a closed cycle
  out.Bytes("Robot/run_anim", robot_pose_file::WriteAnimation(run));
  out.Bytes("Robot/breaking_wall_anim", robot_pose_file::WriteAnimation(PoseKeys({0.0f, 1.9f, 3.0f})));
  out.Bytes("Robot/dance_anim", robot_pose_file::WriteAnimation(PoseKeys({0.0f, 0.5f, 1.0f, 22.0f})));
}

void WritePictures(DataSetWriter& out) {
  out.Jpeg("loader.jpg", Solid(64, 32, 24, {kTestLoaderRgb[0], kTestLoaderRgb[1], kTestLoaderRgb[2]}));
  for (const char* face : {"x_pos", "x_neg", "y_pos", "y_neg", "z_pos", "z_neg"}) {
    out.Jpeg(std::string("images/env_") + face + ".jpg", Solid(8, 8, 24, {90, 110, 140}));
  }
  int hue = 0;
  auto texture = [&](const std::string& name) { out.Png("textures/" + name + ".png", Solid(4, 4, 32, Hue(hue++))); };
  for (const char* name : {"title1", "title2", "soon", "endscreen", "kestrel", "marlin", "osprey"}) texture(name);
  for (int i = 0; i < 99; ++i) texture("hud" + std::to_string(i));
  for (int i = 0; i < 59; ++i) texture("greetz" + std::to_string(i));
  out.Png("textures/mask.png", Letterbox());
  out.Png("textures/mask_big.png", Letterbox());
}

}  // namespace

bool WriteTestDataSet(const std::string& folder, const TestDataSetOptions& options, std::string& error) {
  std::error_code code;
  fs::create_directories(folder, code);
  DataSetWriter out(folder, options, error);
  WriteWorld(out);
  WriteCameras(out);
  WriteRobotPoses(out);
  WritePictures(out);
  const std::string content = std::string(DRIFT_SOURCE_DIR) + "/content/";
  for (const auto& entry : fs::directory_iterator(content + "effects", code)) {
    out.Copy("effects/" + entry.path().filename().string(), entry.path().string());
  }
  out.Copy("properties/props.scr", content + "properties/props.scr");
  out.Music("music/osprey.mp3", options.musicSeconds);
  return out.Ok();
}

bool PackDataFolder(const std::string& folder, const std::string& archive, std::string& error) {
  std::vector<std::string> folders;
  std::vector<std::string> files;
  std::error_code code;
  for (auto it = fs::recursive_directory_iterator(folder, code); !code && it != fs::recursive_directory_iterator();
       it.increment(code)) {
    const std::string relative = fs::relative(it->path(), folder).generic_string();
    (it->is_directory() ? folders : files).push_back(relative);
  }
  if (code) {
    error = "couldn't list " + folder + ": " + code.message();
    return false;
  }
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  platform::ZipWriter zip;
  if (!zip.Open(archive)) {
    error = "couldn't create " + archive;
    return false;
  }
  for (const std::string& name : folders) zip.AddFolder(name + "/");
  for (const std::string& name : files) {
    std::string bytes;
    if (!bytes::ReadWholeFile(folder + "/" + name, bytes, error)) return false;
    zip.AddFile(name, bytes);
  }
  if (!zip.Close()) {
    error = "couldn't write " + archive;
    return false;
  }
  return true;
}

bool PrepareTestDemo(const std::string& binFolder, const TestDataSetOptions& options, std::string& error) {
  std::error_code code;
  fs::create_directories(binFolder, code);
  fs::copy_file(std::string(DRIFT_BINARY_DIR) + "/drift", binFolder + "/drift", fs::copy_options::overwrite_existing,
                code);
  if (code) {
    error = "couldn't copy drift: " + code.message();
    return false;
  }
  const std::string data = binFolder + "/data";
  const bool ok = WriteTestDataSet(data, options, error) && PackDataFolder(data, binFolder + "/demodat", error);
  fs::remove_all(data, code);
  return ok;
}

}  // namespace testing_support
