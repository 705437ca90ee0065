// The timeline's tunable values read from a property script: what the script sets is
// used, what it lacks (or gets wrong) keeps the built-in value.
#include "demo/timeline_tunables.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "anim/property_script.h"
#include "base/log.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

class TimelineTunablesTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenLog(dir_.File("log.txt")); }
  void TearDown() override { CloseLog(); }

  TimelineTunables Read(const std::string& script) {
    std::istringstream in(script);
    EXPECT_TRUE(LoadPropertyScript(in, "props.scr", {signal_, properties_, cameras_})) << ReadFile(dir_.File("log.txt"));
    return ReadTunables(properties_);
  }
  std::string Log() const { return ReadFile(dir_.File("log.txt")); }

  TempDir dir_;
  std::unique_ptr<SignalPair> signal_;
  PropertyMap properties_;
  std::vector<std::unique_ptr<EditableCamera>> cameras_;
};

void ExpectBuiltIn(const TimelineTunables& t) {
  EXPECT_EQ(t.flashFadePerSecond, DemoTimeline::kFlashFadePerSecond);
  EXPECT_EQ(t.greetingFadePerSecond, BreakingWallScene::kGreetingFadePerSecond);
  EXPECT_EQ(t.creditFadeSeconds, AssemblingScene::kCreditFadeSeconds);
  EXPECT_EQ(t.followLightHeight, BreakingWallScene::kFollowLightHeight);
  EXPECT_EQ(t.depthOfField.focal, DepthOfField().focal);
  EXPECT_EQ(t.depthOfField.focalFalloff, DepthOfField().focalFalloff);
}

TEST_F(TimelineTunablesTest, EveryNamedConstantIsUsedAndTheRestKeepTheirBuiltInValues) {
  const TimelineTunables edited = Read(
      "ValueProperty 3 1 0 dof_focal 250.0\n"
      "ValueProperty 3 2 0 dof_focal_falloff 0.000001\n"
      "ValueProperty 3 3 0 flash_fade_per_second 4.0\n"
      "ValueProperty 3 4 0 greeting_fade_per_second 0.6\n"
      "ValueProperty 3 5 0 credit_fade_seconds 3.0\n"
      "ValueProperty 3 6 0 follow_light_height 900.0\n"
      "end\n");
  EXPECT_EQ(edited.depthOfField.focal, 250.0f);
  EXPECT_EQ(edited.depthOfField.focalFalloff, 0.000001f);
  EXPECT_EQ(edited.flashFadePerSecond, 4.0f);
  EXPECT_EQ(edited.greetingFadePerSecond, 0.6f);
  EXPECT_EQ(edited.creditFadeSeconds, 3.0f);
  EXPECT_EQ(edited.followLightHeight, 900.0f);
  EXPECT_EQ(Log(), "");

  // A script without them (only a track and a camera) plays with the built-in values.
  properties_ = PropertyMap();
  ExpectBuiltIn(Read("AnimProperty 3 1 0 dof_focal_track\n  k 0.0 0 5.0\nendkeys\nend\n"));
  EXPECT_EQ(Log(), "");
}

TEST_F(TimelineTunablesTest, AValueOfTheWrongKindOrOutOfRangeKeepsTheBuiltInWithALogLine) {
  const TimelineTunables t = Read(
      "ValueProperty 2 1 0 dof_focal 250\n"                  // an int constant
      "AnimProperty 3 2 0 flash_fade_per_second\n  k 0.0 0 4.0\nendkeys\n"  // a track
      "ValueProperty 3 3 0 greeting_fade_per_second 0.0\n"   // would never fade
      "ValueProperty 3 4 0 credit_fade_seconds -2.0\n"
      "ValueProperty 3 5 0 dof_focal_falloff -0.5\n"
      "ValueProperty 3 6 0 follow_light_height -300.0\n"     // below the path is allowed
      "end\n");
  EXPECT_EQ(t.depthOfField.focal, DepthOfField().focal);
  EXPECT_EQ(t.flashFadePerSecond, DemoTimeline::kFlashFadePerSecond);
  EXPECT_EQ(t.greetingFadePerSecond, BreakingWallScene::kGreetingFadePerSecond);
  EXPECT_EQ(t.creditFadeSeconds, AssemblingScene::kCreditFadeSeconds);
  EXPECT_EQ(t.depthOfField.focalFalloff, DepthOfField().focalFalloff);
  EXPECT_EQ(t.followLightHeight, -300.0f);
  const std::string log = Log();
  for (const char* name : {"dof_focal\"", "flash_fade_per_second", "greeting_fade_per_second", "credit_fade_seconds",
                           "dof_focal_falloff"}) {
    EXPECT_NE(log.find(std::string("property script: \"") + name), std::string::npos) << name << "\n" << log;
  }
  EXPECT_EQ(log.find("follow_light_height"), std::string::npos) << log;
}

}  // namespace
