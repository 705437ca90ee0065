#include "datagen/music/soundtrack.h"

#include <cstdint>
#include <vector>

#include "platform/mp3_encoder.h"

namespace datagen {

bool WriteSoundtrack(const std::string& path, std::string& error) {
  // Silence of the demo's length until the music is composed.
  const int rate = 44100;
  std::vector<std::int16_t> samples(static_cast<std::size_t>(rate) * 226 * 2, 0);
  return platform::EncodeMp3(path, samples, platform::Mp3Settings(), error);
}

}  // namespace datagen
