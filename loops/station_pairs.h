#pragma once
// A key for the unordered pair of stations an edge joins, so edges that
// SameEdge treats as one share a key.

#include <cstdint>
#include <utility>

inline uint64_t StationPairKey(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}
