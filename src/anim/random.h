#pragma once
// The program's one pseudo-random generator. It is never seeded from the clock, so
// every run of every build draws the same sequence: the wall shards, the noise
// texture and the welding sparks all look the same from run to run.
#include <cstdint>

// Next value of the sequence, 0..32767.
int Rand();

// Puts the generator back to its starting state (a fresh run; tests).
void ResetRand();

// The generator's whole state, for a player that rewinds the timeline to a moment it
// saved: drawing on from a restored state gives the same values as back then.
std::uint32_t RandState();
void SetRandState(std::uint32_t state);
