#include "app/archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/zip_archive.h"
#include "support/temp_dir.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace fs = std::filesystem;

class UnpackArchiveTest : public ::testing::Test {
 protected:
  // Writes an archive with whatever the callback adds.
  std::string MakeArchive(const std::string& name, const std::function<void(platform::ZipWriter&)>& add) {
    const std::string path = work_.File(name);
    platform::ZipWriter writer;
    EXPECT_TRUE(writer.Open(path));
    add(writer);
    EXPECT_TRUE(writer.Close());
    return path;
  }

  bool Unpack(const std::string& archive) {
    messages_.clear();
    return UnpackArchive(archive, data_, messages_);
  }

  std::string Data(const std::string& relative) const { return data_ + relative; }

  // Every file and folder under the work folder, relative to it.
  std::set<std::string> Everything() const {
    std::set<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(work_.Path())) {
      paths.insert(fs::relative(entry.path(), work_.Path()).string());
    }
    return paths;
  }

  std::string Messages() const {
    std::string all;
    for (const std::string& m : messages_) all += m + "\n";
    return all;
  }

  TempDir work_;
  std::string data_ = work_.File("data/");
  std::vector<std::string> messages_;
};

std::string Binary(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed;
  for (char& c : bytes) {
    state = state * 214013u + 2531011u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

TEST_F(UnpackArchiveTest, UnpacksFoldersAndFilesAsStored) {
  const std::string texture = Binary(70000, 1);
  const std::string text(300000, 'a');  // compresses well, inflates in several pieces
  const std::string archive = MakeArchive("demodat", [&](platform::ZipWriter& zip) {
    zip.AddFolder("textures/");
    zip.AddFile("textures/wall.png", texture);
    zip.AddFolder("empty_folder/");
    zip.AddFile("empty.txt", "");
    zip.AddFile("stored.bin", texture, 0);
    zip.AddFile("properties/props.scr", text);
  });
  EXPECT_TRUE(Unpack(archive)) << Messages();
  EXPECT_TRUE(messages_.empty()) << Messages();
  EXPECT_EQ(ReadFile(Data("textures/wall.png")), texture);
  EXPECT_TRUE(fs::is_directory(Data("empty_folder")));
  EXPECT_TRUE(fs::is_empty(Data("empty_folder")));
  ASSERT_TRUE(FileExists(Data("empty.txt")));
  EXPECT_EQ(fs::file_size(Data("empty.txt")), 0u);
  EXPECT_EQ(ReadFile(Data("stored.bin")), texture);
  // Its folder was not listed in the archive: created on the way.
  EXPECT_EQ(ReadFile(Data("properties/props.scr")), text);
}

TEST_F(UnpackArchiveTest, ASecondRunReplacesWhatTheFirstWrote) {
  const std::string first = MakeArchive("first", [](platform::ZipWriter& zip) {
    zip.AddFile("music/osprey.mp3", std::string(5000, 'x'));
  });
  const std::string second = MakeArchive("second", [](platform::ZipWriter& zip) {
    zip.AddFile("music/osprey.mp3", "short");
  });
  ASSERT_TRUE(Unpack(first));
  ASSERT_TRUE(Unpack(second));
  EXPECT_EQ(ReadFile(Data("music/osprey.mp3")), "short");
}

TEST_F(UnpackArchiveTest, BackslashesSeparateFolders) {
  const std::string archive = MakeArchive("demodat", [](platform::ZipWriter& zip) {
    zip.AddFolder("images\\");
    zip.AddFile("images\\env_x_pos.jpg", "jpeg");
    zip.AddFile("Robot\\run_anim", "pose");
  });
  EXPECT_TRUE(Unpack(archive)) << Messages();
  EXPECT_EQ(ReadFile(Data("images/env_x_pos.jpg")), "jpeg");
  EXPECT_EQ(ReadFile(Data("Robot/run_anim")), "pose");
  EXPECT_FALSE(FileExists(Data("images\\env_x_pos.jpg")));
}

TEST_F(UnpackArchiveTest, EntriesThatWouldLeaveTheFolderAreRefused) {
  const std::string absolute = work_.File("absolute.txt");
  const std::string archive = MakeArchive("demodat", [&](platform::ZipWriter& zip) {
    zip.AddFile("../escaped.txt", "evil");
    zip.AddFile("..\\escaped2.txt", "evil");
    zip.AddFile("models/../../escaped3.txt", "evil");
    zip.AddFile(absolute, "evil");
    zip.AddFolder("../outside_folder/");
    zip.AddFile("../line\nbreak", "evil");
    zip.AddFile("models/./ok.geo", "fine");
  });
  EXPECT_FALSE(Unpack(archive));
  EXPECT_EQ(messages_.size(), 6u) << Messages();
  for (const std::string& message : messages_) {
    EXPECT_EQ(message.rfind("refused archive entry ", 0), 0u) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << "one line per message";
  }
  // The entries after the refused ones are still unpacked, and nothing lies outside.
  EXPECT_EQ(ReadFile(Data("models/ok.geo")), "fine");
  EXPECT_EQ(Everything(), (std::set<std::string>{"demodat", "data", "data/models", "data/models/ok.geo"}));
}

TEST_F(UnpackArchiveTest, SafeEntryPathsStayInsideTheFolder) {
  EXPECT_EQ(SafeEntryPath("a/b.txt"), "a/b.txt");
  EXPECT_EQ(SafeEntryPath("a\\b\\c.txt"), "a/b/c.txt");
  EXPECT_EQ(SafeEntryPath("./a//b/"), "a/b");
  EXPECT_EQ(SafeEntryPath("a..b/..c"), "a..b/..c");
  for (const std::string& bad : {std::string("/etc/passwd"), std::string("\\abs"), std::string(".."),
                                 std::string("a/../b"), std::string("a\\..\\..\\b"), std::string(""),
                                 std::string("./"), std::string("a\0/../../b", 10)}) {
    EXPECT_EQ(SafeEntryPath(bad), "") << bad;
  }
}

TEST_F(UnpackArchiveTest, ADamagedEntryIsReportedAndNotWritten) {
  const std::string payload = "MARKER-" + std::string(2000, 'p') + "-END";
  std::string bytes = ReadFile(MakeArchive("demodat", [&](platform::ZipWriter& zip) {
    zip.AddFile("before.txt", "before");
    zip.AddFile("damaged.bin", payload, 0);  // stored, so the bytes can be found
    zip.AddFile("after.txt", "after");
  }));
  const std::size_t at = bytes.find("MARKER-");
  ASSERT_NE(at, std::string::npos);
  bytes[at + 100] ^= 0x55;
  WriteFile(work_.File("demodat"), bytes);

  EXPECT_FALSE(Unpack(work_.File("demodat")));
  ASSERT_EQ(messages_.size(), 1u) << Messages();
  EXPECT_NE(messages_[0].find("couldn't unpack damaged.bin: checksum mismatch"), std::string::npos) << Messages();
  EXPECT_FALSE(FileExists(Data("damaged.bin")));
  EXPECT_EQ(ReadFile(Data("before.txt")), "before");
  EXPECT_EQ(ReadFile(Data("after.txt")), "after");
}

TEST_F(UnpackArchiveTest, MissingTruncatedOrEmptyArchivesWriteNothing) {
  const std::string good = ReadFile(MakeArchive("good", [](platform::ZipWriter& zip) {
    zip.AddFile("textures/a.png", Binary(4000, 2));
    zip.AddFile("textures/b.png", Binary(4000, 3));
  }));
  WriteFile(work_.File("truncated"), good.substr(0, good.size() / 2));
  WriteFile(work_.File("notzip"), "this is not an archive");
  MakeArchive("empty", [](platform::ZipWriter&) {});
  fs::create_directories(work_.File("a_folder"));

  const std::vector<std::pair<std::string, std::string>> cases = {
      {"missing", "no such file"}, {"truncated", "couldn't open archive"}, {"notzip", "couldn't open archive"},
      {"empty", "archive"}, {"a_folder", "not a file"}};
  for (const auto& [name, expected] : cases) {
    EXPECT_FALSE(Unpack(work_.File(name))) << name;
    ASSERT_EQ(messages_.size(), 1u) << name << ": " << Messages();
    EXPECT_NE(messages_[0].find(expected), std::string::npos) << messages_[0];
    EXPECT_NE(messages_[0].find(work_.File(name)), std::string::npos) << "names the archive: " << messages_[0];
    EXPECT_FALSE(fs::exists(data_)) << name;
  }
}

TEST_F(UnpackArchiveTest, AFileInTheWayOfAFolderFailsOnlyThatEntry) {
  const std::string archive = MakeArchive("demodat", [](platform::ZipWriter& zip) {
    zip.AddFile("models", "a file named like a folder");
    zip.AddFile("models/robot.geo", "geometry");
    zip.AddFile("materials/robot.mat", "<material/>");
  });
  EXPECT_FALSE(Unpack(archive));
  ASSERT_EQ(messages_.size(), 1u) << Messages();
  EXPECT_NE(messages_[0].find("models/robot.geo"), std::string::npos);
  EXPECT_EQ(ReadFile(Data("materials/robot.mat")), "<material/>");
}

TEST(ZipReader, ListsEntriesInArchiveOrderWithTheirContent) {
  TempDir work;
  const std::string path = work.File("a.zip");
  platform::ZipWriter writer;
  ASSERT_TRUE(writer.Open(path));
  ASSERT_TRUE(writer.AddFolder("b"));
  ASSERT_TRUE(writer.AddFile("b\\z.bin", Binary(1000, 4)));
  ASSERT_TRUE(writer.AddFile("a.txt", "hello"));
  ASSERT_TRUE(writer.Close());

  platform::ZipReader reader;
  ASSERT_TRUE(reader.Open(path));
  EXPECT_EQ(reader.EntryCount(), 3u);
  std::vector<std::string> names;
  std::vector<std::string> contents;
  for (bool more = reader.First(); more; more = reader.Next()) {
    platform::ZipEntryInfo info;
    ASSERT_TRUE(reader.CurrentInfo(info));
    std::vector<unsigned char> data;
    ASSERT_TRUE(reader.ReadCurrent(data)) << reader.Error();
    EXPECT_EQ(data.size(), info.uncompressedSize);
    names.push_back(info.name);
    contents.emplace_back(data.begin(), data.end());
  }
  EXPECT_TRUE(reader.Error().empty());
  EXPECT_EQ(names, (std::vector<std::string>{"b/", "b\\z.bin", "a.txt"}));
  EXPECT_EQ(contents, (std::vector<std::string>{"", Binary(1000, 4), "hello"}));
}

}  // namespace
