#include "app/data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    if (old != nullptr) saved_ = old, hadTmp_ = true;
    setenv("TMPDIR", tmp_.Path().c_str(), 1);
  }
  void TearDown() override {
    if (hadTmp_) setenv("TMPDIR", saved_.c_str(), 1); else unsetenv("TMPDIR");
  }
  TempDir tmp_;
  std::string saved_;
  bool hadTmp_ = false;
};

TEST_F(DataFolderTest, IsPrivateUniqueAndUnderTmpdir) {
  const std::string a = CreateDataFolder();
  const std::string b = CreateDataFolder();
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(a.back(), '/');
  EXPECT_EQ(a.rfind(tmp_.Path() + "/halcyra_data_hlc13.", 0), 0u) << a;
  struct stat info {};
  ASSERT_EQ(stat(a.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  RemoveDataFolder(a);
  RemoveDataFolder(b);
}

TEST_F(DataFolderTest, RemovalTakesEverythingInside) {
  const std::string folder = CreateDataFolder();
  WriteFile(folder + "textures/a.png", "x");
  WriteFile(folder + "deep/er/still.bin", "y");
  RemoveDataFolder(folder);
  EXPECT_FALSE(std::filesystem::exists(folder));
  RemoveDataFolder(folder);  // a second removal is harmless
  RemoveDataFolder("");
}

TEST_F(DataFolderTest, MissingTmpdirFolderGivesNoFolder) {
  setenv("TMPDIR", (tmp_.Path() + "/does-not-exist").c_str(), 1);
  EXPECT_EQ(CreateDataFolder(), "");
}

}  // namespace
