#pragma once
// The robot's pose files: the rest frame ("Robot/frame") and the four pose animations
// ("Robot/releasing_anim", "Robot/run_anim", "Robot/breaking_wall_anim",
// "Robot/dance_anim"). They hold the 20 joint positions of the robot as read; the
// robot adjusts them (joint 3 to the origin, the legs moved) when it builds its frames.
//
// Layouts (little-endian floats, no header):
//   rest frame: 20 joints x (x, y, z); anything after the first 240 bytes is ignored.
//   animation:  i32 key count N (N <= 0: no keys), then N records of a float time and
//               20 joints x (x, y, z) whose z is stored negated.
// docs/formats.md has the full description.
#include <cstddef>
#include <string>
#include <vector>

#include "anim/math.h"
#include "anim/robot_frame.h"
#include "base/byte_io.h"

namespace robot_pose_file {

constexpr int kJointCount = 20;
constexpr std::size_t kJointsBytes = kJointCount * 3 * 4;
constexpr std::size_t kKeyBytes = 4 + kJointsBytes;

// Joint positions (w = 1) indexed by joint number, as the robot's pose tracks hold them.
using Joints = Robot::Frame;
static_assert(sizeof(Joints::joints) / sizeof(Joints::joints[0]) == kJointCount, "a pose has 20 joints");

struct PoseKey {
  float time = 0;  // seconds of the animation
  Joints frame;    // z as the program uses it (the file's value negated)
};

// A rest frame shorter than 240 bytes fails.
bool ParseRestFrame(const void* data, std::size_t size, Joints& joints, std::string& error);
bool ReadRestFrame(const std::string& path, Joints& joints, std::string& error);
void WriteRestFrame(const Joints& joints, bytes::ByteWriter& out);
std::string WriteRestFrame(const Joints& joints);
bool WriteRestFrameFile(const std::string& path, const Joints& joints, std::string& error);

// Keys in file order (the interpolator they go into sorts them and keeps the later of
// two keys with one time). Fewer records than the count announces fails.
bool ParseAnimation(const void* data, std::size_t size, std::vector<PoseKey>& keys, std::string& error);
bool ReadAnimation(const std::string& path, std::vector<PoseKey>& keys, std::string& error);
void WriteAnimation(const std::vector<PoseKey>& keys, bytes::ByteWriter& out);
std::string WriteAnimation(const std::vector<PoseKey>& keys);
bool WriteAnimationFile(const std::string& path, const std::vector<PoseKey>& keys, std::string& error);

}  // namespace robot_pose_file
