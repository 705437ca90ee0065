#pragma once
// The synthesiser's own pseudo-random numbers: noise sources and small variations of
// velocity and timing. Each note seeds its own generator from the score, so a note
// sounds the same however the score is cut into excerpts, and the demo's generator (whose
// sequence is part of what the demo shows) is never touched.
#include <cstdint>

namespace datagen {
namespace synth {

class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(Mix(seed + 0x9E3779B97F4A7C15ull)) {
    if (state_ == 0) state_ = 1;
  }

  // Uniform in [0, 1).
  float Uniform() { return static_cast<float>(NextBits() >> 40) * (1.0f / 16777216.0f); }
  // Uniform in [-1, 1).
  float Bipolar() { return Uniform() * 2.0f - 1.0f; }

  // A seed for a generator of its own, from two numbers (for example an instrument and
  // the index of a note).
  static std::uint64_t Seed(std::uint64_t a, std::uint64_t b) { return Mix(a * 0x100000001B3ull ^ Mix(b)); }

 private:
  // xorshift64*: small, fast and good enough for audio noise.
  std::uint64_t NextBits() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  // splitmix64 finaliser: spreads nearby seeds apart.
  static std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  std::uint64_t state_;
};

}  // namespace synth
}  // namespace datagen
