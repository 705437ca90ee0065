// The breaking-wall scene on its own: the shards made at set-up and their flight, the
// greetings, the robot before and through the wall, the light, and missing content.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/keyed_value.h"
#include "anim/random.h"
#include "anim/show_times.h"
#include "scenes/assembling_scene.h"
#include "scenes/breaking_wall_scene.h"
#include "scenes/frames.h"
#include "scenes/log_capture.h"
#include "scenes/scene_content.h"

namespace {

using namespace scene_testing;

constexpr int kShards = 12;

class BreakingWallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddRobotParts(world_);
    WriteRobotFiles(log_.Dir().Path());
    AddBreakingWallContent(world_, kShards);
    ASSERT_TRUE(world_.robot.Setup(world_, log_.Dir().Path()));
    ResetRand();
  }
  void TearDown() override { ResetRand(); }

  // The key time of the robot's current frame and its animation (from the test frames' tag).
  int PosedAnimation() const { return static_cast<int>(world_.robot.CurrentFrame()->joints[2].x); }
  float PosedKeyTime() const { return world_.robot.CurrentFrame()->joints[2].y; }

  LogCapture log_;
  FakeWorld world_;
  BreakingWallScene scene_{world_};
};

TEST_F(BreakingWallTest, SetupMakesOneShardPerMeshFromEightDrawsEachInMeshOrder) {
  float r[2][8];
  for (auto& shard : r) {
    for (float& v : shard) v = static_cast<float>(Rand()) / 32767.0f;
  }
  ResetRand();
  for (int i = 0; i < 8 * kShards; ++i) Rand();
  const int afterShards = Rand();
  ResetRand();
  ASSERT_TRUE(scene_.Setup());
  EXPECT_EQ(Rand(), afterShards);  // exactly eight draws per shard
  ASSERT_EQ(scene_.Shards().size(), static_cast<std::size_t>(kShards));
  Model* wall = world_.FindModel("glass_wall_broken");
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    const BreakingWallScene::Shard& shard = scene_.Shards()[static_cast<std::size_t>(s)];
    EXPECT_EQ(shard.mesh, wall->meshes[static_cast<std::size_t>(s)].get());
    const sm::Vec3 v =
        Scaled(sm::Normalized(sm::Vec3(3 * r[s][0] + 1, r[s][1] - 0.5f, r[s][2] - 0.5f)), 50 * r[s][3] + 30);
    EXPECT_FLOAT_EQ(shard.velocity.x, v.x);
    EXPECT_FLOAT_EQ(shard.velocity.y, v.y);
    EXPECT_FLOAT_EQ(shard.velocity.z, v.z);
    const sm::Vec3 axis = sm::Normalized(sm::Vec3(2 * r[s][4] - 1, 2 * r[s][5] - 1, 2 * r[s][6] - 1));
    EXPECT_FLOAT_EQ(shard.spinAxis.y, axis.y);
    EXPECT_FLOAT_EQ(shard.spinSpeed, 3 * r[s][7] + 1);
    EXPECT_EQ(shard.angle, 0.0f);
    EXPECT_EQ(shard.offset.x, 0.0f);
  }
  ASSERT_EQ(scene_.GetModels().size(), 1u);
  EXPECT_EQ(scene_.GetModels()[0], wall);
}

TEST_F(BreakingWallTest, TheGreetingsSignalHasItsFiftySixAlternatingKeys) {
  ASSERT_TRUE(scene_.Setup());
  const KeyedValue& signal = *scene_.GreetingsSignal();
  EXPECT_EQ(signal.Name(), "change_greetz_signal");
  ASSERT_EQ(signal.Keys()->KeyCount(), show::kGreetingsKeyCount);
  for (int i = 0; i < show::kGreetingsKeyCount; ++i) {
    EXPECT_EQ(signal.IntAt(show::kGreetingsKeyTimes[i]), i % 2 == 0 ? 1 : 0) << i;
  }
}

