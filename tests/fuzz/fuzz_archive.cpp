// Unpacks arbitrary bytes as the data archive into a scratch folder. Besides memory
// errors it stops on anything written outside the data folder, and on a file left
// larger than the limits allow. The limits are small, so sizes the input claims reach
// them.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive.h"

namespace {

namespace fs = std::filesystem;

// Created once and removed at exit; never destroyed itself, so the exit handler can use it.
const std::string& Scratch() {
  static const std::string* folder = [] {
    std::string pattern = (fs::temp_directory_path() / "fuzz_archive.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    atexit([] {
      std::error_code ignored;
      fs::remove_all(Scratch(), ignored);
    });
    return new std::string(pattern);
  }();
  return *folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string archive = Scratch() + "/demodat";
  const std::string dataFolder = Scratch() + "/data/";
  if (std::FILE* file = std::fopen(archive.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  std::vector<std::string> messages;
  UnpackLimits limits;
  limits.maxEntryBytes = 64 << 10;
  limits.maxTotalBytes = 256 << 10;
  UnpackArchive(archive, dataFolder, messages, limits);
  std::uintmax_t total = 0;
  std::error_code code;
  for (const auto& entry : fs::recursive_directory_iterator(dataFolder, code)) {
    if (!entry.is_regular_file()) continue;
    const std::uintmax_t size = entry.file_size();
    total += size;
    if (size > limits.maxEntryBytes || total > limits.maxTotalBytes) {
      std::fprintf(stderr, "unpacked beyond the limits: %s\n", entry.path().c_str());
      abort();
    }
  }
  for (const auto& entry : fs::directory_iterator(Scratch())) {
    const std::string name = entry.path().filename().string();
    if (name != "demodat" && name != "data") {
      std::fprintf(stderr, "written outside the data folder: %s\n", entry.path().c_str());
      abort();
    }
  }
  std::error_code ignored;
  fs::remove_all(dataFolder, ignored);
  return 0;
}
