// drift-inspect run as a program, without a display, on files written by the format
// writers: the JSON it prints and its exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>

#include "anim/animation_file.h"
#include "assets/camera_file.h"
#include "assets/material.h"
#include "assets/model_file.h"
#include "assets/robot_pose_file.h"
#include "assets/test_images.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

using nlohmann::json;
using testing_support::TempDir;

struct Outcome {
  int status = -1;
  json output;  // discarded when standard output is not JSON
  std::string text;
  std::string errors;
};

class Inspect : public ::testing::Test {
 protected:
  Outcome Start(std::vector<std::string> args) {
    args.insert(args.begin(), std::string(DRIFT_BINARY_DIR) + "/drift-inspect");
    testing_support::ProcessOptions options;
    options.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
    options.stdoutPath = dir_.File("stdout");
    options.stderrPath = dir_.File("stderr");
    Outcome run;
    run.status = testing_support::RunCommand(args, 60, options);
    run.text = testing_support::ReadFile(dir_.File("stdout"));
    run.errors = testing_support::ReadFile(dir_.File("stderr"));
    if (!run.text.empty()) run.output = json::parse(run.text, nullptr, false);
    return run;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    testing_support::WriteFile(dir_.File(name), bytes);
    return dir_.File(name);
  }

  static std::vector<float> Floats(const json& value) { return value.get<std::vector<float>>(); }

  TempDir dir_;
};

model_file::ModelData ExampleModel() {
  model_file::ModelData model;
  model.hasHeader = true;
  model.version = 1;
  model.meshes.resize(2);
  model.meshes[0].nodeId = 12;
  model.meshes[0].name = "crate";
  model.meshes[0].pivot = sm::Translation(0, 1, 0);
  model_file::SubMeshData box;
  box.materialName = "wood";
  for (const sm::Vec3& corner : {sm::Vec3(-1, 2, 3), sm::Vec3(5, -4, 0), sm::Vec3(0, 0, 0)}) {
    const float vertex[model_file::kFloatsPerVertex] = {corner.x, corner.y, corner.z, 1, 0, 1, 0, 1,
                                                        0.5f, 0.5f, 0, 1, 0, 0, 1};
    box.vertices.insert(box.vertices.end(), vertex, vertex + model_file::kFloatsPerVertex);
  }
  model_file::ComputeBounds(box.vertices.data(), box.VertexCount(), box.box, box.sphere);
  model.meshes[0].subMeshes = {box, model_file::SubMeshData()};
  model_file::NodeValue glow;
  glow.name = "glow";
  glow.type = model_file::kFloat;
  glow.mode = model_file::kTcb;
  glow.keys = {{0, 0, 0.5f}, {2, 0, 1}};
  model_file::NodeValue label;
  label.name = "label";
  label.type = model_file::kString;
  label.stringValue = "fragile";
  model_file::NodeValue lost;
  lost.name = "lost";
  lost.type = model_file::kBool;
  lost.mode = model_file::kLinear;
  model.meshes[0].values = {label, glow, lost};
  model.meshes[1].name = "empty";
  return model;
}

TEST_F(Inspect, PrintsModelsWithBoundsAndNodeValues) {
  const std::string path = Write("crate.geo", model_file::Write(ExampleModel()));
  const Outcome run = Start({path});
  ASSERT_EQ(run.status, 0) << run.errors;
  const json& out = run.output;
  EXPECT_EQ(out["file"], path);
  EXPECT_EQ(out["kind"], "model");
  EXPECT_EQ(out["version"], 1);
  EXPECT_EQ(out["meshCount"], 2);
  EXPECT_EQ(out["subMeshCount"], 2);
  EXPECT_EQ(out["vertexCount"], 3);
  const json& crate = out["meshes"][0];
  EXPECT_EQ(crate["name"], "crate");
  EXPECT_EQ(crate["nodeId"], 12);
  EXPECT_EQ(Floats(crate["pivot"])[13], 1);
  const json& box = crate["subMeshes"][0];
  EXPECT_EQ(box["material"], "wood");
  EXPECT_EQ(Floats(box["boundingBox"]["min"]), (std::vector<float>{-1, -4, 0}));
  EXPECT_EQ(Floats(box["boundingBox"]["max"]), (std::vector<float>{5, 2, 3}));
  EXPECT_EQ(Floats(box["boundingBox"]["centre"]), (std::vector<float>{2, -1, 1.5f}));
  EXPECT_FLOAT_EQ(box["boundingSphere"]["radius"].get<float>(), 4.5f);
  EXPECT_FALSE(box.contains("vertices"));
  EXPECT_EQ(crate["subMeshes"][1]["vertexCount"], 0);
  EXPECT_EQ(Floats(out["bounds"]["centre"]), (std::vector<float>{2, -1, 1.5f}));
  EXPECT_TRUE(out["meshes"][1]["bounds"].is_null());

  const json& values = crate["values"];  // ordered by name
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0]["name"], "glow");
  EXPECT_EQ(values[0]["type"], "float");
  EXPECT_EQ(values[0]["mode"], "tcb");
  EXPECT_EQ(values[0]["keys"][1]["time"], 2);
  EXPECT_EQ(values[0]["keys"][1]["value"], 1);
  EXPECT_EQ(values[1]["value"], "fragile");
  EXPECT_EQ(values[2]["stored"], false);

  const Outcome withVertices = Start({"--vertices", path});
  ASSERT_EQ(withVertices.status, 0) << withVertices.errors;
  const json& vertices = withVertices.output["meshes"][0]["subMeshes"][0]["vertices"];
  ASSERT_EQ(vertices.size(), 3u);
  EXPECT_EQ(Floats(vertices[1]), (std::vector<float>{5, -4, 0, 1, 0, 1, 0, 1, 0.5f, 0.5f, 0, 1, 0, 0, 1}));
}

