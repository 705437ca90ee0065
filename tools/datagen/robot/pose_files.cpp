#include "datagen/robot/pose_files.h"

#include <filesystem>
#include <system_error>

#include "base/byte_io.h"
#include "assets/robot_pose_file.h"
#include "datagen/robot/motions.h"
#include "scenes/robot.h"

namespace datagen::robot {
namespace {

std::string AnimationBytes(const std::vector<TimedJoints>& motion) {
  std::vector<robot_pose_file::PoseKey> keys;
  keys.reserve(motion.size());
  for (const TimedJoints& key : motion) keys.push_back({key.time, ToFrame(key.joints)});
  return robot_pose_file::WriteAnimation(keys);
}

std::vector<TimedJoints> MotionAt(int index) {
  switch (index) {
    case Robot::kReleasing: return ReleasingMotion();
    case Robot::kRun: return RunMotion();
    case Robot::kBreakingWall: return BreakingWallMotion();
    default: return DanceMotion();
  }
}

}  // namespace

std::vector<PoseFile> PoseFiles() {
  std::vector<PoseFile> files;
  files.push_back({Robot::kRestFrameFile, robot_pose_file::WriteRestFrame(ToFrame(RestJoints()))});
  for (const Robot::AnimationFile& file : Robot::kAnimationFiles) {
    files.push_back({file.file, AnimationBytes(MotionAt(file.index))});
  }
  return files;
}

bool WritePoseFiles(const std::string& folder, std::string& error) {
  std::error_code failure;
  std::filesystem::create_directories(std::filesystem::path(folder) / "Robot", failure);
  if (failure) {
    error = "can't create " + folder + "/Robot: " + failure.message();
    return false;
  }
  for (const PoseFile& file : PoseFiles()) {
    if (!bytes::WriteWholeFile(folder + "/" + file.path, file.bytes, error)) return false;
  }
  return true;
}

}  // namespace datagen::robot
