#pragma once
// The robot's five pose files as bytes, under their paths in the data folder:
// "Robot/frame" and the four animations, written with the program's own format code.
#include <string>
#include <vector>

namespace datagen::robot {

struct PoseFile {
  std::string path;  // relative to the data folder
  std::string bytes;
};

// Rest frame first, then the animations in the order the program reads them.
std::vector<PoseFile> PoseFiles();

// Writes every pose file below folder (which must exist; Robot/ is created). False with
// the reason in error when a file cannot be written.
bool WritePoseFiles(const std::string& folder, std::string& error);

}  // namespace datagen::robot
