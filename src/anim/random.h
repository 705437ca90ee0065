#pragma once
// The program's one pseudo-random generator. It is never seeded from the clock, so
// every run of every build draws the same sequence: the wall shards, the noise
// texture and the welding sparks all look the same from run to run.

// Next value of the sequence, 0..32767.
int Rand();

// Puts the generator back to its starting state (a fresh run; tests).
void ResetRand();
