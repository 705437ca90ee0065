// The welding sparks: spawning into the fixed pool, the particles' lives, the streak's
// fade, and the arms that carry the emitters.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/random.h"
#include "scenes/frames.h"
#include "scenes/log_capture.h"
#include "scenes/mechanical_arm.h"
#include "scenes/scene_content.h"
#include "scenes/spark_emitter.h"

namespace {

using namespace scene_testing;

int AliveCount(const SparkEmitter& emitter) {
  int n = 0;
  for (const auto& p : emitter.particles) n += p.alive ? 1 : 0;
  return n;
}

TEST(SparkEmitter, AHundredthOfASecondSpawnsFourIntoTheFirstFreeSlots) {
  SparkEmitter emitter;
  emitter.position = sm::Vec3(1, 2, 3);
  emitter.particles[0].alive = true;
  emitter.particles[0].life = 5.0f;
  emitter.particles[2].alive = true;
  emitter.particles[2].life = 5.0f;
  emitter.Update(0.01f);
  EXPECT_EQ(AliveCount(emitter), 6);
  for (int i : {1, 3, 4, 5}) {
    EXPECT_TRUE(emitter.particles[i].alive) << i;
    EXPECT_EQ(emitter.particles[i].position.x, 1.0f);
  }
  EXPECT_FALSE(emitter.particles[6].alive);
  EXPECT_NEAR(emitter.spawnCredit, 0.0f, 1e-4f);
}

TEST(SparkEmitter, SpawningDrawsFiveValuesInTheFixedOrder) {
  ResetRand();
  const float r[5] = {Rand() / 32767.0f, Rand() / 32767.0f, Rand() / 32767.0f, Rand() / 32767.0f,
                      Rand() / 32767.0f};
  const int next = Rand();
  ResetRand();
  SparkEmitter emitter;
  emitter.position = sm::Vec3(10, 20, 30);
  emitter.Update(1.0f / 400.0f + 1e-6f);  // exactly one particle
  ASSERT_EQ(AliveCount(emitter), 1);
  const SparkEmitter::Particle& p = emitter.particles[0];
  sm::Vec3 v = Scaled(sm::Normalized(sm::Vec3(r[3] - 0.5f, 0.9f * r[2] + 0.1f, r[1] - 0.5f)), 2.0f * r[0] + 1.0f);
  v.y *= 2.0f;
  EXPECT_FLOAT_EQ(p.velocity.x, v.x);
  EXPECT_FLOAT_EQ(p.velocity.y, v.y);
  EXPECT_FLOAT_EQ(p.velocity.z, v.z);
  EXPECT_FLOAT_EQ(p.life, 0.8f * r[4] + 0.4f);
  EXPECT_EQ(p.position.y, 20.0f);
  EXPECT_GT(p.velocity.y, 0.0f);  // always launched upward
  EXPECT_EQ(Rand(), next);
  ResetRand();
}

TEST(SparkEmitter, SwitchingOffClearsTheCreditAndTheLivingFinishTheirLives) {
  SparkEmitter emitter;
  emitter.Update(0.0124f);  // 4.96 owed: 4 spawned, 0.96 left
  EXPECT_EQ(AliveCount(emitter), 4);
  EXPECT_GT(emitter.spawnCredit, 0.9f);
  emitter.SetEmitting(false);
  EXPECT_EQ(emitter.spawnCredit, 0.0f);
  emitter.Update(0.1f);
  EXPECT_EQ(AliveCount(emitter), 4);
  for (int i = 0; i < 20; ++i) emitter.Update(0.1f);
  EXPECT_EQ(AliveCount(emitter), 0);
  EXPECT_EQ(emitter.spawnCredit, 0.0f);
}

TEST(SparkEmitter, AParticleAtLifeZeroMovesOnceMoreThenDies) {
  SparkEmitter emitter;
  emitter.SetEmitting(false);
  SparkEmitter::Particle& p = emitter.particles[7];
  p.alive = true;
  p.life = 0.0f;
  p.velocity = sm::Vec3(1, 0, 0);
  EXPECT_EQ(SparkMiddleAlpha(p.life), 0);  // drawn, but invisible
  emitter.Update(0.5f);
  EXPECT_TRUE(p.alive);
  EXPECT_FLOAT_EQ(p.position.x, 20.0f);  // 1 × 0.5 s × 40
  EXPECT_FLOAT_EQ(p.velocity.y, -9.8f);  // gravity 2 × 9.8
  EXPECT_LT(p.life, 0.0f);
  emitter.Update(0.5f);
  EXPECT_FALSE(p.alive);
  EXPECT_FLOAT_EQ(p.position.x, 20.0f);
}

TEST(SparkEmitter, AParticleThatDiesIsRespawnedInTheSamePass) {
  SparkEmitter emitter;
  for (auto& p : emitter.particles) {
    p.alive = true;
    p.life = 5.0f;
  }
  emitter.particles[500].life = -1.0f;
  emitter.Update(0.01f);  // four owed, one slot frees
  EXPECT_EQ(AliveCount(emitter), SparkEmitter::kPoolSize);
  EXPECT_GT(emitter.particles[500].life, 0.0f);
  EXPECT_NEAR(emitter.spawnCredit, 3.0f, 1e-4f);  // the pool never grows
}

TEST(SparkEmitter, TheMiddleAlphaFadesOverTheLastHalfSecond) {
  EXPECT_EQ(SparkMiddleAlpha(0.25f), 75);
  EXPECT_EQ(SparkMiddleAlpha(0.5f), 150);
  EXPECT_EQ(SparkMiddleAlpha(1.1f), 150);
  EXPECT_EQ(SparkMiddleAlpha(0.001f), 0);
  EXPECT_EQ(SparkMiddleAlpha(-0.2f), 0);
  EXPECT_EQ(SparkMiddleAlpha(std::nanf("")), 0);
}

class ArmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddArm(world_, "mech_arm_01_", "sparks", kFirstArmBase, {{0.0f, 0}, {1.0f, 1}, {2.0f, 0}, {3.0f, 2}});
  }
  LogCapture log_;
  FakeWorld world_;
  MechanicalArm arm_;
};

