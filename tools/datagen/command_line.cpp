#include "datagen/command_line.h"

#include "datagen/pipeline/step_list.h"

namespace datagen {
namespace {

// "a,b,,c" to its non-empty names; false when there are none or one is empty.
bool SplitStepNames(const std::string& list, std::vector<std::string>& names) {
  std::size_t from = 0;
  while (true) {
    const std::size_t comma = list.find(',', from);
    const std::string name = list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    if (name.empty()) return false;
    names.push_back(name);
    if (comma == std::string::npos) return true;
    from = comma + 1;
  }
}

}  // namespace

CommandLineError ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& message) {
  GeneratorOptions& options = line.options;
  bool only = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      line.action = CommandLine::Action::kHelp;
      return CommandLineError::kNone;
    }
    if (option == "--list") {
      line.action = CommandLine::Action::kListSteps;
      return CommandLineError::kNone;
    }
    if (option == "--events") {
      line.action = CommandLine::Action::kListEvents;
      return CommandLineError::kNone;
    }
    // Every other option takes one value; --only's is a list of step names.
    std::string* target = nullptr;
    if (option == "--out") target = &options.treeFolder;
    else if (option == "--archive") target = &options.archivePath;
    else if (option == "--setup") target = &options.setupPath;
    else if (option == "--content") target = &options.contentFolder;
    else if (option == "--fonts") target = &options.fontFolder;
    const bool steps = option == "--only";
    if (target == nullptr && !steps) {
      message = "unknown option " + option;
      return CommandLineError::kUsage;
    }
    if (i + 1 >= arguments.size()) {
      message = "missing value for " + option;
      return CommandLineError::kUsage;
    }
    const std::string& value = arguments[++i];
    if (target != nullptr) {
      *target = value;
    } else if (!SplitStepNames(value, options.onlySteps)) {
      message = "--only takes step names separated by commas, not '" + value + "'";
      return CommandLineError::kUsage;
    }
    only = only || steps;
  }
  if (only) {
    // Only a tree that already holds the other steps' files can be added to.
    if (options.treeFolder.empty()) {
      message = "--only needs --out DIR, the data set whose steps it makes again";
      return CommandLineError::kUsage;
    }
    std::vector<const Step*> selected;
    if (!SelectSteps(options.onlySteps, selected, message)) return CommandLineError::kUnknownStep;
  }
  if (options.treeFolder.empty() && options.archivePath.empty() && options.setupPath.empty()) {
    options.archivePath = "demodat";
    options.setupPath = "setup.jpg";
  }
  return CommandLineError::kNone;
}

void PrintUsage(std::FILE* out, const GeneratorOptions& defaults) {
  std::fprintf(out,
               "usage: drift-datagen [--out DIR [--only STEP[,STEP...]]] [--archive FILE] [--setup FILE]\n"
               "                     [--content DIR] [--fonts DIR]\n"
               "       drift-datagen --list | --events\n"
               "Builds the demo's data set.\n"
               "  (no options)    write demodat and setup.jpg into the current folder\n"
               "  --out DIR       write the unpacked data set into DIR (alone: nothing else)\n"
               "  --only STEPS    make only these steps' files in DIR again and leave the rest of\n"
               "                  DIR as it is (the same bytes as a full run for those files);\n"
               "                  --archive then packs the whole of DIR as it stands\n"
               "  --list          print the steps, one per line with what each makes\n"
               "  --events        print the timeline's events the data is timed to (flashes,\n"
               "                  greeting changes, scene times), one per line: seconds and name\n"
               "  --archive FILE  write the archive to FILE\n"
               "  --setup FILE    write the dialog picture to FILE\n"
               "  --content DIR   the hand-written content (default %s)\n"
               "  --fonts DIR     the DejaVu fonts (default %s)\n",
               defaults.contentFolder.c_str(), defaults.fontFolder.c_str());
}

}  // namespace datagen
