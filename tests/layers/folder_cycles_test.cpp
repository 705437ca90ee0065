// The library folders of src/ and tools/ must include each other without a cycle: a
// folder below another never includes it, not even through a header-only file that no
// link line would reveal. The build's include paths already refuse a header of a library
// that is not linked; this test also catches a cycle that CMake's links would let through
// (static libraries may name each other) and says which files close it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// One include of a library folder's file into another library folder.
struct Edge {
  std::string from;
  std::string to;
  std::string file;  // the including file, relative to the tree's root
  std::string header;
};

using FolderGraph = std::map<std::string, std::vector<Edge>>;

// The library folder a path belongs to: the nearest folder at or above it, below the
// tree's top folders, that has a CMakeLists.txt.
std::string LibraryFolder(const fs::path& root, fs::path path) {
  for (; path != root && path.has_relative_path(); path = path.parent_path()) {
    if (fs::is_directory(path) && fs::exists(path / "CMakeLists.txt")) {
      return fs::relative(path, root).generic_string();
    }
  }
  return {};
}

// Every quoted include of a file under top folders (src, tools) that names a file of
// another library folder; a header is looked for under each top folder, as the build's
// include paths do.
FolderGraph ReadFolderGraph(const fs::path& root, const std::vector<std::string>& tops) {
  FolderGraph graph;
  const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
  for (const std::string& top : tops) {
    if (!fs::is_directory(root / top)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string from = LibraryFolder(root, entry.path().parent_path());
      if (from.empty()) continue;
      graph[from];
      std::ifstream in(entry.path());
      std::string line;
      std::smatch match;
      while (std::getline(in, line)) {
        if (!std::regex_search(line, match, include)) continue;
        const std::string header = match[1];
        for (const std::string& base : tops) {
          const fs::path target = root / base / header;
          if (!fs::is_regular_file(target)) continue;
          const std::string to = LibraryFolder(root, target.parent_path());
          if (!to.empty() && to != from) {
            graph[from].push_back({from, to, fs::relative(entry.path(), root).generic_string(), header});
          }
          break;
        }
      }
    }
  }
  return graph;
}

// A cycle as the includes that close it, "a/x.cpp includes b/y.h" each; empty when the
// graph has none.
std::vector<std::string> FindCycle(const FolderGraph& graph) {
  std::map<std::string, int> state;  // 0 unvisited, 1 on the path, 2 done
  std::vector<const Edge*> path;
  std::vector<std::string> cycle;
  std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
    state[folder] = 1;
    auto it = graph.find(folder);
    if (it != graph.end()) {
      for (const Edge& edge : it->second) {
        path.push_back(&edge);
        if (state[edge.to] == 1) {
          size_t start = path.size() - 1;
          while (start > 0 && path[start]->from != edge.to) --start;
          for (size_t i = start; i < path.size(); ++i) {
            cycle.push_back(path[i]->file + " includes " + path[i]->header);
          }
          return true;
        }
        if (state[edge.to] == 0 && visit(edge.to)) return true;
        path.pop_back();
      }
    }
    state[folder] = 2;
    return false;
  };
  for (const auto& [folder, edges] : graph) {
    if (state[folder] == 0 && visit(folder)) break;
  }
  return cycle;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "\n  " + line;
  return out;
}

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

// A small tree: a/ and b/ are library folders, b/inner/ belongs to b.
void WriteTree(const fs::path& root, const std::string& aIncludes) {
  Write(root / "src/a/CMakeLists.txt", "");
  Write(root / "src/b/CMakeLists.txt", "");
  Write(root / "src/a/one.h", aIncludes);
  Write(root / "src/b/two.h", "#pragma once\n#include <vector>\n");
  Write(root / "src/b/inner/three.h", "#include \"a/one.h\"\n");
}

TEST(FolderCycles, TheSourceTreeHasNone) {
  const FolderGraph graph = ReadFolderGraph(DRIFT_SOURCE_DIR, {"src", "tools"});
  ASSERT_GT(graph.size(), 10u) << "the library folders were not found under " << DRIFT_SOURCE_DIR;
  EXPECT_EQ(Join(FindCycle(graph)), "") << "a cycle of includes between library folders";
}

TEST(FolderCycles, TheEngineNeverIncludesTheTools) {
  for (const auto& [folder, edges] : ReadFolderGraph(DRIFT_SOURCE_DIR, {"src", "tools"})) {
    if (folder.rfind("src/", 0) != 0) continue;
    for (const Edge& edge : edges) {
      EXPECT_EQ(edge.to.rfind("tools/", 0), std::string::npos) << edge.file << " includes " << edge.header;
    }
  }
}

TEST(FolderCycles, TheBottomFolderIncludesNoOtherFolder) {
  const FolderGraph graph = ReadFolderGraph(DRIFT_SOURCE_DIR, {"src", "tools"});
  ASSERT_TRUE(graph.count("src/base"));
  for (const Edge& edge : graph.at("src/base")) ADD_FAILURE() << edge.file << " includes " << edge.header;
}

TEST(FolderCycles, FindsACycleThroughASubfolderAndNamesItsFiles) {
  testing_support::TempDir dir;
  const fs::path root = dir.Path();
  WriteTree(root, "#include \"b/two.h\"\n");
  const std::vector<std::string> cycle = FindCycle(ReadFolderGraph(root, {"src"}));
  ASSERT_EQ(cycle.size(), 2u) << Join(cycle);
  const std::string text = Join(cycle);
  EXPECT_NE(text.find("src/a/one.h includes b/two.h"), std::string::npos) << text;
  EXPECT_NE(text.find("src/b/inner/three.h includes a/one.h"), std::string::npos) << text;
}

TEST(FolderCycles, OneWayIncludesSystemHeadersAndMissingFilesAreNoCycle) {
  testing_support::TempDir dir;
  const fs::path root = dir.Path();
  WriteTree(root, "#include <b/two.h>\n#include \"b/gone.h\"\n#include \"one_more.h\"\n");
  const FolderGraph graph = ReadFolderGraph(root, {"src"});
  EXPECT_EQ(Join(FindCycle(graph)), "");
  ASSERT_EQ(graph.at("src/b").size(), 1u);
  EXPECT_TRUE(graph.at("src/a").empty());
}

}  // namespace
