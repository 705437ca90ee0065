// A line of drift-capture's hash file: any text is refused or accepted without
// over-reading, and an accepted line written again reads back as the same line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "capture/frame_hashes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  HashLine line;
  if (!ParseHashLine(text, line)) return 0;
  const std::string written = FormatHashLine(line);
  HashLine again;
  if (!ParseHashLine(written, again)) __builtin_trap();
  if (again.frame != line.frame || again.hash != line.hash || FormatHashLine(again) != written) __builtin_trap();
  return 0;
}