TEST_F(BreakingWallTest, MissingContentFailsSetupWithOneLineAndDrawsNothingFromTheGenerator) {
  const ContentDamage cases[] = {
      {"glass_wall_broken", [](FakeWorld& w) { w.Remove("glass_wall_broken"); }},
      {"greetz58", [](FakeWorld& w) { w.Remove("greetz58"); }},
      {"robot_breaking_wall_path", [](FakeWorld& w) { w.Remove("robot_breaking_wall_path"); }},
      {"robot_path", [](FakeWorld& w) { w.Remove("robot_path"); }},
      {"glass_wall_greetz", [](FakeWorld& w) { w.FindModel("glass_wall_greetz")->meshes.clear(); }},
  };
  ResetRand();
  const int firstDraw = Rand();
  for (const ContentDamage& c : cases) {
    SCOPED_TRACE(c.name);
    LogCapture log;
    FakeWorld world;
    AddBreakingWallContent(world);
    c.damage(world);
    BreakingWallScene scene(world);
    ResetRand();
    EXPECT_FALSE(scene.Setup());
    EXPECT_EQ(Rand(), firstDraw);
    ExpectOneErrorNaming(log, c.name);
    sm::Mat4 light = sm::Translation(1, 2, 3);
    scene.Update(170.0f, 0.01f);
    scene.DrawOpaque(170.0f, 0.01f);
    scene.AdjustLight(light);
    EXPECT_EQ(light.a[12], 1.0f);
  }
}

TEST_F(BreakingWallTest, AShardBelowTheFloorIsRaisedAndBouncesAtHalfSpeed) {
  ASSERT_TRUE(scene_.Setup());
  BreakingWallScene::Shard& shard = scene_.Shards()[0];
  const sm::Vec3 c = ShardCentre(0);  // y = 100
  shard.velocity = sm::Vec3(2.0f, -25.75f, 1.0f);  // 0.1 s moves y by -103: the centre ends at y = -3
  shard.spinSpeed = 2.0f;
  scene_.StepShards(0.1f);
  EXPECT_NEAR(shard.offset.y, -100.0f, 1e-3f);  // -103 raised by 3
  EXPECT_NEAR(shard.offset.x, 8.0f, 1e-4f);
  EXPECT_NEAR(shard.velocity.y, (25.75f + 4.9f) / 2.0f, 1e-4f);  // gravity, reflected, halved
  EXPECT_NEAR(shard.velocity.x, 1.0f, 1e-6f);
  EXPECT_NEAR(shard.velocity.z, 0.5f, 1e-6f);
  EXPECT_NEAR(shard.spinSpeed, 0.95f, 1e-6f);
  // The mesh is drawn where the step put it (the correction shows from the next step).
  const sm::Mat4& transform = shard.mesh->transform;
  const sm::Vec3 centre = sm::Transformed(transform, c);
  EXPECT_NEAR(centre.y, -3.0f, 1e-2f);
  EXPECT_NEAR(centre.x, c.x + 8.0f, 1e-2f);
}

TEST_F(BreakingWallTest, ShardsTurnAboutTheirOwnCentre) {
  ASSERT_TRUE(scene_.Setup());
  BreakingWallScene::Shard& shard = scene_.Shards()[3];
  shard.velocity = sm::Vec3(0, 0, 0);
  shard.spinAxis = sm::Vec3(0, 0, 1);
  shard.spinSpeed = 3.0f;
  scene_.StepShards(0.5f);  // spin 2.5, angle 1.25, gravity only after the move
  EXPECT_FLOAT_EQ(shard.angle, 1.25f);
  const sm::Vec3 c = ShardCentre(3);
  const sm::Vec3 centre = sm::Transformed(shard.mesh->transform, c);
  EXPECT_NEAR(centre.x, c.x, 1e-2f);
  EXPECT_NEAR(centre.y, c.y, 1e-2f);
  const sm::Vec3 corner = sm::Transformed(shard.mesh->transform, Plus(c, sm::Vec3(10, 0, 0)));
  EXPECT_NEAR(corner.x, c.x + 10 * std::cos(1.25f), 1e-2f);
  EXPECT_NEAR(corner.y, c.y + 10 * std::sin(1.25f), 1e-2f);
}

