// Decodes arbitrary bytes as the soundtrack file.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/music_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Created once and removed at exit; never destroyed itself, so the exit handler can use it.
  static const std::string* folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_mp3.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    return new std::string(pattern);
  }();
  static const bool cleanup = atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(*folder, ignored);
  }) == 0;
  (void)cleanup;
  const std::string path = *folder + "/music.mp3";
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  std::vector<std::int16_t> samples;
  int rate = 0;
  if (platform::DecodeMp3File(path, samples, rate) && (rate <= 0 || samples.size() % 2 != 0)) abort();
  return 0;
}
