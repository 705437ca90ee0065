#pragma once
// The whole data set, step by step: writes the unpacked tree, then packs the archive
// and writes the dialog picture beside it.
#include <cstdio>
#include <string>

namespace datagen {

struct GeneratorOptions {
  std::string treeFolder;    // the unpacked data set (required)
  std::string archivePath;   // "demodat"; empty: no archive
  std::string setupPath;     // "setup.jpg"; empty: none
  std::string contentFolder; // the hand-written content (effects, property script)
  std::string fontFolder;    // the DejaVu fonts
};

// Runs every step, printing one progress line per step to progress. False with error
// set at the first step that fails; nothing after it runs, and an older archive at
// archivePath is left as it was.
bool Generate(const GeneratorOptions& options, std::FILE* progress, std::string& error);

}  // namespace datagen
