// The effect file reader on arbitrary bytes: it must never read past its input, and
// whatever it accepts must write and read back to the same description.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "render/fx/fx_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fx::EffectDesc effect;
  std::string error;
  if (!fx::ParseEffect(text, "fuzz.cfx", effect, error)) {
    if (error.rfind("fuzz.cfx:", 0) != 0) std::abort();  // every message names the file
    return 0;
  }
  std::string written;
  if (!fx::WriteEffect(effect, written, error)) std::abort();
  fx::EffectDesc again;
  if (!fx::ParseEffect(written, "again.cfx", again, error) || !(again == effect)) std::abort();
  for (const fx::TechniqueDesc& technique : effect.techniques) {
    for (const fx::PassDesc& pass : technique.passes) {
      (void)fx::StageSource(effect, technique, pass, fx::Stage::kVertex);
      (void)fx::StageSource(effect, technique, pass, fx::Stage::kFragment);
    }
  }
  return 0;
}
