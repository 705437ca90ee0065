// Model loading without a GL context: meshes, pivots, node values, progress steps and
// broken files. (Vertex buffers and drawing: tests/gl/model_gl_test.cpp.)
#include "assets/model.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using namespace model_file;

struct StepCounter : IContentObserver {
  void OnError(const char*) override {}
  void OnBegin(int) override {}
  void OnStep() override { ++steps; }
  void OnFinished() override {}
  int steps = 0;
};

MeshData Triangle(int id, const std::string& name) {
  MeshData mesh;
  mesh.nodeId = id;
  mesh.name = name;
  SubMeshData subMesh;
  subMesh.materialName = "paint";
  for (int v = 0; v < 3; ++v) {
    for (int f = 0; f < kFloatsPerVertex; ++f) subMesh.vertices.push_back(static_cast<float>(v + f));
  }
  mesh.subMeshes.push_back(subMesh);
  return mesh;
}

NodeValue Value(const std::string& name, std::uint8_t type, std::uint8_t mode) {
  NodeValue value;
  value.name = name;
  value.type = type;
  value.mode = mode;
  return value;
}

class ModelLoading : public ::testing::Test {
 protected:
  std::unique_ptr<Model> Load(const ModelData& data, const std::string& name = "m.geo") {
    std::string error;
    EXPECT_TRUE(WriteFile(dir_.File(name), data, error)) << error;
    ModelLoader loader(observers_);
    std::unique_ptr<Model> model = loader.LoadModel(dir_.File(name), error);
    EXPECT_NE(model, nullptr) << error;
    version_ = loader.Version();
    return model;
  }

  testing_support::TempDir dir_;
  StepCounter first_;
  StepCounter second_;
  ContentObservers observers_{&first_, &second_};
  unsigned short version_ = 0;
};

TEST_F(ModelLoading, MeshesKeepFileOrderAndReportOneStepEach) {
  ModelData data;
  data.meshes = {Triangle(4, "left"), Triangle(-2, "right")};
  const std::unique_ptr<Model> model = Load(data);
  EXPECT_EQ(first_.steps, 2);
  EXPECT_EQ(second_.steps, 2);
  ASSERT_EQ(model->meshes.size(), 2u);
  Mesh& mesh = *model->meshes[0];
  EXPECT_EQ(mesh.name, "left");
  EXPECT_EQ(mesh.GetId(), 4);
  EXPECT_FALSE(mesh.IsCamera());
  EXPECT_EQ(mesh.GetTransform(), mesh.transform.a);
  EXPECT_EQ(mesh.GetBaseTransform(), mesh.baseTransform.a);
  EXPECT_EQ(mesh.colourMask[3], 1);
  const SubMesh& subMesh = *mesh.subMeshes.at(0);
  EXPECT_EQ(subMesh.owner, &mesh);
  EXPECT_EQ(subMesh.vertexCount, 3);
  EXPECT_EQ(subMesh.vertices.size(), 45u);
  EXPECT_EQ(subMesh.materialName, "paint");
  EXPECT_EQ(subMesh.material, nullptr);
  EXPECT_TRUE(subMesh.visible);
  EXPECT_FALSE(subMesh.cullExempt);
  EXPECT_EQ(subMesh.boundingBox.maxX, 2);
  EXPECT_EQ(subMesh.vertexBuffer, 0u);  // no context: nothing uploaded
  subMesh.Draw();                        // and drawing does nothing
  EXPECT_EQ(model->meshes[1]->GetId(), -2);

  ModelData none;
  none.hasHeader = true;
  EXPECT_TRUE(Load(none)->meshes.empty());
}

TEST_F(ModelLoading, PivotsAreTheIdentityWithoutAVersionAndInvertedWithOne) {
  ModelData data;
  data.hasHeader = true;
  data.meshes = {Triangle(1, "a")};
  data.meshes[0].pivot = sm::Translation(1, 2, 3);  // not written for version 0
  std::unique_ptr<Model> model = Load(data);
  EXPECT_EQ(version_, 0);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(model->meshes[0]->pivot.a[i], sm::Mat4().a[i]);
    EXPECT_EQ(model->meshes[0]->inversePivot.a[i], sm::Mat4().a[i]);
  }

  data.version = 1;
  data.meshes[0].pivot = sm::Product(sm::RotationMatrix(0.5f, 0, 1, 0), sm::Translation(1, 2, 3));
  model = Load(data);
  EXPECT_EQ(version_, 1);
  const Mesh& mesh = *model->meshes[0];
  EXPECT_EQ(mesh.pivot.a[13], data.meshes[0].pivot.a[13]);
  const sm::Mat4 product = sm::Product(mesh.pivot, mesh.inversePivot);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.a[i], sm::Mat4().a[i], 1e-5f) << i;
}

