#pragma once
// What drift-inspect knows about each kind of data file: how to recognise it by name
// and how to turn what the program's own loader reads into JSON.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace inspect {

// Keys keep the order they are written in; numbers are floats as in the files, so
// they print in their shortest exact form. Non-finite numbers print as null.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

struct Options {
  bool vertices = false;  // print every vertex of every sub-mesh
  std::string kind;       // empty: from the file name
};

// The kinds, with the file names that select them, for the usage text.
struct KindInfo {
  const char* name;
  const char* files;
  const char* contents;
};
const std::vector<KindInfo>& Kinds();

// The kind a file name selects, or "" when none does.
std::string KindOf(const std::string& path);

// Loads path as its kind and describes it in out. False with error set (naming the
// file) when the file does not load or its kind is unknown.
bool Inspect(const std::string& path, const Options& options, Json& out, std::string& error);

}  // namespace inspect
