#pragma once
// Every step of the data set, one per model or family of models, picture set or
// file. Each writes its files through the context and returns false (with the reason
// in the output tree) when it cannot. pipeline/step_list.cpp names them and puts them
// in order; pipeline/generator.cpp runs them.
#include <string>

namespace datagen {

class Context;

// The world that stands still.
bool BuildFactoryHall(Context& context);
bool BuildFactoryPassage(Context& context);
bool BuildGlassWall(Context& context);       // glass_wall_broken, glass_wall_greetz
bool BuildScreens(Context& context);
bool BuildCredits(Context& context);
bool BuildBoards(Context& context);

// What moves.
bool BuildDoors(Context& context);           // model and animation
bool BuildRobotParts(Context& context);      // the twelve part models
bool BuildRobotLying(Context& context);
bool BuildRobotPoses(Context& context);      // Robot/ files
bool BuildMechArms(Context& context);        // eight models, two end animations
bool BuildRobotPath(Context& context);       // robot_path, robot_breaking_wall_path
bool BuildCameras(Context& context);         // cameras animation and camera file

// Materials, pictures, sound and copied content.
bool CopyContent(Context& context);          // the hand-written effects and property script
bool BuildMaterials(Context& context);
bool BuildMaterialMaps(Context& context);
bool BuildEnvironmentMap(Context& context);
bool BuildGreetings(Context& context);
bool BuildMonitorLoop(Context& context);
bool BuildCreditCards(Context& context);
bool BuildBoardCards(Context& context);
bool BuildMasks(Context& context);
bool BuildLoaderPicture(Context& context);
bool BuildSoundtrack(Context& context);
// The dialog's picture, outside the archive, at path.
bool WriteSetupPicture(Context& context, const std::string& path);

}  // namespace datagen
