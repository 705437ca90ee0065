// The assembling scene on its own: set-up and its failures, the monitors, the credits,
// the robot's release, the scene's claim on the timeline and its light.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/show_times.h"
#include "scenes/assembling_scene.h"
#include "scenes/log_capture.h"
#include "scenes/mechanical_arm.h"
#include "scenes/scene_content.h"

namespace {

using namespace scene_testing;

class AssemblingSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddRobotParts(world_);
    WriteRobotFiles(log_.Dir().Path());
    AddAssemblingContent(world_);
    ASSERT_TRUE(world_.robot.Setup(world_, log_.Dir().Path()));
  }
  KeyedValue& CreditsSignal() { return *world_.FindModel("credits")->meshes[0]->FindValue("credits_signal"); }

  LogCapture log_;
  FakeWorld world_;
  AssemblingScene scene_{world_};
};

TEST_F(AssemblingSceneTest, SetupResolvesEverythingAndAddsNoModels) {
  ASSERT_TRUE(scene_.Setup());
  EXPECT_TRUE(log_.Lines().empty());
  EXPECT_TRUE(scene_.GetModels().empty());
  EXPECT_EQ(scene_.FirstArm().Models()[0], world_.FindModel("mech_arm_01_base"));
  EXPECT_EQ(scene_.SecondArm().Models()[3], world_.FindModel("mech_arm_02_end"));
  EXPECT_EQ(scene_.CreditIndex(), -1);
  EXPECT_EQ(scene_.CreditTexture(), nullptr);
}

TEST_F(AssemblingSceneTest, MissingContentFailsSetupWithOneLineNamingIt) {
  const ContentDamage cases[] = {
      {"credits", [](FakeWorld& w) { w.Remove("credits"); }},
      {"osprey", [](FakeWorld& w) { w.Remove("osprey"); }},
      {"hud98", [](FakeWorld& w) { w.Remove("hud98"); }},
      {"screens", [](FakeWorld& w) { w.Remove("screens"); }},
      {"mech_arm_02_end", [](FakeWorld& w) { w.Remove("mech_arm_02_end"); }},
      {"robot_path", [](FakeWorld& w) { w.Remove("robot_path"); }},
      {"credits_signal", [](FakeWorld& w) { w.FindModel("credits")->meshes[0]->values.clear(); }},
      {"'screens'", [](FakeWorld& w) { w.FindModel("screens")->meshes.pop_back(); }},
      {"'credits'", [](FakeWorld& w) { w.FindModel("credits")->meshes[0]->subMeshes.clear(); }},
  };
  for (const ContentDamage& c : cases) {
    SCOPED_TRACE(c.name);
    LogCapture log;
    FakeWorld world;
    AddRobotParts(world);
    AddAssemblingContent(world);
    c.damage(world);
    AssemblingScene scene(world);
    EXPECT_FALSE(scene.Setup());
    ExpectOneErrorNaming(log, c.name);
    // A scene that failed to set up updates and draws nothing rather than crashing.
    scene.Update(111.0f, 0.01f);
    scene.DrawTranslucent(111.0f, 0.01f);
    scene.DrawOpaque(111.0f, 0.01f);
  }
}

TEST_F(AssemblingSceneTest, TheMonitorsPlayNinetyNineFramesAtTwentyFivePerSecond) {
  ASSERT_TRUE(scene_.Setup());
  float t = 0.0f;
  for (int i = 0; i < 392; ++i) scene_.Update(t += 0.01f, 0.01f);
  EXPECT_EQ(scene_.MonitorFrame(), 98);
  EXPECT_EQ(scene_.MonitorTexture(), world_.FindTexture("hud98"));
  for (int i = 0; i < 4; ++i) scene_.Update(t += 0.01f, 0.01f);
  EXPECT_EQ(scene_.MonitorFrame(), 0);  // 3.96 s: frame 99 wraps to 0
  scene_.Update(t += 0.04f, 0.04f);
  EXPECT_EQ(scene_.MonitorFrame(), 1);
  for (int i = 0; i < 100000; ++i) scene_.Update(t, 1.0f / 60.0f);  // a long run keeps a valid frame
  EXPECT_GE(scene_.MonitorFrame(), 0);
  EXPECT_LT(scene_.MonitorFrame(), 99);
}

TEST_F(AssemblingSceneTest, EachChangeOfTheCreditsSignalShowsTheNextCreditAndItFadesOverSixSeconds) {
  ASSERT_TRUE(scene_.Setup());
  CreditsSignal().SetInt(215.0f, 0);  // a fourth change after the three of the content
  const char* expected[] = {"kestrel", "marlin", "osprey", "kestrel"};
  const float changes[] = {203.8721f, 208.5505f, 213.6274f, 215.0f};
  scene_.Update(203.0f, 0.01f);
  EXPECT_EQ(scene_.CreditIndex(), -1);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(expected[i]);
    scene_.Update(changes[i], 0.01f);
    EXPECT_EQ(scene_.CreditTexture(), world_.FindTexture(expected[i]));
    EXPECT_EQ(scene_.CreditAlpha(), 1.0f);
    scene_.Update(changes[i] + 0.5f, 3.0f);  // the same value: fading by step / 6
    EXPECT_FLOAT_EQ(scene_.CreditAlpha(), 0.5f);
  }
  scene_.Update(216.0f, 2.4f);  // 0.5 - 0.4
  EXPECT_NEAR(scene_.CreditAlpha(), 0.1f, 1e-6f);
  scene_.Update(217.0f, 1.0f);  // 0.1 - 1/6: clamped
  EXPECT_EQ(scene_.CreditAlpha(), 0.0f);
}

