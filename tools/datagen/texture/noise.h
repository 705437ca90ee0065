#pragma once
// Deterministic noise for procedural textures: pure functions of integer lattice
// coordinates and a seed (no generator state), so every texture is the same on every
// run whatever order it is made in. The periodic forms tile: a texture of period
// cells repeats seamlessly.
#include <cstdint>

namespace datagen {

// 0..1 from a lattice point and a seed.
float Hash01(int x, int y, std::uint32_t seed);
std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

// Smooth value noise in 0..1 at (x, y) in lattice units, repeating every period
// lattice cells in x and y (period <= 0: no repetition).
float ValueNoise(float x, float y, int period, std::uint32_t seed);

// Fractal sum of octaves of value noise, 0..1 (roughly centred at 0.5). The first
// octave has frequency cells across one period; each next doubles it.
float Fbm(float u, float v, int cells, int octaves, std::uint32_t seed, float gain = 0.5f);

// Distance to the nearest feature point of a jittered grid of cells × cells over the
// unit square (repeating), in cell units; second the distance to the next nearest.
// Their difference outlines the cells (stone, cracks, scale patterns).
void Cellular(float u, float v, int cells, std::uint32_t seed, float& nearest, float& second);

}  // namespace datagen
