#pragma once
// The film-noise texture of the depth-of-field composite.

// A 1D texture of screenHeight / 4 texels, one float luminance value each in
// -1.0 .. 0.99 from the program's random sequence (so it is the same on every run),
// linear filtering, clamped at the edges. Returns the GL name (the caller owns it);
// leaves no 1D texture bound.
unsigned CreateNoiseTexture(int screenHeight);

// The value CreateNoiseTexture stores for one random number.
inline float NoiseValue(int random) { return static_cast<float>(random % 200 - 100) / 100.0f; }
