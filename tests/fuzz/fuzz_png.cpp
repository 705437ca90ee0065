// The PNG decoder on arbitrary bytes; what it accepts must survive the writer.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "assets/image.h"
#include "fuzz/quiet_stderr.h"

namespace {

// Small pictures keep each run fast; the limit itself is part of what is tested.
constexpr int kMaxSide = 512;

const std::string& OutputPath() {
  static const std::string path = [] {
    char name[] = "/tmp/fuzz_png.XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) abort();
    close(fd);
    return std::string(name);
  }();
  return path;
}

void RemoveOutput() { std::remove(OutputPath().c_str()); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz_support::QuietStderr(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int registered = std::atexit(RemoveOutput);
  (void)registered;
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  Image image;
  const bool decoded = DecodePngStream(file, "input", image, kMaxSide);
  std::fclose(file);
  if (!decoded) return 0;
  if (image.width < 1 || image.width > kMaxSide || image.height < 1 || image.height > kMaxSide ||
      !(image.bitsPerPixel == 8 || image.bitsPerPixel == 24 || image.bitsPerPixel == 32)) {
    abort();
  }
  if (!EncodePng(OutputPath(), image)) abort();
  Image back;
  if (!DecodePng(OutputPath(), back) || back.width != image.width || back.height != image.height ||
      back.bitsPerPixel != image.bitsPerPixel ||
      std::memcmp(back.pixels.get(), image.pixels.get(), image.Bytes()) != 0) {
    abort();
  }
  return 0;
}
