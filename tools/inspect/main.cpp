// drift-inspect FILE...: loads each data file with the program's own loaders and
// prints what they read as JSON on standard output.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "file_report.h"

namespace {

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: drift-inspect [--vertices] [--as KIND] FILE...\n"
               "\n"
               "Loads each data file with the demo's own loaders and prints what they read\n"
               "as JSON on standard output: one object for one file, an array of objects for\n"
               "several. No display is needed.\n"
               "\n"
               "  --vertices   also print every vertex of every sub-mesh (models)\n"
               "  --as KIND    read the files as KIND instead of choosing by file name\n"
               "  --help       show this text\n"
               "\n"
               "Kinds:\n");
  for (const inspect::KindInfo& kind : inspect::Kinds()) {
    std::fprintf(out, "  %-15s %-22s %s\n", kind.name, kind.files, kind.contents);
  }
  std::fprintf(out,
               "\n"
               "Vectors print as [x, y, z], rotations as quaternions [w, x, y, z] (animation\n"
               "keys as the program stores them: accumulated, in its y-up axes), matrices as\n"
               "16 floats in column-major order.\n"
               "\n"
               "Exit status: 0 when every file loaded; 1 when one did not (the reason goes to\n"
               "standard error and the others are still printed); 2 for a usage error.\n");
}

// Names in data files are bytes; anything that is not UTF-8 is printed replaced.
std::string Dump(const inspect::Json& json) {
  return json.dump(2, ' ', false, inspect::Json::error_handler_t::replace);
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "drift-inspect: %s\n", message.c_str());
  PrintUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  inspect::Options options;
  std::vector<std::string> files;
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (onlyFiles || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      return 0;
    } else if (arg == "--vertices") {
      options.vertices = true;
    } else if (arg == "--as") {
      if (i + 1 >= argc) return UsageError("--as needs a kind");
      options.kind = argv[++i];
      bool known = false;
      for (const inspect::KindInfo& kind : inspect::Kinds()) known = known || options.kind == kind.name;
      if (!known) return UsageError("unknown kind '" + options.kind + "'");
    } else {
      return UsageError("unknown option '" + arg + "'");
    }
  }
  if (files.empty()) return UsageError("no file given");

  int status = 0;
  inspect::Json all = inspect::Json::array();
  for (const std::string& file : files) {
    inspect::Json one;
    std::string error;
    if (inspect::Inspect(file, options, one, error)) {
      all.push_back(std::move(one));
    } else {
      std::fprintf(stderr, "drift-inspect: %s\n", error.c_str());
      status = 1;
    }
  }
  if (files.size() == 1 && !all.empty()) {
    std::printf("%s\n", Dump(all[0]).c_str());
  } else if (files.size() > 1) {
    std::printf("%s\n", Dump(all).c_str());
  }
  return status;
}
