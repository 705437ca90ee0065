// The robot's pose files: the same bytes go to the rest-frame and the animation
// reader; neither may over-read, and what they accept must round-trip.
#include <cstddef>
#include <cstdint>

#include "assets/robot_pose_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  robot_pose_file::Joints joints;
  if (robot_pose_file::ParseRestFrame(data, size, joints, error)) {
    const std::string written = robot_pose_file::WriteRestFrame(joints);
    if (written.compare(0, written.size(), reinterpret_cast<const char*>(data), written.size()) != 0) {
      __builtin_trap();
    }
  }
  std::vector<robot_pose_file::PoseKey> keys;
  if (robot_pose_file::ParseAnimation(data, size, keys, error)) {
    const std::string written = robot_pose_file::WriteAnimation(keys);
    std::vector<robot_pose_file::PoseKey> again;
    if (!robot_pose_file::ParseAnimation(written.data(), written.size(), again, error)) __builtin_trap();
    if (robot_pose_file::WriteAnimation(again) != written) __builtin_trap();
  }
  return 0;
}
