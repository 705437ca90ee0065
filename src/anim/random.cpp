#include "anim/random.h"

#include <cstdint>

namespace {

// Classic linear congruential rule; unsigned arithmetic wraps at 32 bits by definition.
std::uint32_t g_state = 1;

}  // namespace

int Rand() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

void ResetRand() { g_state = 1; }

std::uint32_t RandState() { return g_state; }

void SetRandState(std::uint32_t state) { g_state = state; }
