// The data tree's change notifications: written files, files in folders made after the
// watch started, moves and removals, each reported once, and a clear failure for a
// folder that is not there.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_watch.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Polls until the expected names arrived (notifications are queued at once, but give
// the kernel a moment) and returns everything reported.
std::vector<std::string> PollFor(platform::FileWatch& watch, std::size_t count) {
  std::vector<std::string> all;
  for (int i = 0; i < 100 && all.size() < count; ++i) {
    for (const std::string& name : watch.Poll()) {
      if (std::find(all.begin(), all.end(), name) == all.end()) all.push_back(name);
    }
    if (all.size() < count) testing_support::SleepSeconds(0.01);
  }
  return all;
}

TEST(FileWatch, ReportsChangedFilesBelowTheRoot) {
  testing_support::TempDir dir;
  fs::create_directories(fs::path(dir.Path()) / "textures");
  platform::FileWatch watch;
  std::string error;
  ASSERT_TRUE(watch.Watch(dir.Path(), error)) << error;
  EXPECT_TRUE(watch.Poll().empty());

  Write(fs::path(dir.Path()) / "textures" / "a.png", "one");
  Write(fs::path(dir.Path()) / "textures" / "a.png", "two");  // twice before a poll: once
  EXPECT_EQ(PollFor(watch, 1), std::vector<std::string>{"textures/a.png"});

  // A new folder is watched from the poll that sees it; what was written into it
  // before then is reported by that poll.
  fs::create_directories(fs::path(dir.Path()) / "effects" / "deeper");
  Write(fs::path(dir.Path()) / "effects" / "deeper" / "early.cfx", "x");
  EXPECT_EQ(PollFor(watch, 1), std::vector<std::string>{"effects/deeper/early.cfx"});
  Write(fs::path(dir.Path()) / "effects" / "b.cfx", "x");
  EXPECT_EQ(PollFor(watch, 1), std::vector<std::string>{"effects/b.cfx"});

  // A save through a temporary file and a rename, as editors do, and a removal.
  Write(fs::path(dir.Path()) / "c.tmp", "y");
  fs::rename(fs::path(dir.Path()) / "c.tmp", fs::path(dir.Path()) / "c.mat");
  fs::remove(fs::path(dir.Path()) / "textures" / "a.png");
  const std::vector<std::string> changed = PollFor(watch, 3);
  for (const char* name : {"c.tmp", "c.mat", "textures/a.png"}) {
    EXPECT_NE(std::find(changed.begin(), changed.end(), name), changed.end()) << name;
  }
}

TEST(FileWatch, ATreeRemovedAndMadeAgainIsWatchedAgain) {
  testing_support::TempDir dir;
  const fs::path root = fs::path(dir.Path()) / "tree";
  fs::create_directories(root / "textures");
  platform::FileWatch watch;
  std::string error;
  ASSERT_TRUE(watch.Watch(root.string(), error)) << error;
  fs::remove_all(root);
  watch.Poll();
  testing_support::SleepSeconds(0.05);
  watch.Poll();  // the kernel has dropped the watches by now
  fs::create_directories(root / "textures");
  Write(root / "textures" / "a.png", "x");
  std::vector<std::string> changed = PollFor(watch, 1);
  EXPECT_NE(std::find(changed.begin(), changed.end(), "textures/a.png"), changed.end());
  Write(root / "textures" / "b.png", "y");
  changed = PollFor(watch, 1);
  EXPECT_NE(std::find(changed.begin(), changed.end(), "textures/b.png"), changed.end());
}

TEST(FileWatch, FailsForAMissingFolder) {
  platform::FileWatch watch;
  std::string error;
  EXPECT_FALSE(watch.Watch("/nonexistent/drift-watch", error));
  EXPECT_NE(error.find("/nonexistent/drift-watch"), std::string::npos);
  EXPECT_TRUE(watch.Poll().empty());
}

}  // namespace
