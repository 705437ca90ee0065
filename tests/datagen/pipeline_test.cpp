// The pipeline around the steps: the output tree records what it writes and reports
// what it cannot, and the archive lists folders before their files, reads back to
// the same bytes and never replaces a good archive with a broken one.
#include <gtest/gtest.h>

#include <filesystem>

#include "datagen/pipeline/archive.h"
#include "datagen/pipeline/output_tree.h"
#include "datagen/world/glass_shards.h"
#include "datagen/world/layout.h"
#include "platform/zip_archive.h"
#include "support/temp_dir.h"

namespace {

using namespace datagen;
using testing_support::ReadFile;
using testing_support::TempDir;

TEST(OutputTree, WritesFoldersAsNeededAndRemembersTheFirstFailure) {
  TempDir dir;
  OutputTree tree(dir.File("data"));
  EXPECT_TRUE(tree.WriteBytes("Robot/frame", "abc"));
  EXPECT_TRUE(tree.WriteBytes("a.txt", "1"));
  EXPECT_EQ(ReadFile(dir.File("data/Robot/frame")), "abc");
  EXPECT_EQ(tree.Files(), (std::vector<std::string>{"Robot/frame", "a.txt"}));
  EXPECT_EQ(tree.SizeOf("Robot/frame"), 3u);
  EXPECT_FALSE(tree.Failed());
  // A folder where a file stands cannot be made.
  EXPECT_FALSE(tree.WriteBytes("a.txt/b", "x"));
  EXPECT_FALSE(tree.WriteBytes("Robot/frame/c", "x"));
  EXPECT_TRUE(tree.Failed());
  EXPECT_NE(tree.Error().find("a.txt"), std::string::npos) << tree.Error();
}

TEST(Archive, ListsEveryFolderBeforeItsFilesInBytewiseOrder) {
  EXPECT_EQ(ArchiveEntries({"textures/b.png", "Robot/frame", "loader.jpg", "textures/a.png", "a/b/c"}),
            (std::vector<std::string>{"Robot/", "Robot/frame", "a/", "a/b/", "a/b/c", "loader.jpg", "textures/",
                                      "textures/a.png", "textures/b.png"}));
}

TEST(Archive, PacksTheTreeAndLeavesAnOlderArchiveWhenItFails) {
  TempDir dir;
  OutputTree tree(dir.File("data"));
  ASSERT_TRUE(tree.WriteBytes("models/x.geo", std::string(5000, 'x')));
  ASSERT_TRUE(tree.WriteBytes("textures/y.png", "png bytes"));
  std::string error;
  ASSERT_TRUE(PackArchive(tree.Root(), tree.Files(), dir.File("demodat"), error)) << error;
  platform::ZipReader zip;
  ASSERT_TRUE(zip.Open(dir.File("demodat")));
  std::vector<std::string> names;
  for (bool more = zip.First(); more; more = zip.Next()) {
    platform::ZipEntryInfo info;
    ASSERT_TRUE(zip.CurrentInfo(info));
    names.push_back(info.name);
    if (info.name == "models/x.geo") {
      std::vector<unsigned char> bytes;
      ASSERT_TRUE(zip.ReadCurrent(bytes));
      EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(5000, 'x'));
    }
  }
  zip.Close();
  EXPECT_EQ(names, (std::vector<std::string>{"models/", "models/x.geo", "textures/", "textures/y.png"}));
  const std::string good = ReadFile(dir.File("demodat"));
  // A file that has gone missing fails the packing; the older archive stays.
  EXPECT_FALSE(PackArchive(tree.Root(), {"models/x.geo", "textures/missing.png"}, dir.File("demodat"), error));
  EXPECT_NE(error.find("missing.png"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(dir.File("demodat")), good);
  EXPECT_FALSE(std::filesystem::exists(dir.File("demodat.partial")));
  // The same input gives the same bytes.
  ASSERT_TRUE(PackArchive(tree.Root(), tree.Files(), dir.File("again"), error));
  EXPECT_EQ(ReadFile(dir.File("again")), good);
}

TEST(GlassShards, TileThePaneWithoutGapsOrOverlaps) {
  const auto shards = GlassShardOutlines();
  ASSERT_GE(shards.size(), 60u);
  double area = 0;
  for (const auto& shard : shards) {
    ASSERT_GE(shard.size(), 3u);
    double a = 0;
    for (std::size_t i = 0; i < shard.size(); ++i) a += 0.5 * Cross(shard[i], shard[(i + 1) % shard.size()]);
    EXPECT_GT(a, 0.0) << "counter-clockwise and not degenerate";
    area += a;
    const V2 c = PolygonCentroid(shard);
    EXPECT_GT(c.y, 0.0f);
    EXPECT_GT(c.x, layout::kGlassCentreZ - 0.5f * layout::kGlassWidth);
    EXPECT_LT(c.x, layout::kGlassCentreZ + 0.5f * layout::kGlassWidth);
  }
  EXPECT_NEAR(area, layout::kGlassWidth * layout::kGlassHeight, 1.0);
  // Clipping a square by the half-plane x <= 1 leaves the left half.
  const auto half = ClipToHalfPlane({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, V2(1, 0), V2(1, 0));
  EXPECT_NEAR(PolygonCentroid(half).x, 0.5f, 1e-5f);
}

}  // namespace