TEST_F(ModelLoading, NodeValuesBecomeConstantsOrTracks) {
  ModelData data;
  data.meshes = {Triangle(1, "valued")};
  std::vector<NodeValue>& values = data.meshes[0].values;
  values.push_back(Value("on", kBool, kConstant));
  values.back().boolValue = true;
  values.push_back(Value("count", kInt, kConstant));
  values.back().intValue = -9;
  values.push_back(Value("speed", kFloat, kConstant));
  values.back().floatValue = 1.25f;
  values.push_back(Value("offset", kVec3, kConstant));
  values.back().vec3Value = sm::Vec3(1, 2, 3);
  values.push_back(Value("label", kString, kConstant));
  values.back().stringValue = "door";
  values.push_back(Value("steps", kInt, kStep));
  values.back().keys = {{2, 20, 0}, {0, 10, 0}};
  values.push_back(Value("fade", kFloat, kLinear));
  values.back().keys = {{0, 0, 0}, {1, 0, 4}};
  values.push_back(Value("path", kVec3, kLinear));  // bare times: an empty track
  values.back().keys = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
  values.push_back(Value("curve", kBool, kTcb));  // no such track: nothing stored
  values.back().keys = {{0, 0, 0}};
  values.push_back(Value("future", kInt, 5));     // unknown mode: keys go nowhere
  values.back().keys = {{0, 3, 0}};
  values.push_back(Value("count", kFloat, kConstant));  // a repeated name replaces
  values.back().floatValue = 0.5f;

  const std::unique_ptr<Model> model = Load(data);
  Mesh& mesh = *model->meshes[0];
  EXPECT_EQ(mesh.values.size(), 10u);
  EXPECT_EQ(*mesh.FindValue("on")->Constant<bool>(), true);
  EXPECT_EQ(mesh.FindValue("count")->Type(), KeyedValue::kFloat);
  EXPECT_EQ(*mesh.FindValue("count")->Constant<float>(), 0.5f);
  EXPECT_EQ(*mesh.FindValue("speed")->Constant<float>(), 1.25f);
  EXPECT_EQ(mesh.FindValue("offset")->Constant<sm::Vec3>()->z, 3);
  EXPECT_EQ(mesh.FindValue("offset")->Constant<sm::Vec3>()->w, 1);
  EXPECT_EQ(*mesh.FindValue("label")->Constant<std::string>(), "door");

  const KeyedValue& steps = *mesh.FindValue("steps");
  ASSERT_NE(steps.Track<int>(), nullptr);
  EXPECT_EQ(steps.Track<int>()->KeyCount(), 2);
  EXPECT_EQ(steps.IntAt(1.0f), 10);
  EXPECT_EQ(steps.IntAt(2.0f), 20);
  EXPECT_FLOAT_EQ(mesh.FindValue("fade")->FloatAt(0.5f), 2.0f);
  ASSERT_NE(mesh.FindValue("path")->Keys(), nullptr);
  EXPECT_EQ(mesh.FindValue("path")->Keys()->KeyCount(), 0);
  EXPECT_FALSE(mesh.FindValue("curve")->HasData());
  EXPECT_FALSE(mesh.FindValue("future")->HasData());
  EXPECT_EQ(mesh.FindValue("missing"), nullptr);
}

TEST_F(ModelLoading, BrokenFilesFailWithAReasonThatNamesTheFile) {
  ModelData data;
  data.meshes = {Triangle(1, "whole"), Triangle(2, "cut")};
  const std::string bytes = Write(data);
  testing_support::WriteFile(dir_.File("cut.geo"), bytes.substr(0, bytes.size() - 7));
  ModelLoader loader(observers_);
  std::string error;
  EXPECT_EQ(loader.LoadModel(dir_.File("cut.geo"), error), nullptr);
  EXPECT_NE(error.find("cut.geo"), std::string::npos);
  EXPECT_NE(error.find("mesh 1"), std::string::npos);
  EXPECT_EQ(loader.Load(dir_.File("cut.geo").c_str(), nullptr), nullptr);
  EXPECT_EQ(loader.Load(dir_.File("absent.geo").c_str(), nullptr), nullptr);
  EXPECT_EQ(loader.Load(dir_.Path().c_str(), nullptr), nullptr);  // a folder
  testing_support::WriteFile(dir_.File("header_only.geo"), std::string("HLCMDL\x01\x00", 8));
  EXPECT_EQ(loader.Load(dir_.File("header_only.geo").c_str(), nullptr), nullptr);
  EXPECT_EQ(::PeekMeshCount(dir_.File("header_only.geo")), 0);
}

}  // namespace
