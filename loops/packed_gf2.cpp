#include "loops/packed_gf2.h"

#include <algorithm>
#include <bit>

TPackedGf2Basis::TPackedGf2Basis(int32_t columns)
    : scratch_((static_cast<size_t>(columns) + 63) / 64, 0), pivotRow_(static_cast<size_t>(columns), -1) {}

bool TPackedGf2Basis::Insert(std::span<const int32_t> columns, uint64_t tag) {
  if (columns.empty()) return false;
  int32_t low = columns[0] / 64;
  int32_t high = low;
  for (const int32_t column : columns) {
    const int32_t word = column / 64;
    scratch_[static_cast<size_t>(word)] ^= uint64_t{1} << (column % 64);
    low = std::min(low, word);
    high = std::max(high, word);
  }
  // Each kept row ends at its pivot, so adding it clears the top one and
  // leaves only lower words changed: the scan for the top one only descends.
  while (high >= low) {
    const uint64_t top = scratch_[static_cast<size_t>(high)];
    if (top == 0) {
      --high;
      continue;
    }
    const int32_t column = high * 64 + (63 - std::countl_zero(top));
    const int32_t pivot = pivotRow_[static_cast<size_t>(column)];
    if (pivot < 0) {
      while (scratch_[static_cast<size_t>(low)] == 0) ++low;
      pivotRow_[static_cast<size_t>(column)] = static_cast<int32_t>(rows_.size());
      rows_.push_back({words_.size(), low, high, tag});
      for (int32_t w = low; w <= high; ++w) {
        words_.push_back(scratch_[static_cast<size_t>(w)]);
        scratch_[static_cast<size_t>(w)] = 0;
      }
      return true;
    }
    const TRow& row = rows_[static_cast<size_t>(pivot)];
    const uint64_t* kept = words_.data() + row.Offset;
    for (int32_t w = row.Low; w <= row.High; ++w) scratch_[static_cast<size_t>(w)] ^= kept[w - row.Low];
    low = std::min(low, row.Low);
    tag ^= row.Tag;
  }
  return false;
}

std::vector<uint64_t> TPackedGf2Basis::ColumnTags() const {
  std::vector<uint64_t> words(pivotRow_.size(), 0);
  // A kept row holds only columns below its pivot besides the pivot itself,
  // so taking pivots from the lowest up, every other word it needs is known.
  for (size_t pivot = 0; pivot < pivotRow_.size(); ++pivot) {
    if (pivotRow_[pivot] < 0) continue;
    const TRow& row = rows_[static_cast<size_t>(pivotRow_[pivot])];
    const uint64_t* bits = words_.data() + row.Offset;
    uint64_t sum = row.Tag;
    for (int32_t w = row.Low; w <= row.High; ++w) {
      uint64_t word = bits[w - row.Low];
      if (w == row.High) word &= ~(uint64_t{1} << (pivot % 64));
      while (word != 0) {
        sum ^= words[static_cast<size_t>(w) * 64 + static_cast<size_t>(std::countr_zero(word))];
        word &= word - 1;
      }
    }
    words[pivot] = sum;
  }
  return words;
}