TEST_F(Inspect, PrintsAnimationTreesCamerasAndRobotPoses) {
  animation_file::AnimationData animation;
  animation.nodes.resize(1);
  animation_file::NodeData& node = animation.nodes[0];
  node.id = 3;
  node.position = {false, {}, 1, 2, 3};
  node.rotation.keyed = true;
  node.rotation.keys = {{0, 3.14159265f, 0, 0, 1}, {1, 8, 0, 0, 1}};
  node.scale.keyed = true;
  node.children.resize(1);
  node.children[0].id = 4;
  std::vector<camera_file::CameraRecord> cameras(1);
  cameras[0].id = 3;
  cameras[0].fieldOfView.constant = 0.9f;
  cameras[0].second.animated = true;
  cameras[0].second.keys = {{1, 2}};
  robot_pose_file::Joints frame;
  frame.joints[19] = sm::Vec3(7, 8, 9);
  std::vector<robot_pose_file::PoseKey> poses(2);
  poses[1].time = 0.5f;
  poses[1].frame = frame;

  const Outcome run = Start({Write("path.ani", animation_file::Write(animation)),
                         Write("cameras.cam", camera_file::Write(cameras)),
                         Write("frame", robot_pose_file::WriteRestFrame(frame)),
                         Write("dance_anim", robot_pose_file::WriteAnimation(poses))});
  ASSERT_EQ(run.status, 0) << run.errors;
  ASSERT_EQ(run.output.size(), 4u);

  const json& tree = run.output[0];
  EXPECT_EQ(tree["kind"], "animation");
  EXPECT_EQ(tree["nodeCount"], 2);
  const json& top = tree["nodes"][0];
  EXPECT_EQ(top["id"], 3);
  EXPECT_EQ(Floats(top["position"]["constant"]), (std::vector<float>{1, 2, 3}));
  EXPECT_TRUE(top["scale"]["keys"].empty());
  // The first key: pi about file z becomes -pi about y: the quaternion (0, 0, -1, 0).
  const std::vector<float> first = Floats(top["rotation"]["keys"][0]["value"]);
  EXPECT_NEAR(first[0], 0, 1e-6f);
  EXPECT_NEAR(std::abs(first[2]), 1, 1e-6f);
  EXPECT_FLOAT_EQ(top["spinRate"].get<float>(), 8 / 25.132f);
  EXPECT_EQ(top["children"][0]["id"], 4);
  EXPECT_FALSE(top["children"][0].contains("spinRate"));

  const json& camera = run.output[1];
  EXPECT_EQ(camera["kind"], "camera");
  EXPECT_EQ(camera["cameras"][0]["id"], 3);
  EXPECT_FLOAT_EQ(camera["cameras"][0]["fieldOfView"]["constant"].get<float>(), 0.9f);
  EXPECT_EQ(camera["cameras"][0]["second"]["keys"][0]["value"], 2);

  EXPECT_EQ(run.output[2]["kind"], "rest-frame");
  EXPECT_EQ(Floats(run.output[2]["joints"][19]), (std::vector<float>{7, 8, 9}));
  EXPECT_EQ(run.output[3]["kind"], "pose-animation");
  EXPECT_EQ(run.output[3]["keyCount"], 2);
  EXPECT_EQ(Floats(run.output[3]["keys"][1]["joints"][19]), (std::vector<float>{7, 8, 9}));
}

