// Node animation trees: how file rotations become tracks, how an update places
// attached meshes and cameras, spinning nodes, attaching and finding nodes, loading.
#include "anim/node_animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/temp_dir.h"

namespace {

using namespace animation_file;

constexpr float kPi = 3.14159265f;

// A stand-in for a mesh or an animated camera.
class Target final : public ITransformable {
 public:
  explicit Target(int id, bool camera = false) : id_(id), camera_(camera) {}
  bool IsCamera() override { return camera_; }
  int GetId() override { return id_; }
  float* GetTransform() override { return transform.a; }
  float* GetBaseTransform() override { return base.a; }
  sm::Mat4 transform;
  sm::Mat4 base;

 private:
  int id_;
  bool camera_;
};

NodeData ConstantNode(int id) {
  NodeData node;
  node.id = id;
  node.rotation.axisZ = 1;
  node.scale.x = node.scale.y = node.scale.z = 1;
  return node;
}

RotationBlock Keys(std::initializer_list<RotationKey> keys) {
  RotationBlock block;
  block.keyed = true;
  block.keys = keys;
  return block;
}

std::unique_ptr<Animation> Build(std::vector<NodeData> nodes) {
  AnimationData data;
  data.nodes = std::move(nodes);
  return Animation::FromData(data);
}

sm::Mat4 QuatMatrix(sm::Quat q) {
  sm::Vec3 axis(0, 1, 0);
  float angle = 0;
  sm::ToAxisAngle(q, axis, angle);
  return sm::RotationMatrix(angle, axis.x, axis.y, axis.z);
}

// X · Y: Y applied first.
sm::Mat4 Then(const sm::Mat4& x, const sm::Mat4& y) { return sm::Product(y, x); }

void ExpectMatrixNear(const sm::Mat4& actual, const sm::Mat4& expected, const char* what) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.a[i], expected.a[i], 1e-4f) << what << " [" << i << "]";
}

// Up to sign, a quaternion names one rotation.
void ExpectSameRotation(const sm::Quat& actual, float angle, const sm::Vec3& axis) {
  sm::Quat expected;
  sm::FromAxisAngle(expected, axis, angle);
  const float sign = actual.w * expected.w + actual.v.x * expected.v.x + actual.v.y * expected.v.y +
                     actual.v.z * expected.v.z < 0 ? -1.0f : 1.0f;
  EXPECT_NEAR(actual.w, sign * expected.w, 1e-5f);
  EXPECT_NEAR(actual.v.x, sign * expected.v.x, 1e-5f);
  EXPECT_NEAR(actual.v.y, sign * expected.v.y, 1e-5f);
  EXPECT_NEAR(actual.v.z, sign * expected.v.z, 1e-5f);
}

sm::Quat KeyValue(const Animation& node, int index) {
  float time = 0;
  sm::Quat value;
  bool hold = true;
  EXPECT_TRUE(node.rotationTrack->GetKey(index, time, value, hold));
  EXPECT_FALSE(hold);
  return value;
}

TEST(NodeAnimation, ConstantRotationsKeepTheirAxisAndKeyedOnesSwapIt) {
  NodeData constant = ConstantNode(1);
  constant.rotation.angle = kPi / 2;
  NodeData keyed = ConstantNode(2);
  keyed.rotation = Keys({{0, kPi / 2, 0, 0, 1}});
  const auto root = Build({constant, keyed});
  const Animation& first = *root->children[0];
  EXPECT_EQ(first.rotationTrack, nullptr);
  ExpectSameRotation(first.rotation, -kPi / 2, sm::Vec3(0, 0, 1));
  const Animation& second = *root->children[1];
  ASSERT_NE(second.rotationTrack, nullptr);
  ASSERT_EQ(second.rotationTrack->KeyCount(), 1);
  ExpectSameRotation(KeyValue(second, 0), -kPi / 2, sm::Vec3(0, 1, 0));
}

