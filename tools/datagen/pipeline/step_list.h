#pragma once
// The pipeline's steps, in the order a full run makes them: the one list of their names
// (what --only takes), their one-line descriptions (for --list and the progress report)
// and what builds each. Steps share nothing but what they compute on demand (the robot's
// motion, the shot list, the tempo map are built the first time a step asks for them),
// so any selection of steps writes the same bytes as a full run does for those steps.
#include <cstdio>
#include <string>
#include <vector>

namespace datagen {

class Context;

struct Step {
  const char* name;
  const char* description;
  bool (*build)(Context& context);
  // Made on a thread of its own while the other steps run: the soundtrack takes longest.
  bool ownThread = false;
};

const std::vector<Step>& Steps();

// The named steps in pipeline order, each once however often it is named. False, with
// error naming the first name that is not a step ("unknown step 'x'"), when one is not.
bool SelectSteps(const std::vector<std::string>& names, std::vector<const Step*>& selected, std::string& error);

// One line per step: its name, then its description.
void PrintSteps(std::FILE* out);

}  // namespace datagen
