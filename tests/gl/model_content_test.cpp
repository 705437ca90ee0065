// Models and node animations through the content registry with every real loader on
// a GL context: progress steps, vertex buffers, material binding, animations moving
// the meshes, and a broken model file reported by name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "anim/animation_file.h"
#include "anim/node_animation.h"
#include "base/log.h"
#include "assets/demo_content.h"
#include "assets/material.h"
#include "assets/material_resolution.h"
#include "assets/model.h"
#include "assets/model_file.h"
#include "assets/test_images.h"
#include "platform/gl.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;

struct Progress : IContentObserver {
  void OnError(const char* message) override { errors.push_back(message); }
  void OnBegin(int count) override { total = count; }
  void OnStep() override { ++steps; }
  void OnFinished() override { finished = true; }
  std::vector<std::string> errors;
  int total = -1;
  int steps = 0;
  bool finished = false;
};

class ModelContent : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    for (const char* folder : {"textures", "animations", "materials", "models"}) {
      std::filesystem::create_directories(dir_.File(folder));
    }
    OpenLog(dir_.File("log.txt"));
    DemoContent::Instance()->AddObserver(&progress_);
  }
  void TearDown() override {
    CloseLog();
    GenericSingleton<DemoContent>::Destroy();  // GL objects go while the context lives
    GlTest::TearDown();
  }

  // A model of meshCount meshes with ids firstId, firstId + 1, ..., one triangle each.
  void WriteModel(const std::string& name, int meshCount, int firstId, const std::string& material) {
    model_file::ModelData model;
    model.hasHeader = true;
    model.version = 1;
    for (int i = 0; i < meshCount; ++i) {
      model_file::MeshData mesh;
      mesh.nodeId = firstId + i;
      mesh.name = name + "_" + std::to_string(i);
      model_file::SubMeshData triangle;
      triangle.materialName = material;
      triangle.vertices.assign(3 * model_file::kFloatsPerVertex, 1.0f);
      mesh.subMeshes.push_back(triangle);
      model.meshes.push_back(mesh);
    }
    std::string error;
    ASSERT_TRUE(model_file::WriteFile(dir_.File("models/" + name + ".geo"), model, error)) << error;
  }

  // An animation with one node per id, each at a constant position (id, 0, 0).
  void WriteAnimation(const std::string& name, const std::vector<int>& ids) {
    animation_file::AnimationData animation;
    for (const int id : ids) {
      animation_file::NodeData node;
      node.id = id;
      node.position.x = static_cast<float>(id);
      node.rotation.axisZ = 1;
      node.scale.x = node.scale.y = node.scale.z = 1;
      animation.nodes.push_back(node);
    }
    std::string error;
    ASSERT_TRUE(animation_file::WriteFile(dir_.File("animations/" + name + ".ani"), animation, error)) << error;
  }

  std::string Root() const { return dir_.Path() + "/"; }

  testing_support::TempDir dir_;
  Progress progress_;
};