TEST_F(ArmTest, SetupMarksAllFourModelsExemptFromCulling) {
  ASSERT_TRUE(arm_.Setup(world_, "sparks", kFirstArmBase, "mech_arm_01_"));
  ASSERT_EQ(arm_.Models().size(), 4u);
  EXPECT_EQ(arm_.Models()[0], world_.FindModel("mech_arm_01_base"));
  EXPECT_EQ(arm_.Models()[3], world_.FindModel("mech_arm_01_end"));
  for (Model* model : arm_.Models()) {
    for (const auto& mesh : model->meshes) {
      for (const auto& subMesh : mesh->subMeshes) EXPECT_TRUE(subMesh->cullExempt);
    }
  }
}

TEST_F(ArmTest, UpdateSolvesTheSegmentsTowardsTheAnimatedEnd) {
  ASSERT_TRUE(arm_.Setup(world_, "sparks", kFirstArmBase, "mech_arm_01_"));
  arm_.Update(0.5f, 0.01f);
  const sm::Vec3 end = ArmEndPosition(kFirstArmBase);
  const ArmPose pose = SolveArm(kFirstArmBase, end);
  const auto transformOf = [&](const char* name) { return world_.FindModel(name)->meshes[0]->transform; };
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(transformOf("mech_arm_01_base").a[i], pose.base.a[i], 1e-3f);
    EXPECT_NEAR(transformOf("mech_arm_01_joint1").a[i], pose.upper.a[i], 1e-3f);
    EXPECT_NEAR(transformOf("mech_arm_01_joint2").a[i], pose.forearm.a[i], 1e-3f);
  }
  // The torch tip: 100 units along the end effector's y axis.
  EXPECT_NEAR(arm_.Emitter().position.x, end.x, 1e-3f);
  EXPECT_NEAR(arm_.Emitter().position.y, end.y + 100.0f, 1e-3f);
  EXPECT_NEAR(arm_.Emitter().position.z, end.z, 1e-3f);
}

TEST_F(ArmTest, TheSparksFlyOnlyWhileTheSignalIsExactlyOne) {
  ASSERT_TRUE(arm_.Setup(world_, "sparks", kFirstArmBase, "mech_arm_01_"));
  arm_.Update(0.5f, 0.01f);
  EXPECT_FALSE(arm_.Emitter().emitting);
  EXPECT_EQ(AliveCount(arm_.Emitter()), 0);
  arm_.Update(1.5f, 0.01f);
  EXPECT_TRUE(arm_.Emitter().emitting);
  EXPECT_EQ(AliveCount(arm_.Emitter()), 4);
  arm_.Update(3.5f, 0.01f);  // value 2: not welding
  EXPECT_FALSE(arm_.Emitter().emitting);
  EXPECT_EQ(arm_.Emitter().spawnCredit, 0.0f);
}

TEST_F(ArmTest, MissingPiecesFailSetupWithOneLineNamingThem) {
  struct Case {
    const char* remove;  // a model or animation to take away, or null
    const char* sparkName;
    const char* expected;
  };
  const Case cases[] = {{"mech_arm_01_joint2", "sparks", "mech_arm_01_joint2"},
                        {nullptr, "sparks9", "sparks9"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    LogCapture log;
    FakeWorld world;
    AddArm(world, "mech_arm_01_", "sparks", kFirstArmBase, {{0.0f, 1}});
    if (c.remove != nullptr) world.Remove(c.remove);
    MechanicalArm arm;
    EXPECT_FALSE(arm.Setup(world, c.sparkName, kFirstArmBase, "mech_arm_01_"));
    ExpectOneErrorNaming(log, c.expected);
    arm.Update(1.0f, 0.01f);  // harmless after a failed setup
  }
}

TEST_F(ArmTest, AnEndMeshMissingFromTheEndModelFailsSetup) {
  world_.FindModel("mech_arm_01_end")->meshes[0]->name = "arm_tip";
  EXPECT_FALSE(arm_.Setup(world_, "sparks", kFirstArmBase, "mech_arm_01_"));
  ExpectOneErrorNaming(log_, "'arm_end'");
}

}  // namespace
