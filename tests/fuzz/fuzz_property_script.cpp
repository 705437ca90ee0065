// Feeds arbitrary bytes to the property script reader. Whatever it accepts must be
// usable (tracks evaluate, cameras read their properties) and must survive a round
// trip: written out and read again, it writes the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "anim/property_script.h"

namespace {

struct Loaded {
  std::unique_ptr<SignalPair> signal;
  PropertyMap properties;
  std::vector<std::unique_ptr<EditableCamera>> cameras;

  bool Load(const std::string& text) {
    std::istringstream in(text);
    return LoadPropertyScript(in, "fuzz.scr", {signal, properties, cameras});
  }
};

std::string Written(const PropertyMap& map) {
  std::ostringstream out;
  if (!WritePropertyScript(out, map)) std::abort();  // every name read is writable
  return out.str();
}

void Exercise(const Loaded& loaded) {
  const float times[] = {-1.0f, 0.0f, 0.5f, 31.0f, 1e6f};
  for (const auto& entry : loaded.properties) {
    if (const auto* anim = dynamic_cast<const AnimProperty*>(entry.second.get())) {
      for (float t : times) {
        if (const auto* keys = anim->Keys<int>()) (void)keys->ValueAt(t);
        if (const auto* keys = anim->Keys<float>()) (void)keys->ValueAt(t);
        if (const auto* keys = anim->Keys<sm::Vec3>()) (void)keys->ValueAt(t);
      }
    }
  }
  // Reading camera properties needs no GL (the view matrix does).
  for (const auto& camera : loaded.cameras) {
    for (float t : times) {
      (void)camera->Position(t);
      (void)camera->Rotation(t);
      (void)camera->FirstFloat(t);
      (void)camera->SecondFloat(t);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Loaded first;
  first.Load(std::string(reinterpret_cast<const char*>(data), size));
  if (first.signal == nullptr) std::abort();
  Exercise(first);

  const std::string text = Written(first.properties);
  Loaded second;
  if (!second.Load(text)) std::abort();
  if (Written(second.properties) != text) std::abort();
  if (second.cameras.size() != first.cameras.size()) std::abort();
  return 0;
}
