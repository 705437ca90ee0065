// Model geometry files: the reader must reject or accept any bytes without reading
// past them, and what it accepts must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>

#include "assets/model_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  model_file::ModelData model;
  std::string error;
  if (!model_file::Parse(data, size, model, error)) return 0;
  const std::string written = model_file::Write(model);
  model_file::ModelData again;
  if (!model_file::Parse(written.data(), written.size(), again, error)) __builtin_trap();
  if (model_file::Write(again) != written) __builtin_trap();
  return 0;
}
