#include "platform/gl.h"

#include <SDL.h>

namespace glext {

#define DRIFT_GL_DEFINE(type, name) type name = nullptr;
DRIFT_GL_ENTRY_POINTS(DRIFT_GL_DEFINE)
#undef DRIFT_GL_DEFINE

}  // namespace glext

namespace platform {
namespace {

struct EntryPoint {
  const char* name;
  void (*assign)(void* address);
};

#define DRIFT_GL_ENTRY(type, name) \
  {#name, [](void* address) { glext::name = reinterpret_cast<type>(address); }},

const EntryPoint kEntryPoints[] = {DRIFT_GL_ENTRY_POINTS(DRIFT_GL_ENTRY)};
#undef DRIFT_GL_ENTRY

void* GlProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

}  // namespace

bool FetchGlEntryPoints(const GlProcLookup& lookup, std::string* missing) {
  for (const EntryPoint& entry : kEntryPoints) {
    void* address = lookup(entry.name);
    if (address == nullptr) {
      if (missing != nullptr) *missing = entry.name;
      return false;
    }
    entry.assign(address);
  }
  return true;
}

bool FetchGlEntryPoints(std::string* missing) { return FetchGlEntryPoints(GlProcAddress, missing); }

void ResetGlEntryPoints() {
  for (const EntryPoint& entry : kEntryPoints) entry.assign(nullptr);
}

}  // namespace platform
