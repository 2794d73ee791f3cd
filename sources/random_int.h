#pragma once
// The one pseudo-random generator of the program: a 32-bit linear
// congruential generator whose state is 0 at start and is never seeded from
// the clock, so the same commands build the same networks in every run.

#include <cstdint>

// The generator's state; every draw advances it.
extern uint32_t RandomSeed;

// Advances RandomSeed and returns the upper 32 bits of RandomSeed x n (n taken
// as unsigned): 0 .. n-1 for n >= 1, and 0 for n = 0.
int32_t RandomInt(int32_t n);
