#include "loops/sparse_gf2.h"

#include <algorithm>
#include <iterator>
#include <utility>

TSparseGf2Basis::TSparseGf2Basis(int32_t columns) : pivotRow_(static_cast<size_t>(columns), -1) {}

bool TSparseGf2Basis::Insert(std::vector<int32_t> row) {
  while (!row.empty()) {
    const int32_t pivot = pivotRow_[static_cast<size_t>(row.back())];
    if (pivot < 0) {
      pivotRow_[static_cast<size_t>(row.back())] = static_cast<int32_t>(rows_.size());
      rows_.push_back(std::move(row));
      return true;
    }
    const std::vector<int32_t>& kept = rows_[static_cast<size_t>(pivot)];
    scratch_.clear();
    std::set_symmetric_difference(row.begin(), row.end(), kept.begin(), kept.end(), std::back_inserter(scratch_));
    row.swap(scratch_);
  }
  return false;
}
