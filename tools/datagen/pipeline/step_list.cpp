#include "datagen/pipeline/step_list.h"

#include <algorithm>
#include <cstring>

#include "datagen/steps.h"

namespace datagen {

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"content",
       "effects/, properties/: the hand-written effects, copied, and the property script, its camera changer keyed "
       "from the cut list",
       CopyContent},
      {"materials", "materials/: every material of the world", BuildMaterials},
      {"material-maps", "textures/ the materials use: concrete, cladding, paint, grating, glass, ...",
       BuildMaterialMaps},
      {"environment", "images/env_*: the six faces of the environment cube map", BuildEnvironmentMap},
      {"factory-hall", "models/factory_hal: the hall", BuildFactoryHall},
      {"factory-passage", "models/factory_passage: the corridor, the glass-wall room, the hall beyond", BuildFactoryPassage},
      {"glass-wall", "models/glass_wall_broken, glass_wall_greetz: the pane, its shards, the greetings' surface",
       BuildGlassWall},
      {"screens", "models/screens: the big monitors' faces", BuildScreens},
      {"credits", "models/credits: the credits' banner surface and its signal", BuildCredits},
      {"boards", "models/boards: the title cards' timing", BuildBoards},
      {"doors", "models/doors, animations/doors: the hall's doors and their opening", BuildDoors},
      {"robot-parts", "models/robot_*: the robot's twelve part models", BuildRobotParts},
      {"robot-lying", "models/robot_lying: the parts baked in the first pose of the release", BuildRobotLying},
      {"robot-poses", "Robot/: the robot's rest frame and its four pose animations", BuildRobotPoses},
      {"mech-arms", "models/mech_arm_*, animations/mech_arm_*_end: the welding arms and the torches' motion",
       BuildMechArms},
      {"robot-paths", "models and animations robot_path, robot_breaking_wall_path: where the robot runs",
       BuildRobotPath},
      {"cameras", "animations/cameras, cameras/cameras.cam: the shots", BuildCameras},
      {"greetings", "textures/greetz*: the greetings on the glass", BuildGreetings},
      {"monitor-loop", "textures/hud*: the monitors' looping readout", BuildMonitorLoop},
      {"credit-cards", "textures/kestrel, marlin, osprey: the credit cards", BuildCreditCards},
      {"board-cards", "textures/title1, title2, soon, endscreen: the title cards", BuildBoardCards},
      {"masks", "textures/mask, mask_big: the letterbox masks", BuildMasks},
      {"loader", "loader.jpg: the loading picture", BuildLoaderPicture},
      {"soundtrack", "music/osprey.mp3: the soundtrack, synthesised and encoded", BuildSoundtrack, true},
  };
  return steps;
}

bool SelectSteps(const std::vector<std::string>& names, std::vector<const Step*>& selected, std::string& error) {
  selected.clear();
  for (const std::string& name : names) {
    const auto known = [&](const Step& step) { return name == step.name; };
    if (std::none_of(Steps().begin(), Steps().end(), known)) {
      error = "unknown step '" + name + "'";
      return false;
    }
  }
  for (const Step& step : Steps()) {
    if (std::find(names.begin(), names.end(), step.name) != names.end()) selected.push_back(&step);
  }
  return true;
}

void PrintSteps(std::FILE* out) {
  std::size_t width = 0;
  for (const Step& step : Steps()) width = std::max(width, std::strlen(step.name));
  for (const Step& step : Steps()) {
    std::fprintf(out, "%-*s  %s\n", static_cast<int>(width), step.name, step.description);
  }
}

}  // namespace datagen