TEST(NodeAnimation, RotationKeysAccumulateInFileOrder) {
  NodeData same = ConstantNode(1);
  same.rotation = Keys({{0, kPi / 2, 0, 0, 1}, {1, kPi / 2, 0, 0, 1}});
  // Different axes show the order: the later key turns after the earlier ones.
  NodeData mixed = ConstantNode(2);
  mixed.rotation = Keys({{0, kPi / 2, 1, 0, 0}, {1, kPi / 2, 0, 0, 2}});
  const auto root = Build({same, mixed});

  ExpectSameRotation(KeyValue(*root->children[0], 0), -kPi / 2, sm::Vec3(0, 1, 0));
  ExpectSameRotation(KeyValue(*root->children[0], 1), -kPi, sm::Vec3(0, 1, 0));

  const Animation& node = *root->children[1];
  sm::Quat aboutX;
  sm::FromAxisAngle(aboutX, sm::Vec3(1, 0, 0), -kPi / 2);
  sm::Quat aboutY;  // file axis (0, 0, 2), swapped and normalised
  sm::FromAxisAngle(aboutY, sm::Vec3(0, 1, 0), -kPi / 2);
  ExpectMatrixNear(QuatMatrix(KeyValue(node, 1)), Then(QuatMatrix(aboutY), QuatMatrix(aboutX)),
                   "second key");
}

TEST(NodeAnimation, KeysTurningMoreThanSevenRadiansMarkASpinningNode) {
  NodeData fast = ConstantNode(1);
  fast.rotation = Keys({{0, 0.5f, 0, 0, 1}, {1, 7.5f, 0, 0, 1}});
  NodeData limit = ConstantNode(2);
  limit.rotation = Keys({{0, -7.0f, 0, 0, 1}});
  NodeData constant = ConstantNode(3);
  constant.rotation.angle = 9.0f;  // constants never spin
  NodeData backwards = ConstantNode(4);
  backwards.rotation = Keys({{0, -8.0f, 1, 0, 0}, {1, 7.5f, 1, 0, 0}});
  const auto root = Build({fast, limit, constant, backwards});
  EXPECT_TRUE(root->children[0]->spin);
  EXPECT_FLOAT_EQ(root->children[0]->spinRate, 7.5f / 25.132f);
  EXPECT_FALSE(root->children[1]->spin);
  EXPECT_FALSE(root->children[2]->spin);
  EXPECT_TRUE(root->children[3]->spin);
  EXPECT_FLOAT_EQ(root->children[3]->spinRate, 7.5f / 25.132f);  // the later key's rate
}

TEST(NodeAnimation, TopLevelNodesGetTranslationScaleRotationOfTheirValues) {
  NodeData node = ConstantNode(5);
  node.position = {false, {}, 1, 2, 3};
  node.rotation.angle = -kPi / 2;  // +90 degrees about z after the negation
  node.scale = {false, {}, 2, 3, 4};
  for (int i = 0; i < 16; ++i) node.local.a[i] = i % 5 == 0 ? 1.0f : 0.0f;
  node.local.a[12] = 10;  // a local offset along x
  const auto root = Build({node});
  Target mesh(5);
  root->AttachMeshes(std::vector<Target*>{&mesh});
  for (const float time : {0.0f, 50.0f, 1000.0f}) {
    root->Update(time, sm::Mat4(), 0.016f);
    sm::Mat4 scale;
    scale.a[0] = 2;
    scale.a[5] = 3;
    scale.a[10] = 4;
    const sm::Mat4 expected =
        Then(sm::Translation(1, 2, 3), Then(scale, sm::RotationMatrix(kPi / 2, 0, 0, 1)));
    ExpectMatrixNear(mesh.base, expected, "base");
    ExpectMatrixNear(mesh.transform, Then(expected, sm::Translation(10, 0, 0)), "transform");
  }
  // The rotation comes before the scale: local x (1, 0, 0) turns to y, then y scales by 3.
  const sm::Vec3 moved = sm::Transformed(mesh.base, sm::Vec3(1, 0, 0));
  EXPECT_NEAR(moved.x, 1, 1e-5f);
  EXPECT_NEAR(moved.y, 5, 1e-5f);
  EXPECT_NEAR(moved.z, 3, 1e-5f);
}

TEST(NodeAnimation, TracksAreEvaluatedAndEmptyTracksFallBackToDefaults) {
  NodeData node = ConstantNode(1);
  node.position.keyed = true;
  node.position.keys = {{0, 0, 0, 0}, {2, 4, 0, 0}};
  node.scale.keyed = true;  // no keys: scale (1, 1, 1)
  node.rotation = Keys({});
  const auto root = Build({node});
  Target mesh(1);
  root->AttachMeshes(std::vector<Target*>{&mesh});
  root->Update(1, sm::Mat4(), 0);
  ExpectMatrixNear(mesh.base, sm::Translation(2, 0, 0), "midway");
  root->Update(5, sm::Mat4(), 0);
  ExpectMatrixNear(mesh.base, sm::Translation(4, 0, 0), "after the last key");
}

