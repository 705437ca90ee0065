#pragma once
// drift-datagen's command line: what the program is asked to do and with which
// options, read from its arguments, and the usage text that describes them.
#include <cstdio>
#include <string>
#include <vector>

#include "datagen/pipeline/generator.h"

namespace datagen {

struct CommandLine {
  enum class Action { kGenerate, kHelp, kListSteps, kListEvents };
  Action action = Action::kGenerate;
  GeneratorOptions options;
};

enum class CommandLineError {
  kNone,
  kUsage,        // an option the program does not know, a missing value, --only without --out
  kUnknownStep,  // a name given to --only that is not a step
};

// Reads the arguments after the program's name into line, whose options hold the
// defaults (content and font folders) on entry. With no tree, archive or picture asked
// for, the archive "demodat" and the picture "setup.jpg" go into the current folder.
// On an error, message says what was wrong (naming the option or the step).
CommandLineError ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& message);

// The usage text, with the default folders of defaults.
void PrintUsage(std::FILE* out, const GeneratorOptions& defaults);

}  // namespace datagen
