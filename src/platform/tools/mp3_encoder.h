#pragma once
// Encoding 16-bit PCM to an MP3 file: the soundtrack of the data set and the test
// fixtures of the music stream. The file carries the encoder's information frame, so a
// decoder knows the exact number of samples (no padding at either end).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Mp3Settings {
  int sampleRate = 44100;
  int channels = 2;         // 1 or 2
  int bitrateKbps = 128;    // constant bit rate
  int quality = 5;          // the encoder's 0 (best, slowest) .. 9
};

// Encodes interleaved samples (channels per frame) into path. False, with error set,
// when the settings are refused or the file cannot be written; a failed file is removed.
bool EncodeMp3(const std::string& path, const std::vector<std::int16_t>& interleaved,
               const Mp3Settings& settings, std::string& error);

}  // namespace platform