TEST(NodeAnimation, ParentMatricesPassDownTheTree) {
  NodeData parent = ConstantNode(1);
  parent.position = {false, {}, 5, 0, 0};
  parent.rotation = Keys({{0, -kPi / 2, 0, -1, 0}});  // swapped to +90 degrees about z
  NodeData child = ConstantNode(2);
  child.position = {false, {}, 1, 0, 0};
  parent.children.push_back(child);
  const auto root = Build({parent});
  Target childMesh(2);
  root->AttachMeshes(std::vector<Target*>{&childMesh});
  const sm::Mat4 world = sm::Translation(0, 0, -1);
  root->Update(0, world, 0);
  const sm::Vec3 origin = sm::Transformed(childMesh.base, sm::Vec3(0, 0, 0));
  EXPECT_NEAR(origin.x, 5, 1e-5f);
  EXPECT_NEAR(origin.y, 1, 1e-5f);
  EXPECT_NEAR(origin.z, -1, 1e-5f);
}

TEST(NodeAnimation, SpinningNodesTurnOnlyAfterTheirStartTime) {
  NodeData wheel = ConstantNode(1);
  wheel.rotation = Keys({{0, 7.5f, 0, 0, 1}});  // swapped: about (0, 1, 0)
  NodeData hub = ConstantNode(2);
  wheel.children.push_back(hub);
  const auto root = Build({wheel});
  Target wheelMesh(1);
  Target hubMesh(2);
  root->AttachMeshes(std::vector<Target*>{&wheelMesh, &hubMesh});
  const Animation& node = *root->children[0];
  const sm::Mat4 keyRotation = QuatMatrix(KeyValue(node, 0));

  root->Update(82.5f, sm::Mat4(), 0.1f);
  ExpectMatrixNear(wheelMesh.base, sm::Mat4(), "no turn before the start");
  ExpectMatrixNear(hubMesh.base, keyRotation, "children follow the track");
  EXPECT_EQ(node.spinAngle, 0);

  const float rate = 7.5f / 25.132f;
  root->Update(83, sm::Mat4(), 0.1f);  // turns by the angle so far, then advances it
  ExpectMatrixNear(wheelMesh.base, sm::Mat4(), "first spinning frame");
  EXPECT_FLOAT_EQ(node.spinAngle, rate * 0.8f);
  root->Update(84, sm::Mat4(), 0.1f);
  sm::Vec3 axis(0, 1, 0);
  float angle = 0;
  sm::ToAxisAngle(KeyValue(node, 0), axis, angle);
  ExpectMatrixNear(wheelMesh.base, sm::RotationMatrix(rate * 0.8f, axis.x, axis.y, axis.z), "spinning");
  ExpectMatrixNear(hubMesh.base, keyRotation, "children still follow the track");
}

TEST(NodeAnimation, CameraNodesViewThroughTheirFrameAndStopTheUpdate) {
  NodeData cameraNode = ConstantNode(7);
  cameraNode.position = {false, {}, 0, -10, 0};
  cameraNode.scale = {false, {}, 5, 5, 5};  // not used for cameras
  NodeData below = ConstantNode(8);
  cameraNode.children.push_back(below);
  const auto root = Build({cameraNode});
  Target camera(7, true);
  Target belowMesh(8);
  root->AttachCamera(&camera);
  root->AttachMeshes(std::vector<Target*>{&belowMesh});
  sm::Mat4 untouched;
  untouched.a[3] = 42;
  belowMesh.base = untouched;
  root->Update(1, sm::Mat4(), 0.1f);
  const sm::Mat4 expected =
      Then(sm::RotationMatrix(1.5707963f, 1, 0, 0), sm::Inverted(sm::Translation(0, -10, 0)));
  ExpectMatrixNear(camera.transform, expected, "view");
  ExpectMatrixNear(camera.base, sm::Mat4(), "second matrix untouched");
  EXPECT_EQ(belowMesh.base.a[3], 42);
  // The node's position is the eye: it maps to the view's origin.
  const sm::Vec3 eye = sm::Transformed(camera.transform, sm::Vec3(0, -10, 0));
  EXPECT_NEAR(sm::Length(eye), 0, 1e-5f);
}

