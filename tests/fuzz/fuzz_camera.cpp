// The camera file: any bytes are rejected or accepted without over-reading, and an
// accepted file survives a write and a second read unchanged.
#include <cstddef>
#include <cstdint>

#include "assets/camera_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<camera_file::CameraRecord> cameras;
  std::string error;
  if (!camera_file::Parse(data, size, cameras, error)) return 0;
  const std::string written = camera_file::Write(cameras);
  std::vector<camera_file::CameraRecord> again;
  if (!camera_file::Parse(written.data(), written.size(), again, error)) __builtin_trap();
  if (camera_file::Write(again) != written) __builtin_trap();
  return 0;
}
