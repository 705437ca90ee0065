// Keys written by the content builder, read back by the program's own animation code:
// the node turns and moves as authored, cameras look where they were aimed, and
// routes are walked at the distances their timetables give.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/node_animation.h"
#include "assets/model.h"
#include "datagen/animation/node_keys.h"
#include "datagen/animation/route.h"

namespace {

using namespace datagen;

V3 Apply(const float* m, V3 v) {
  return V3(m[0] * v.x + m[4] * v.y + m[8] * v.z, m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z);
}

void ExpectNear(V3 a, V3 b, float tolerance, const char* what) {
  EXPECT_NEAR(a.x, b.x, tolerance) << what;
  EXPECT_NEAR(a.y, b.y, tolerance) << what;
  EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST(NodeKeys, TheProgramTurnsTheNodeAsAuthored) {
  // Orientations that wander about every axis, some steps large.
  const std::vector<OrientationKey> keys = {
      {0.0f, AxisAngle(V3(0, 1, 0), 0.3f)},
      {1.0f, AxisAngle(V3(1, 0.2f, 0), 1.2f)},
      {2.0f, AxisAngle(V3(0.3f, -1, 0.5f), 2.9f)},
      {3.0f, AxisAngle(V3(0, 0, 1), -0.7f) * AxisAngle(V3(1, 0, 0), 0.9f)},
  };
  const std::vector<PositionKey> positions = {{0.0f, V3(1, 2, 3)}, {3.0f, V3(4, 5, 6)}};
  animation_file::AnimationData data;
  data.nodes.push_back(MakeNode(7, VectorKeys(positions), RotationKeys(keys)));
  auto animation = Animation::FromData(data);
  Mesh mesh;
  mesh.nodeId = 7;
  animation->AttachMeshes(std::vector<Mesh*>{&mesh});
  for (const OrientationKey& key : keys) {
    animation->Update(key.time, sm::Mat4(), 0.0f);
    for (V3 axis : {V3(1, 0, 0), V3(0, 1, 0), V3(0, 0, 1)}) {
      ExpectNear(Apply(mesh.baseTransform.a, axis), Rotate(key.orientation, axis), 2e-4f, "rotation");
    }
  }
  animation->Update(3.0f, sm::Mat4(), 0.0f);
  ExpectNear(V3(mesh.baseTransform.a[12], mesh.baseTransform.a[13], mesh.baseTransform.a[14]), V3(4, 5, 6), 1e-4f,
             "position");
  for (const auto& key : data.nodes[0].rotation.keys) EXPECT_LE(std::fabs(key.angle), 3.1416f) << "no spin";
}

TEST(NodeKeys, ConstantRotationsKeepTheirAxes) {
  const Quat q = AxisAngle(V3(0.2f, 0.9f, -0.4f), 1.1f);
  animation_file::AnimationData data;
  data.nodes.push_back(MakeNode(3, ConstantVector(V3()), ConstantRotation(q)));
  auto animation = Animation::FromData(data);
  Mesh mesh;
  mesh.nodeId = 3;
  animation->AttachMeshes(std::vector<Mesh*>{&mesh});
  animation->Update(0.0f, sm::Mat4(), 0.0f);
  ExpectNear(Apply(mesh.baseTransform.a, V3(1, 0, 0)), Rotate(q, V3(1, 0, 0)), 1e-5f, "constant");
}

// A camera as the program sees it: it takes the view the animation computes.
struct Camera final : public ITransformable {
  sm::Mat4 view, base;
  int id = 1;
  bool IsCamera() override { return true; }
  int GetId() override { return id; }
  float* GetTransform() override { return view.a; }
  float* GetBaseTransform() override { return base.a; }
};

TEST(NodeKeys, CamerasLookAtTheirTargetWithTheWorldUp) {
  const V3 eye(100, 400, -300), target(-50, 100, 900);
  animation_file::AnimationData data;
  data.nodes.push_back(MakeNode(1, VectorKeys({{0.0f, eye}, {5.0f, eye}}),
                                RotationKeys({{0.0f, CameraOrientation(eye, target)}, {5.0f, CameraOrientation(eye, target)}})));
  auto animation = Animation::FromData(data);
  Camera camera;
  animation->AttachCamera(&camera);
  animation->Update(2.0f, sm::Mat4(), 0.0f);
  const sm::Vec3 seenEye = sm::Transformed(camera.view, eye.ToSm());
  ExpectNear(V3(seenEye), V3(0, 0, 0), 0.05f, "the eye is the view's origin");
  const V3 ahead = Normalize(V3(sm::Transformed(camera.view, target.ToSm())));
  ExpectNear(ahead, V3(0, 0, -1), 1e-4f, "the target lies straight ahead");
  // The world's up stays up on screen: the view's x axis is horizontal.
  const V3 right = V3(camera.view.a[0], camera.view.a[4], camera.view.a[8]);
  EXPECT_NEAR(right.y, 0.0f, 1e-4f);
}

TEST(Route, WalksByDistanceAndRoundsItsCorners) {
  const Route route({V3(0, 0, 0), V3(1000, 0, 0), V3(1000, 0, 1000)}, 200.0f);
  EXPECT_GT(route.Length(), 2000.0f - 2 * 200.0f);
  EXPECT_LT(route.Length(), 2000.0f);
  ExpectNear(route.At(0), V3(0, 0, 0), 1e-3f, "start");
  ExpectNear(route.At(1e9f), V3(1000, 0, 1000), 1e-3f, "end");
  ExpectNear(route.At(400), V3(400, 0, 0), 1e-3f, "straight");
  ExpectNear(route.DirectionAt(100), V3(1, 0, 0), 1e-3f, "heading");
  // The corner is cut: no point lies beyond the rounding's reach of the corner.
  for (float s = 0; s < route.Length(); s += 10) {
    const V3 p = route.At(s);
    EXPECT_TRUE(p.x <= 1000.01f && p.z >= -0.01f);
    EXPECT_GT(Length(p - V3(1000, 0, 0)), 40.0f);
  }
}

TEST(Route, TimetablesEaseBetweenTheirLegs) {
  const std::vector<Leg> legs = {{10, 12, 0, 100, Ease::kIn}, {12, 20, 100, 500, Ease::kLinear}, {20, 22, 500, 550, Ease::kOut}};
  EXPECT_EQ(DistanceAt(legs, 0), 0.0f);
  EXPECT_EQ(DistanceAt(legs, 11), 25.0f);
  EXPECT_EQ(DistanceAt(legs, 12), 100.0f);
  EXPECT_EQ(DistanceAt(legs, 16), 300.0f);
  EXPECT_EQ(DistanceAt(legs, 99), 550.0f);
  EXPECT_FLOAT_EQ(Eased(Ease::kInOut, 0.5f), 0.5f);
  EXPECT_FLOAT_EQ(Eased(Ease::kOut, 1.0f), 1.0f);
}

}  // namespace
