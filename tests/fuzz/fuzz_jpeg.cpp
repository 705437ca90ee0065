// The JPEG decoder on arbitrary bytes.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>

#include "assets/image.h"
#include "fuzz/quiet_stderr.h"

namespace {

// Small pictures keep each run fast; the limit itself is part of what is tested.
constexpr int kMaxSide = 512;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz_support::QuietStderr(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  Image image;
  const bool decoded = DecodeJpegStream(file, "input", image, kMaxSide);
  std::fclose(file);
  if (!decoded) return 0;
  if (image.width < 1 || image.width > kMaxSide || image.height < 1 || image.height > kMaxSide ||
      image.bitsPerPixel != 24 || image.pixels == nullptr) {
    abort();
  }
  return 0;
}
