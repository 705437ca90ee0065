// Node animation files: any bytes are rejected or accepted without over-reading, and
// an accepted file survives a write and a second read unchanged.
#include <cstddef>
#include <cstdint>

#include "anim/animation_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  animation_file::AnimationData animation;
  std::string error;
  if (!animation_file::Parse(data, size, animation, error)) return 0;
  const std::string written = animation_file::Write(animation);
  animation_file::AnimationData again;
  if (!animation_file::Parse(written.data(), written.size(), again, error)) __builtin_trap();
  if (animation_file::Write(again) != written) __builtin_trap();
  return 0;
}
