#pragma once
// The welding sparks of one arm: a fixed pool of ballistic particles, spawned at the
// torch tip while the arm's spark signal is on and drawn as short glowing streaks.
// Spawning draws five values of the program's random generator per particle, so the
// sparks look the same on every run.
#include <array>

#include "anim/math.h"

class SparkEmitter {
 public:
  static constexpr int kPoolSize = 1000;
  static constexpr float kSpawnRate = 400.0f;     // particles per second while emitting
  static constexpr float kSpeedScale = 40.0f;     // world units per velocity unit and second

  struct Particle {
    sm::Vec3 position;
    sm::Vec3 velocity;
    float life = 0.0f;  // seconds left
    bool alive = false;
  };

  // Moves the living particles by dt seconds and kills those whose life had run out
  // before the step; while emitting, spawns 400 per second into the free slots in pool
  // order (a slot freed in this pass included). Allocates nothing.
  void Update(float dt);

  // Emission on or off; switching off clears the spawn credit, and the living
  // particles finish their lives.
  void SetEmitting(bool on);

  bool emitting = true;
  sm::Vec3 position;         // where new particles start (the torch tip)
  float spawnCredit = 0.0f;  // particles owed to the pool
  std::array<Particle, kPoolSize> particles{};

 private:
  void Spawn(Particle& particle);
};

// The alpha (0..150) of a streak's bright middle for a particle with this much life
// left: fading over its last half second, 0 once it has run out.
int SparkMiddleAlpha(float life);

// Draws every living particle as a three-point additive line strip from its position
// to position + velocity × 10, transparent at both ends, in the warm spark colour. Loads
// projection and view into GL's matrices (left loaded); restores the enables, depth and
// current colour state. Needs a current GL context.
void DrawSparks(const SparkEmitter& emitter, const sm::Mat4& projection, const sm::Mat4& view);
