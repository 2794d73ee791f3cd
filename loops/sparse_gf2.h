#pragma once
// Gaussian elimination over GF(2) on sparse rows: each row is the set of its
// one-columns, kept as sorted column numbers and added to others by merging.

#include <cstdint>
#include <vector>

class TSparseGf2Basis {
 public:
  // Columns are numbered 0 .. columns - 1.
  explicit TSparseGf2Basis(int32_t columns);

  // Reduces row (sorted, distinct column numbers) by the rows kept so far,
  // always at its highest column; keeps it and returns true when something
  // is left (the row is independent of the kept rows), false otherwise.
  bool Insert(std::vector<int32_t> row);
  int64_t Rank() const { return static_cast<int64_t>(rows_.size()); }

 private:
  std::vector<int32_t> pivotRow_;
  std::vector<std::vector<int32_t>> rows_;
  std::vector<int32_t> scratch_;
};
