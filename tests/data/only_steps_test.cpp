// drift-datagen --only in a copy of the build's data set: the named steps' files come
// out byte for byte as the full run made them, even when they were damaged or
// missing, a hand edit of another step's file survives, and the archive packs the
// tree with that edit.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/data_set.h"
#include "platform/zip_archive.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

TEST(OnlySteps, MakeTheirFilesAsTheFullRunDidAndLeaveTheRest) {
  testing_support::TempDir dir;
  const std::string tree = dir.File("data");
  std::filesystem::copy(data_set::Root(), tree, std::filesystem::copy_options::recursive);
  const std::string edited = "materials/glass.mat";  // of the step "materials"
  WriteFile(tree + "/" + edited, "edited by hand");
  WriteFile(tree + "/animations/cameras.ani", "damaged");
  std::filesystem::remove(tree + "/cameras/cameras.cam");
  std::filesystem::remove(tree + "/textures/concrete_d.jpg");

  testing_support::ProcessOptions options;
  options.stdoutPath = dir.File("progress.txt");
  ASSERT_EQ(testing_support::RunCommand({std::string(DRIFT_BINARY_DIR) + "/drift-datagen", "--out", tree, "--only",
                                         "material-maps,cameras", "--archive", dir.File("demodat"), "--content",
                                         std::string(DRIFT_SOURCE_DIR) + "/content"},
                                        120, options),
            0)
      << ReadFile(dir.File("progress.txt"));

  for (const std::string& file : data_set::Files()) {
    const std::string bytes = ReadFile(tree + "/" + file);
    if (file == edited) {
      EXPECT_EQ(bytes, "edited by hand");
    } else {
      EXPECT_TRUE(bytes == ReadFile(data_set::PathOf(file))) << file;
    }
  }

  platform::ZipReader zip;
  ASSERT_TRUE(zip.Open(dir.File("demodat")));
  int files = 0;
  for (bool more = zip.First(); more; more = zip.Next()) {
    platform::ZipEntryInfo info;
    ASSERT_TRUE(zip.CurrentInfo(info));
    if (info.name.back() == '/') continue;
    ++files;
    if (info.name == edited) {
      std::vector<unsigned char> bytes;
      ASSERT_TRUE(zip.ReadCurrent(bytes));
      EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "edited by hand");
    }
  }
  zip.Close();
  EXPECT_EQ(files, static_cast<int>(data_set::Files().size())) << "the whole tree, not only the steps made";
}

}  // namespace