TEST_F(ModelContent, ModelsAndAnimationsLoadCountTheirStepsAndWorkTogether) {
  test_images::PngPicture png;
  png.width = 1;
  png.height = 1;
  png.rows = {{10, 20, 30}};
  test_images::WritePng(dir_.File("textures/a.png"), png);
  test_images::WritePng(dir_.File("textures/b.png"), png);
  test_images::WriteSolidJpeg(dir_.File("textures/c.jpg"), 2, 2, 1, 1, 1);
  test_images::WriteSolidJpeg(dir_.File("textures/d.jpg"), 2, 2, 1, 1, 1);
  WriteModel("arm", 3, 1, "steel");
  WriteModel("robot", 5, 10, "chrome");
  WriteAnimation("cameras", {});
  WriteAnimation("robot_moves", {10, 14});
  WriteAnimation("arm_moves", {2});
  Material steel;
  steel.name = "steel";
  std::string error;
  ASSERT_TRUE(WriteMaterialFile(dir_.File("materials/steel.mat"), steel, error)) << error;

  testing::internal::CaptureStderr();  // the "loading ..." lines
  ASSERT_TRUE(DemoContent::Instance()->LoadAll(Root(), nullptr));
  testing::internal::GetCapturedStderr();
  // 4 textures + 2 model files + 3 + 5 meshes announced; the 3 animations step too.
  EXPECT_EQ(progress_.total, 14);
  EXPECT_EQ(progress_.steps, 17);
  EXPECT_TRUE(progress_.finished);
  EXPECT_THAT(progress_.errors, testing::ElementsAre());

  DemoContent& content = *DemoContent::Instance();
  Model* robot = content.Get<Model>("robot");
  Model* arm = content.Get<Model>("arm");
  ASSERT_NE(robot, nullptr);
  ASSERT_NE(arm, nullptr);
  ASSERT_EQ(robot->meshes.size(), 5u);
  std::vector<GLuint> buffers;
  for (Model* model : {robot, arm}) {
    for (const auto& mesh : model->meshes) {
      ASSERT_NE(mesh->subMeshes.at(0)->vertexBuffer, 0u);
      buffers.push_back(mesh->subMeshes[0]->vertexBuffer);
    }
  }

  EXPECT_TRUE(ResolveMeshMaterials());
  EXPECT_EQ(arm->meshes[2]->subMeshes[0]->material, content.Get<Material>("steel"));
  EXPECT_EQ(robot->meshes[0]->subMeshes[0]->material, nullptr);
  EXPECT_THAT(ReadFile(dir_.File("log.txt")), testing::HasSubstr("error: material chrome wasn't fount"));

  Animation* moves = content.Get<Animation>("robot_moves");
  ASSERT_NE(moves, nullptr);
  moves->AttachMeshes(robot->meshes);
  moves->Update(1.0f, sm::Mat4(), 0.02f);
  EXPECT_EQ(robot->meshes[0]->transform.a[12], 10);
  EXPECT_EQ(robot->meshes[4]->baseTransform.a[12], 14);
  EXPECT_EQ(robot->meshes[1]->transform.a[12], 0);  // no node with id 11

  content.ReleaseAll();
  for (const GLuint buffer : buffers) EXPECT_FALSE(glext::glIsBufferARB(buffer));
  CheckGlError("loading and releasing models");
}

TEST_F(ModelContent, ABrokenModelOrAnimationIsReportedByPathAndTheRestLoads) {
  WriteModel("good", 2, 1, "none");
  const std::string bytes = ReadFile(dir_.File("models/good.geo"));
  testing_support::WriteFile(dir_.File("models/cut.geo"), bytes.substr(0, bytes.size() - 10));
  WriteAnimation("fine", {1});
  testing_support::WriteFile(dir_.File("animations/forged.ani"), std::string("\xff\xff\xff\x7f", 4));

  testing::internal::CaptureStderr();
  EXPECT_FALSE(DemoContent::Instance()->LoadAll(Root(), nullptr));
  testing::internal::GetCapturedStderr();
  const std::string root = Root();
  EXPECT_THAT(progress_.errors, testing::ElementsAre("couldn't load asset '" + root + "animations/forged.ani'",
                                                     "couldn't load asset '" + root + "models/cut.geo'"));
  const std::string log = ReadFile(dir_.File("log.txt"));
  EXPECT_THAT(log, testing::HasSubstr("error: '" + root + "models/cut.geo': mesh 1"));
  EXPECT_THAT(log, testing::HasSubstr("error: '" + root + "animations/forged.ani': "));
  EXPECT_EQ(DemoContent::Instance()->Get<Model>("cut"), nullptr);
  EXPECT_NE(DemoContent::Instance()->Get<Model>("good"), nullptr);
  EXPECT_NE(DemoContent::Instance()->Get<Animation>("fine"), nullptr);
}

}  // namespace
