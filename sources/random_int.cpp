#include "sources/random_int.h"

uint32_t RandomSeed = 0;

int32_t RandomInt(int32_t n) {
  RandomSeed = RandomSeed * 134775813u + 1u;
  const uint64_t product = static_cast<uint64_t>(RandomSeed) * static_cast<uint32_t>(n);
  return static_cast<int32_t>(static_cast<uint32_t>(product >> 32));
}