TEST_F(BreakingWallTest, TheSideWallsHoldTheShardsOnZ) {
  ASSERT_TRUE(scene_.Setup());
  BreakingWallScene::Shard& low = scene_.Shards()[0];
  BreakingWallScene::Shard& high = scene_.Shards()[1];
  const float lowZ = ShardCentre(0).z;
  const float highZ = ShardCentre(1).z;
  // One step of 1 s moves z by 40 × velocity: end 10 beyond each wall.
  low.velocity = sm::Vec3(0, 100, (BreakingWallScene::kSideWallLow - 10.0f - lowZ) / 40.0f);
  high.velocity = sm::Vec3(0, 100, (BreakingWallScene::kSideWallHigh + 10.0f - highZ) / 40.0f);
  low.spinSpeed = high.spinSpeed = 3.0f;
  const float lowVz = low.velocity.z;
  const float highVz = high.velocity.z;
  scene_.StepShards(1.0f);
  EXPECT_NEAR(lowZ + low.offset.z, BreakingWallScene::kSideWallLow, 0.01f);
  EXPECT_NEAR(highZ + high.offset.z, BreakingWallScene::kSideWallHigh, 0.01f);
  EXPECT_EQ(low.velocity.z, -lowVz);
  EXPECT_EQ(high.velocity.z, -highVz);
  EXPECT_FLOAT_EQ(low.spinSpeed, 1.0f);  // (3 - 1) / 2
  EXPECT_EQ(low.velocity.x, 0.0f);       // x is free
}

TEST_F(BreakingWallTest, ShardsRestUntil166_3808) {
  ASSERT_TRUE(scene_.Setup());
  for (float t : {160.0f, 166.38f}) scene_.Update(t, 0.01f);
  EXPECT_EQ(scene_.Shards()[0].offset.x, 0.0f);
  EXPECT_EQ(scene_.Shards()[0].mesh->transform.a[12], 0.0f);
  scene_.Update(show::AsFloat(show::kWallImpact), 0.01f);
  EXPECT_GT(scene_.Shards()[0].offset.x, 0.0f);  // launched mostly along +x
}

TEST_F(BreakingWallTest, GreetingsChangeOnTheSignalWrapAfterTheFiftyNinthAndFadeToZero) {
  ASSERT_TRUE(scene_.Setup());
  // Read before its first key the signal holds its first value (1): the first greeting
  // shows as soon as the scene runs.
  scene_.Update(120.1f, 0.01f);
  EXPECT_EQ(scene_.GreetingIndex(), 0);
  EXPECT_EQ(scene_.GreetingTexture(), world_.FindTexture("greetz0"));
  scene_.Update(120.2f, 0.5f);
  EXPECT_FLOAT_EQ(scene_.GreetingAlpha(), 0.4f);
  scene_.Update(120.3f, 1.0f);
  EXPECT_EQ(scene_.GreetingAlpha(), 0.0f);

  KeyedValue& signal = *scene_.GreetingsSignal();
  for (int i = show::kGreetingsKeyCount; i < 62; ++i) signal.SetInt(30.0f + i, i % 2 == 0 ? 1 : 0);
  int changes = 1;
  for (int i = 1; i < 62; ++i) {
    const float keyTime = i < show::kGreetingsKeyCount ? show::kGreetingsKeyTimes[i] : 30.0f + i;
    scene_.Update(show::kGreetingsStart + keyTime + 0.001f, 0.01f);
    ++changes;
    EXPECT_EQ(scene_.GreetingIndex(), (changes - 1) % 59) << "change " << changes;
    EXPECT_EQ(scene_.GreetingAlpha(), 1.0f);
  }
  EXPECT_EQ(changes, 62);
  EXPECT_EQ(scene_.GreetingIndex(), 2);  // the 59th change showed greetz58, the 60th greetz0
}

