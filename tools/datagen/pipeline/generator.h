#pragma once
// The data set, step by step: writes the unpacked tree, then packs the archive and
// writes the dialog picture beside it.
#include <cstdio>
#include <string>
#include <vector>

namespace datagen {

struct GeneratorOptions {
  std::string treeFolder;    // the unpacked data set (required)
  std::string archivePath;   // "demodat"; empty: no archive
  std::string setupPath;     // "setup.jpg"; empty: none
  std::string contentFolder; // the hand-written content (effects, property script)
  std::string fontFolder;    // the DejaVu fonts
  // Step names (pipeline/step_list.h). Empty: every step, into a fresh tree. Otherwise
  // only these steps' files are written and everything else in the tree stays as it
  // is; the archive then packs the whole tree as it stands after the run.
  std::vector<std::string> onlySteps;
};

// Runs the steps, printing one progress line per step to progress. False with error
// set at the first step that fails (or for a step name that is no step); nothing after
// it runs, and an older archive at archivePath is left as it was.
bool Generate(const GeneratorOptions& options, std::FILE* progress, std::string& error);

}  // namespace datagen
