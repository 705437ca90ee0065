// The data set is reproducible: generating it again gives the same archive and the
// same dialog picture, byte for byte.
#include <gtest/gtest.h>

#include "data/data_set.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

TEST(DataSetDeterminism, ASecondRunWritesTheSameBytes) {
  testing_support::TempDir dir;
  const std::string generator = std::string(DRIFT_BINARY_DIR) + "/drift-datagen";
  testing_support::ProcessOptions options;
  options.stdoutPath = dir.File("progress.txt");
  ASSERT_EQ(testing_support::RunCommand({generator, "--archive", dir.File("demodat"), "--setup", dir.File("setup.jpg"),
                                         "--content", std::string(DRIFT_SOURCE_DIR) + "/content"},
                                        240, options),
            0)
      << testing_support::ReadFile(dir.File("progress.txt"));
  EXPECT_TRUE(testing_support::ReadFile(dir.File("demodat")) == testing_support::ReadFile(data_set::Archive()));
  EXPECT_TRUE(testing_support::ReadFile(dir.File("setup.jpg")) == testing_support::ReadFile(data_set::SetupPicture()));
}

}  // namespace