TEST_F(AssemblingSceneTest, ACreditFadesOverTheTimeItIsGiven) {
  ASSERT_TRUE(scene_.Setup());
  scene_.SetCreditFadeSeconds(2.0f);
  scene_.Update(203.0f, 0.01f);
  scene_.Update(203.8721f, 0.01f);
  ASSERT_EQ(scene_.CreditAlpha(), 1.0f);
  scene_.Update(204.5f, 1.0f);
  EXPECT_FLOAT_EQ(scene_.CreditAlpha(), 0.5f);
}

TEST_F(AssemblingSceneTest, AtExactly110_96TheRobotIsReleasedFromTimeZeroInPlacementA) {
  ASSERT_TRUE(scene_.Setup());
  world_.slots[kSlotRobotParts] = true;
  scene_.Update(110.95f, 0.01f);
  EXPECT_FALSE(scene_.Switched());
  EXPECT_FALSE(world_.slots[kSlotRobotParts]);
  EXPECT_TRUE(world_.slots[kSlotLyingRobot]);
  scene_.Update(show::AsFloat(show::kRobotRelease), 0.01f);
  EXPECT_TRUE(scene_.Switched());
  EXPECT_FALSE(world_.slots[kSlotLyingRobot]);
  EXPECT_TRUE(world_.slots[kSlotRobotParts]);
  EXPECT_EQ(world_.robot.animationIndex, Robot::kReleasing);
  EXPECT_EQ(world_.robot.CurrentFrame()->joints[2].x, 0.0f);  // releasing ...
  EXPECT_EQ(world_.robot.CurrentFrame()->joints[2].y, 0.0f);  // ... at its first key
  for (int i = 0; i < 16; ++i) EXPECT_EQ(world_.robot.placement.a[i], scene_.PlacementA().a[i]);
  // The switch happens once: the lying robot stays hidden.
  world_.slots[kSlotLyingRobot] = true;
  scene_.Update(111.0f, 0.01f);
  EXPECT_TRUE(world_.slots[kSlotLyingRobot]);
}

TEST_F(AssemblingSceneTest, PlacementsTurnHalfRoundThenMoveTheHipsToTheirSpots) {
  const sm::Vec3 a = sm::Transformed(scene_.PlacementA(), sm::Vec3(0, 0, 0));
  const sm::Vec3 b = sm::Transformed(scene_.PlacementB(), sm::Vec3(0, 0, 0));
  EXPECT_FLOAT_EQ(a.x, -6.859f);
  EXPECT_FLOAT_EQ(a.z, 1694.074f);
  EXPECT_FLOAT_EQ(b.y, 365.769f);
  const sm::Vec3 forward = sm::Transformed(scene_.PlacementB(), sm::Vec3(0, 0, 1));
  EXPECT_NEAR(forward.z - b.z, -1.0f, 1e-4f);  // pose +z faces world -z
}

TEST_F(AssemblingSceneTest, ClaimsTheTimelineUpTo120AndAgainFrom200_598) {
  const std::pair<float, bool> claims[] = {{-0.001f, false}, {0.0f, true},       {60.0f, true},
                                           {kHandOverSeconds, true},   {120.001f, false},  {150.0f, false},
                                           {200.597f, false}, {kDanceClaimSeconds, true},  {1000.0f, true},
                                           {std::nanf(""), false}};
  for (const auto& c : claims) EXPECT_EQ(scene_.IsActiveAt(c.first), c.second) << c.first;
}

TEST_F(AssemblingSceneTest, TheDanceLightReplacesTheLightFrom200_7) {
  ASSERT_TRUE(scene_.Setup());
  sm::Mat4 light = sm::Translation(1, 2, 3);
  scene_.Update(200.69f, 0.01f);
  scene_.AdjustLight(light);
  EXPECT_EQ(light.a[12], 1.0f);
  scene_.Update(show::AsFloat(show::kDanceLight), 0.01f);
  scene_.AdjustLight(light);
  EXPECT_FLOAT_EQ(light.a[0], -0.8141f);
  EXPECT_FLOAT_EQ(light.a[9], 0.5655f);
  EXPECT_FLOAT_EQ(light.a[14], -1276.4071f);
}

TEST_F(AssemblingSceneTest, AReleasingAnimationWithoutKeysPosesAtTimeZeroNotNaN) {
  testing_support::WriteFile(log_.Dir().File("Robot/releasing_anim"), std::string(4, '\0'));
  ASSERT_TRUE(world_.robot.Setup(world_, log_.Dir().Path()));
  ASSERT_TRUE(scene_.Setup());
  world_.robot.animationIndex = Robot::kRun;
  world_.robot.Pose(0.0f);
  scene_.Update(112.0f, 0.01f);  // releasing has no keys: the frame stays as it was
  EXPECT_EQ(world_.robot.CurrentFrame()->joints[2].x, 1.0f);
  for (const auto& mesh : world_.FindModel("robot_head")->meshes) {
    for (float v : mesh->transform.a) EXPECT_TRUE(std::isfinite(v));
  }
}

}  // namespace
