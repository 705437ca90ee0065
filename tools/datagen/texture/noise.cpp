#include "datagen/texture/noise.h"

#include <cmath>

namespace datagen {

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
  // A small avalanche mix (from the MurmurHash3 finaliser): neighbouring inputs give
  // unrelated outputs.
  std::uint32_t h = seed * 0x9E3779B9u ^ a * 0x85EBCA6Bu ^ (b + 0x632BE5ABu) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return h;
}

float Hash01(int x, int y, std::uint32_t seed) {
  return static_cast<float>(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed) >> 8) /
         16777216.0f;
}

namespace {

int Wrap(int i, int period) {
  if (period <= 0) return i;
  const int m = i % period;
  return m < 0 ? m + period : m;
}

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

float ValueNoise(float x, float y, int period, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float tx = Fade(x - fx), ty = Fade(y - fy);
  const float a = Hash01(Wrap(ix, period), Wrap(iy, period), seed);
  const float b = Hash01(Wrap(ix + 1, period), Wrap(iy, period), seed);
  const float c = Hash01(Wrap(ix, period), Wrap(iy + 1, period), seed);
  const float d = Hash01(Wrap(ix + 1, period), Wrap(iy + 1, period), seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float u, float v, int cells, int octaves, std::uint32_t seed, float gain) {
  float sum = 0, amplitude = 1, total = 0;
  int frequency = cells;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(u * static_cast<float>(frequency), v * static_cast<float>(frequency), frequency,
                                  seed + static_cast<std::uint32_t>(i) * 101u);
    total += amplitude;
    amplitude *= gain;
    frequency *= 2;
  }
  return sum / total;
}

void Cellular(float u, float v, int cells, std::uint32_t seed, float& nearest, float& second) {
  const float x = u * static_cast<float>(cells), y = v * static_cast<float>(cells);
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  nearest = second = 1e9f;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int cx = ix + dx, cy = iy + dy;
      const int wx = Wrap(cx, cells), wy = Wrap(cy, cells);
      const float px = static_cast<float>(cx) + Hash01(wx, wy, seed);
      const float py = static_cast<float>(cy) + Hash01(wx, wy, seed ^ 0x5bd1e995u);
      const float d = std::hypot(px - x, py - y);
      if (d < nearest) {
        second = nearest;
        nearest = d;
      } else if (d < second) {
        second = d;
      }
    }
  }
}

}  // namespace datagen
