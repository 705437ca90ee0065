#include "platform/clock.h"

#include <SDL.h>

namespace platform {

std::int64_t PerformanceCounter() { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }

std::uint64_t PerformanceFrequency() { return SDL_GetPerformanceFrequency(); }

}  // namespace platform
