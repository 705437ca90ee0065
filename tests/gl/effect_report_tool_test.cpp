// drift-inspect compiles effect files when a display is there and lists what the
// driver's linker kept.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "support/process.h"
#include "support/temp_dir.h"

namespace {

TEST(InspectEffectGl, CompilesAndListsTheParameters) {
  testing_support::TempDir dir;
  testing_support::ProcessOptions options;
  options.stdoutPath = dir.File("stdout");
  options.stderrPath = dir.File("stderr");
  const int status = testing_support::RunCommand(
      {std::string(DRIFT_BINARY_DIR) + "/drift-inspect", std::string(DRIFT_SOURCE_DIR) + "/content/effects/post_process.cfx"},
      60, options);
  ASSERT_EQ(status, 0) << testing_support::ReadFile(dir.File("stderr"));
  const nlohmann::json out = nlohmann::json::parse(testing_support::ReadFile(dir.File("stdout")));
  EXPECT_EQ(out["compiled"], true);
  const nlohmann::json& parameters = out["parameters"];
  for (const char* name : {"focal", "fade", "focalFalloff", "noiseStrength", "mvp"}) {
    EXPECT_TRUE(parameters.contains(name)) << name;
  }
  EXPECT_EQ(parameters["depthTex"], "sampler2D");
  EXPECT_EQ(parameters["noiseTex"], "sampler1D");
  EXPECT_EQ(parameters["mvp"], "mat4");
}

}  // namespace
