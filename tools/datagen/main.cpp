// drift-datagen: builds the demo's data set procedurally: the archive "demodat", the
// dialog picture "setup.jpg", and on request the unpacked tree.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "datagen/pipeline/generator.h"
#include "datagen/texture/text.h"

#ifndef DRIFT_CONTENT_DIR
#define DRIFT_CONTENT_DIR "content"
#endif

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: drift-datagen [--out DIR] [--archive FILE] [--setup FILE] [--content DIR] [--fonts DIR]\n"
               "Builds the demo's data set.\n"
               "  (no options)    write demodat and setup.jpg into the current folder\n"
               "  --out DIR       write the unpacked data set into DIR (alone: nothing else)\n"
               "  --archive FILE  write the archive to FILE\n"
               "  --setup FILE    write the dialog picture to FILE\n"
               "  --content DIR   the hand-written content (default %s)\n"
               "  --fonts DIR     the DejaVu fonts (default %s)\n",
               DRIFT_CONTENT_DIR, datagen::Fonts::kDefaultFolder);
}

}  // namespace

int main(int argc, char** argv) {
  datagen::GeneratorOptions options;
  options.contentFolder = DRIFT_CONTENT_DIR;
  options.fontFolder = datagen::Fonts::kDefaultFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      Usage(stdout);
      return 0;
    }
    std::string* target = nullptr;
    if (option == "--out") target = &options.treeFolder;
    else if (option == "--archive") target = &options.archivePath;
    else if (option == "--setup") target = &options.setupPath;
    else if (option == "--content") target = &options.contentFolder;
    else if (option == "--fonts") target = &options.fontFolder;
    if (target == nullptr || i + 1 >= argc) {
      std::fprintf(stderr, "drift-datagen: %s %s\n", target == nullptr ? "unknown option" : "missing value for",
                   option.c_str());
      Usage(stderr);
      return 2;
    }
    *target = argv[++i];
  }

  // Without a tree of its own the generator works in a temporary folder and writes the
  // archive and the picture where the demo looks for them.
  std::string scratch;
  if (options.treeFolder.empty()) {
    if (options.archivePath.empty() && options.setupPath.empty()) {
      options.archivePath = "demodat";
      options.setupPath = "setup.jpg";
    }
    std::error_code ignored;
    scratch = (std::filesystem::temp_directory_path(ignored) /
               ("drift-datagen." + std::to_string(static_cast<long>(::getpid())))).string();
    options.treeFolder = scratch;
  }

  std::string error;
  const bool ok = datagen::Generate(options, stdout, error);
  if (!scratch.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
  }
  if (!ok) {
    std::fprintf(stderr, "drift-datagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
