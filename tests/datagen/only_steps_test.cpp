// Making some steps again in a tree that holds the others: only the named steps' files
// are written, the rest of the tree is left as it is (hand edits included), and an
// archive then packs the tree as it stands.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "datagen/pipeline/generator.h"
#include "datagen/texture/text.h"
#include "platform/zip_archive.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

using Tree = std::map<std::string, std::string>;  // relative path -> bytes

Tree ReadTree(const std::string& root) {
  Tree tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      tree[std::filesystem::relative(entry.path(), root).generic_string()] = ReadFile(entry.path().string());
    }
  }
  return tree;
}

class OnlySteps : public ::testing::Test {
 protected:
  // Runs the named steps into the tree; the progress report goes nowhere.
  bool Run(const std::vector<std::string>& steps, const std::string& archive = "") {
    datagen::GeneratorOptions options;
    options.treeFolder = tree_;
    options.archivePath = archive;
    options.contentFolder = std::string(DRIFT_SOURCE_DIR) + "/content";
    options.fontFolder = datagen::Fonts::kDefaultFolder;
    options.onlySteps = steps;
    std::FILE* progress = std::tmpfile();
    const bool ok = datagen::Generate(options, progress, error_);
    std::fclose(progress);
    return ok;
  }

  TempDir dir_;
  std::string tree_ = dir_.File("data");
  std::string error_;
};

TEST_F(OnlySteps, WriteTheirOwnFilesAndLeaveTheRestAsItIs) {
  // A tree of three steps, then a hand edit in one of them and a file of no step.
  ASSERT_TRUE(Run({"content", "materials", "cameras"})) << error_;
  const Tree before = ReadTree(tree_);
  ASSERT_EQ(before.count("materials/glass.mat"), 1u);
  ASSERT_EQ(before.count("cameras/cameras.cam"), 1u);
  WriteFile(tree_ + "/materials/glass.mat", "edited by hand");
  WriteFile(tree_ + "/notes.txt", "mine");
  std::filesystem::remove(tree_ + "/cameras/cameras.cam");

  ASSERT_TRUE(Run({"cameras"})) << error_;
  Tree expected = before;
  expected["materials/glass.mat"] = "edited by hand";
  expected["notes.txt"] = "mine";
  EXPECT_TRUE(ReadTree(tree_) == expected) << "the cameras' files made again, alone, to the same bytes; nothing else touched";
}

TEST_F(OnlySteps, AloneWriteNothingButTheirOwnFiles) {
  ASSERT_TRUE(Run({"robot-poses"})) << error_;
  const Tree tree = ReadTree(tree_);
  ASSERT_FALSE(tree.empty());
  for (const auto& [path, bytes] : tree) EXPECT_EQ(path.rfind("Robot/", 0), 0u) << path;
}

TEST_F(OnlySteps, AnUnknownStepFailsBeforeTouchingTheTree) {
  ASSERT_TRUE(Run({"materials"})) << error_;
  const Tree before = ReadTree(tree_);
  EXPECT_FALSE(Run({"materials", "matrials"}));
  EXPECT_NE(error_.find("'matrials'"), std::string::npos) << error_;
  EXPECT_TRUE(ReadTree(tree_) == before);
}

TEST_F(OnlySteps, AnArchivePacksTheWholeTreeAsItStands) {
  ASSERT_TRUE(Run({"materials"})) << error_;
  WriteFile(tree_ + "/materials/glass.mat", "edited by hand");
  ASSERT_TRUE(Run({"robot-poses"}, dir_.File("demodat"))) << error_;
  const Tree tree = ReadTree(tree_);

  Tree packed;
  platform::ZipReader zip;
  ASSERT_TRUE(zip.Open(dir_.File("demodat")));
  for (bool more = zip.First(); more; more = zip.Next()) {
    platform::ZipEntryInfo info;
    ASSERT_TRUE(zip.CurrentInfo(info));
    if (info.name.back() == '/') continue;
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(zip.ReadCurrent(bytes));
    packed[info.name] = std::string(bytes.begin(), bytes.end());
  }
  zip.Close();
  EXPECT_EQ(packed.size(), tree.size());
  EXPECT_TRUE(packed == tree) << "every file of the tree, the hand edit too";
}

}  // namespace