TEST_F(Inspect, PrintsMaterialsPicturesAndThePropertyScript) {
  Material steel;
  steel.name = "brushed";
  steel.opacity = 0.25f;
  steel.diffuseMapName = "steel_d";
  std::string error;
  ASSERT_TRUE(WriteMaterialFile(dir_.File("steel.mat"), steel, error)) << error;
  test_images::PngPicture png;
  png.width = 2;
  png.height = 1;
  png.rows = {{1, 2, 3, 4, 5, 6}};
  test_images::WritePng(dir_.File("sign.png"), png);
  test_images::WriteSolidJpeg(dir_.File("wall.jpg"), 5, 3, 9, 9, 9);
  const std::string script = Write("props.scr",
                                   "ValueProperty 3 7 0 speed 1.5\n"
                                   "AnimProperty 2 8 0 steps k 0 1 5 k 2 0 7 endkeys\n"
                                   "end\n");
  const Outcome run = Start({dir_.File("steel.mat"), dir_.File("sign.png"), dir_.File("wall.jpg"), script});
  ASSERT_EQ(run.status, 0) << run.errors;
  const json& material = run.output[0];
  EXPECT_EQ(material["kind"], "material");
  EXPECT_EQ(material["name"], "brushed");
  EXPECT_EQ(material["opacity"], 0.25);
  EXPECT_EQ(material["diffuseMap"], "steel_d");
  EXPECT_EQ(run.output[1]["kind"], "png");
  EXPECT_EQ(run.output[1]["width"], 2);
  EXPECT_EQ(run.output[1]["bitsPerPixel"], 24);
  EXPECT_EQ(run.output[2]["kind"], "jpeg");
  EXPECT_EQ(run.output[2]["height"], 3);
  const json& properties = run.output[3]["properties"];
  ASSERT_EQ(properties.size(), 2u);
  EXPECT_EQ(properties[0]["name"], "speed");
  EXPECT_EQ(properties[0]["value"], 1.5);
  EXPECT_EQ(properties[1]["kind"], "animated");
  EXPECT_EQ(properties[1]["keys"][0]["hold"], true);
  EXPECT_EQ(properties[1]["keys"][1]["value"], 7);

  // The property script reports its reason through the log; it reaches standard error.
  const Outcome broken = Start({Write("cut.scr", "ValueProperty 3 7 0 speed")});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.errors.find("cut.scr"), std::string::npos) << broken.errors;
  EXPECT_EQ(Start({Write("fake.png", "png")}).status, 1);
}

TEST_F(Inspect, PrintsEffectTechniquesAndFailsOnBrokenFiles) {
  const Outcome run = Start({std::string(DRIFT_SOURCE_DIR) + "/content/effects/blur.cfx"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.output["kind"], "effect");
  ASSERT_EQ(run.output["techniques"].size(), 2u);
  EXPECT_EQ(run.output["techniques"][0]["name"], "BlurGlowTech");
  EXPECT_EQ(run.output["techniques"][1]["name"], "BlurDofTech");
  EXPECT_EQ(run.output["techniques"][0]["passes"].size(), 1u);
  EXPECT_TRUE(run.output["compiled"].is_null()) << run.text;  // no display: nothing compiled

  const Outcome broken = Start({Write("broken.cfx", "technique T\n  pass p0\n")});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.errors.find("broken.cfx:"), std::string::npos) << broken.errors;
}

TEST_F(Inspect, FailuresExitWithStatusOneAndTheReason) {
  const std::string good = Write("good.cam", camera_file::Write({}));
  const std::string bytes = model_file::Write(ExampleModel());
  const std::string cut = Write("cut.geo", bytes.substr(0, bytes.size() / 2));
  const Outcome run = Start({cut, good, dir_.File("missing.ani"), Write("notes.txt", "x")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("cut.geo"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("missing.ani"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("notes.txt': unknown kind"), std::string::npos) << run.errors;
  ASSERT_EQ(run.output.size(), 1u);  // the file that loaded is still printed
  EXPECT_EQ(run.output[0]["cameraCount"], 0);

  // --as reads any name as the kind given.
  const Outcome renamed = Start({"--as", "camera", Write("cams.bin", camera_file::Write({}))});
  EXPECT_EQ(renamed.status, 0) << renamed.errors;
  EXPECT_EQ(renamed.output["kind"], "camera");

  EXPECT_EQ(Start({}).status, 2);
  EXPECT_EQ(Start({"--as", "sound", good}).status, 2);
  EXPECT_EQ(Start({"--bogus", good}).status, 2);
  const Outcome help = Start({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.text.find("usage: drift-inspect"), std::string::npos);
}

}  // namespace