TEST_F(BreakingWallTest, TheGreetingsFadeAndTheFollowLightRidesAsTheyAreTold) {
  ASSERT_TRUE(scene_.Setup());
  scene_.SetGreetingFadePerSecond(2.4f);
  scene_.SetFollowLightHeight(1000.0f);
  scene_.Update(120.1f, 0.01f);
  scene_.Update(120.2f, 0.25f);
  EXPECT_FLOAT_EQ(scene_.GreetingAlpha(), 0.4f);
  sm::Mat4 light;
  scene_.Update(130.0f, 0.01f);
  scene_.AdjustLight(light);
  sm::Vec3 eye = PathPosition(128.0f);
  eye.y += 1000.0f;
  const sm::Mat4 follow = sm::Inverted(LookAt(PathPosition(130.0f), eye));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(light.a[i], follow.a[i], 0.1f) << i;
}

TEST_F(BreakingWallTest, WhenTheRobotStandsItIsUnderTheFixedLight) {
  ASSERT_TRUE(scene_.Setup());
  sm::Mat4 light;
  scene_.Update(136.39f, 0.01f);
  EXPECT_EQ(PosedAnimation(), Robot::kRun);
  EXPECT_GT(PosedKeyTime(), 1.0f);  // fmod(272.78, 1.4) = 1.18
  scene_.AdjustLight(light);
  // The follow light: from 400 above the path two seconds back, at the robot.
  sm::Vec3 eye = PathPosition(134.39f);
  eye.y += 400.0f;
  const sm::Mat4 follow = sm::Inverted(LookAt(PathPosition(136.39f), eye));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(light.a[i], follow.a[i], 0.1f) << i;

  scene_.Update(show::AsFloat(show::kRobotStands), 0.01f);
  EXPECT_EQ(PosedAnimation(), Robot::kRun);
  EXPECT_EQ(PosedKeyTime(), 0.0f);
  scene_.AdjustLight(light);
  EXPECT_FLOAT_EQ(light.a[0], -0.2334f);
  EXPECT_FLOAT_EQ(light.a[12], 20067.2148f);
}

TEST_F(BreakingWallTest, At164_4808TheBreakingWallAnimationStartsAtTimeZero) {
  ASSERT_TRUE(scene_.Setup());
  scene_.Update(164.48f, 0.01f);
  EXPECT_EQ(world_.robot.animationIndex, Robot::kRun);
  scene_.Update(show::AsFloat(show::kWallCharge), 0.01f);
  EXPECT_EQ(world_.robot.animationIndex, Robot::kBreakingWall);
  EXPECT_EQ(PosedAnimation(), Robot::kBreakingWall);
  EXPECT_EQ(PosedKeyTime(), 0.0f);
  // The robot stands on the path, turned round from the path's run direction.
  const sm::Vec3 stand = PathPosition(show::AsFloat(show::kWallCharge));
  const sm::Mat4 expected = sm::Product(BreakingWallScene::WallTurn(), sm::Translation(stand.x, stand.y, stand.z));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(world_.robot.placement.a[i], expected.a[i], 0.02f) << i;
}

TEST_F(BreakingWallTest, ClaimsExactlyTheTimesTheAssemblingSceneLeaves) {
  for (float t : {-1.0f, 0.0f, kHandOverSeconds, 120.001f, 160.0f, 200.597f, kDanceClaimSeconds, 300.0f, std::nanf("")}) {
    const bool assembling = (t >= 0.0f && t <= kHandOverSeconds) || t >= kDanceClaimSeconds;
    EXPECT_EQ(scene_.IsActiveAt(t), !assembling) << t;
  }
}

}  // namespace
