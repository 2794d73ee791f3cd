#pragma once
// The array quicksort over positions lo..hi, shared by every sort of the
// system because the order it leaves equal elements in is part of each
// sorted result: a Hoare partition around the middle position, the pivot
// following its element when that is exchanged, the left part sorted by
// recursion and the right part by the loop.

#include <cstdint>

// compare(a, b) < 0 when the element at position a belongs before the one at
// position b; swap(a, b) exchanges the two elements.
template <class Compare, class Swap>
void IndexQuickSort(int32_t lo, int32_t hi, Compare&& compare, Swap&& swap) {
  int32_t i;
  do {
    i = lo;
    int32_t j = hi;
    auto pivot = static_cast<int32_t>((static_cast<uint32_t>(lo) + static_cast<uint32_t>(hi)) >> 1);
    do {
      while (compare(i, pivot) < 0) ++i;
      while (compare(j, pivot) > 0) --j;
      if (i <= j) {
        swap(i, j);
        if (pivot == i)
          pivot = j;
        else if (pivot == j)
          pivot = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (lo < j) IndexQuickSort(lo, j, compare, swap);
    lo = i;
  } while (i < hi);
}
