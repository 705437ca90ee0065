#include "datagen/music/synth/envelope.h"

#include <algorithm>

#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace synth {

void ShapeEdges(std::vector<float>& sound, double attack, double fade) {
  const std::size_t rise = std::min(sound.size(), static_cast<std::size_t>(attack * kSampleRate) + 1);
  for (std::size_t i = 0; i < rise; ++i) sound[i] *= static_cast<float>(i) / static_cast<float>(rise);
  const std::size_t fall = std::min(sound.size(), static_cast<std::size_t>(fade * kSampleRate) + 1);
  for (std::size_t i = 0; i < fall; ++i)
    sound[sound.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fall);
}

}  // namespace synth
}  // namespace datagen
