// drift-datagen: builds the demo's data set procedurally: the archive "demodat", the
// dialog picture "setup.jpg", and on request the unpacked tree, whole or step by step.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "datagen/command_line.h"
#include "datagen/pipeline/generator.h"
#include "datagen/pipeline/step_list.h"
#include "datagen/texture/text.h"
#include "datagen/timeline_events.h"

#ifndef DRIFT_CONTENT_DIR
#define DRIFT_CONTENT_DIR "content"
#endif

int main(int argc, char** argv) {
  datagen::GeneratorOptions defaults;
  defaults.contentFolder = DRIFT_CONTENT_DIR;
  defaults.fontFolder = datagen::Fonts::kDefaultFolder;
  datagen::CommandLine line;
  line.options = defaults;
  std::string message;
  switch (datagen::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), line, message)) {
    case datagen::CommandLineError::kNone: break;
    case datagen::CommandLineError::kUsage:
      std::fprintf(stderr, "drift-datagen: %s\n", message.c_str());
      datagen::PrintUsage(stderr, defaults);
      return 2;
    case datagen::CommandLineError::kUnknownStep:
      std::fprintf(stderr, "drift-datagen: %s; the steps are:\n", message.c_str());
      datagen::PrintSteps(stderr);
      return 2;
  }
  if (line.action == datagen::CommandLine::Action::kHelp) {
    datagen::PrintUsage(stdout, defaults);
    return 0;
  }
  if (line.action == datagen::CommandLine::Action::kListSteps) {
    datagen::PrintSteps(stdout);
    return 0;
  }
  if (line.action == datagen::CommandLine::Action::kListEvents) {
    // The times with every digit the table holds, so a grid frame can be found from them.
    for (const datagen::timeline::TimelineEvent& event : datagen::timeline::AllEvents()) {
      std::printf("%.6f %s\n", event.time, event.name.c_str());
    }
    return 0;
  }

  // Without a tree of its own the generator works in a temporary folder.
  datagen::GeneratorOptions& options = line.options;
  std::string scratch;
  if (options.treeFolder.empty()) {
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