TEST(NodeAnimation, AttachingMatchesIdsAndFindingSearchesDepthFirst) {
  NodeData a = ConstantNode(3);
  NodeData b = ConstantNode(0);
  NodeData c = ConstantNode(4);
  NodeData d = ConstantNode(4);
  b.children.push_back(c);
  a.children.push_back(b);
  const auto root = Build({a, d});

  std::vector<std::unique_ptr<Target>> meshes;
  meshes.push_back(std::make_unique<Target>(0));
  meshes.push_back(std::make_unique<Target>(4));
  meshes.push_back(std::make_unique<Target>(4));
  root->AttachMeshes(meshes);
  EXPECT_EQ(root->attached, nullptr);            // the root's id is 0
  EXPECT_EQ(root->children[0]->attached, nullptr);  // id 3 has no match
  EXPECT_EQ(root->children[0]->children[0]->attached, nullptr);  // id 0 never attaches
  EXPECT_EQ(root->children[0]->children[0]->children[0]->attached, meshes[1].get());
  EXPECT_EQ(root->children[1]->attached, meshes[1].get());  // the first of two

  // A later list without a match keeps the earlier attachment.
  Target other(3);
  root->AttachMeshes(std::vector<Target*>{&other});
  EXPECT_EQ(root->children[0]->attached, &other);
  EXPECT_EQ(root->children[1]->attached, meshes[1].get());
  Target camera(4, true);
  root->AttachCamera(&camera);
  EXPECT_EQ(root->children[1]->attached, &camera);
  EXPECT_EQ(root->children[0]->children[0]->children[0]->attached, &camera);

  EXPECT_EQ(root->FindNode(4), root->children[0]->children[0]->children[0].get());
  EXPECT_EQ(root->FindNode(0), root.get());
  EXPECT_EQ(root->children[0]->FindNode(0), root->children[0]->children[0].get());
  EXPECT_EQ(root->FindNode(99), nullptr);
}

TEST(NodeAnimation, LoaderReadsFilesAndRefusesBrokenOnes) {
  testing_support::TempDir dir;
  AnimationData data;
  data.nodes.push_back(ConstantNode(6));
  data.nodes[0].children.push_back(ConstantNode(7));
  std::string error;
  ASSERT_TRUE(WriteFile(dir.File("robot.ani"), data, error)) << error;
  AnimationLoader loader;
  std::unique_ptr<IDisposable> loaded(loader.Load(dir.File("robot.ani").c_str(), nullptr));
  auto* root = dynamic_cast<Animation*>(loaded.get());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->id, 0);
  ExpectMatrixNear(root->local, sm::Mat4(), "root local");
  EXPECT_EQ(root->scale.x, 1);
  ASSERT_EQ(root->children.size(), 1u);
  EXPECT_EQ(root->children[0]->children.at(0)->id, 7);

  const std::string bytes = testing_support::ReadFile(dir.File("robot.ani"));
  testing_support::WriteFile(dir.File("short.ani"), bytes.substr(0, bytes.size() - 1));
  EXPECT_EQ(loader.Load(dir.File("short.ani").c_str(), nullptr), nullptr);
  EXPECT_EQ(AnimationLoader::LoadAnimation(dir.File("short.ani"), error), nullptr);
  EXPECT_NE(error.find("short.ani"), std::string::npos);
  EXPECT_EQ(loader.Load(dir.File("absent.ani").c_str(), nullptr), nullptr);
}

}  // namespace

TEST(NodeAnimation, SavedMotionPutsSpinningNodesBackWhereTheyWere) {
  NodeData wheel = ConstantNode(1);
  wheel.rotation = Keys({{0, 7.5f, 0, 0, 1}});
  wheel.children.push_back(ConstantNode(2));
  const auto root = Build({wheel});
  Target wheelMesh(1);
  Target hubMesh(2);
  root->AttachMeshes(std::vector<Target*>{&wheelMesh, &hubMesh});
  for (float t = 83.0f; t < 84.0f; t += 0.1f) root->Update(t, sm::Mat4(), 0.1f);
  std::vector<Animation::Motion> saved;
  root->SaveMotion(saved);
  ASSERT_EQ(saved.size(), 3u) << "the root and both nodes";
  root->Update(90.0f, sm::Mat4(), 0.1f);
  const sm::Mat4 then = wheelMesh.base;
  for (float t = 84.0f; t < 89.0f; t += 0.1f) root->Update(t, sm::Mat4(), 0.1f);

  std::size_t next = 0;
  root->RestoreMotion(saved, next);
  EXPECT_EQ(next, saved.size());
  root->Update(90.0f, sm::Mat4(), 0.1f);
  ExpectMatrixNear(wheelMesh.base, then, "the same turn as from the saved moment");

  std::size_t past = 0;
  root->RestoreMotion({}, past);  // a list that ends early changes nothing
  EXPECT_EQ(past, 0u);
}
