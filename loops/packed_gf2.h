#pragma once
// Gaussian elimination over GF(2) on bit-packed rows, for loop sets whose
// rows stay within a narrow band of columns: each kept row stores only the
// words from its lowest to its highest one-column.

#include <cstdint>
#include <span>
#include <vector>

class TPackedGf2Basis {
 public:
  // Columns are numbered 0 .. columns - 1.
  explicit TPackedGf2Basis(int32_t columns);

  // Reduces the row with a one in each given column (a column given twice
  // cancels) by the rows kept so far, always at its highest column; keeps it
  // and returns true when something is left (the row is independent of the
  // kept rows), false otherwise. The row carries tag, 64 bits of its own.
  bool Insert(std::span<const int32_t> columns, uint64_t tag = 0);
  int64_t Rank() const { return static_cast<int64_t>(rows_.size()); }

  // A word for each column such that, for every row kept, the words of its
  // columns add up to its tag; 0 for columns no kept row ends at. With as
  // many rows kept as columns, bit j of a sum of rows is set just when the
  // rows tagged with bit j take part in it an odd number of times.
  std::vector<uint64_t> ColumnTags() const;

 private:
  struct TRow {
    size_t Offset;  // first word in words_
    int32_t Low;    // word numbers Low .. High of the row
    int32_t High;
    uint64_t Tag;  // the tags of the rows it is the sum of
  };
  std::vector<uint64_t> scratch_;  // the row being reduced; all zero between calls
  std::vector<int32_t> pivotRow_;  // per column, the kept row whose highest one it is, or -1
  std::vector<TRow> rows_;
  std::vector<uint64_t> words_;
};
