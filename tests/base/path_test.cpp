#include "base/path.h"

#include <gtest/gtest.h>

namespace {

void ExpectParts(const std::string& path, const std::string& folder, const std::string& name,
                 const std::string& extension) {
  const PathParts parts = SplitPath(path);
  EXPECT_EQ(parts.folder, folder) << path;
  EXPECT_EQ(parts.name, name) << path;
  EXPECT_EQ(parts.extension, extension) << path;
}

TEST(SplitPath, BackslashPathsSplitAtTheLastSeparatorAndTheLastDot) {
  ExpectParts("C:\\a\\b.c.txt", "C:\\a\\", "b.c", "txt");
  ExpectParts("\\x\\.hidden", "\\x\\", ".hidden", "");
  ExpectParts("plain", "", "plain", "");
}

TEST(SplitPath, ForwardSlashesSeparateTheSameWay) {
  ExpectParts("/tmp/a/b.c.txt", "/tmp/a/", "b.c", "txt");
  ExpectParts("/x/.hidden", "/x/", ".hidden", "");
  ExpectParts("models/robot.mk2.geo", "models/", "robot.mk2", "geo");
}

TEST(SplitPath, MixedSeparatorsUseWhicheverComesLast) {
  ExpectParts("data\\textures/Wall_01.png", "data\\textures/", "Wall_01", "png");
  ExpectParts("data/textures\\Wall_01.png", "data/textures\\", "Wall_01", "png");
}

TEST(SplitPath, EdgeCases) {
  ExpectParts("", "", "", "");
  ExpectParts("folder/", "folder/", "", "");
  ExpectParts("abc.", "", "abc", "");
  ExpectParts(".cfg", "", ".cfg", "");
  ExpectParts("a.b/c", "a.b/", "c", "");  // a dot in the folder is not an extension
}

}  // namespace
