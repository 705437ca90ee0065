#pragma once
// The high-resolution clock the frame loop measures with.
#include <cstdint>

namespace platform {

std::int64_t PerformanceCounter();
std::uint64_t PerformanceFrequency();  // ticks per second

}  // namespace platform
