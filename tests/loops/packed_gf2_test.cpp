// The bit-packed GF(2) elimination: the same independence as the sparse one
// on random rows of every width, and columns given twice cancelling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "loops/packed_gf2.h"
#include "loops/sparse_gf2.h"

namespace {

TEST(PackedGf2Basis, KeepsTheRowsTheSparseEliminationKeeps) {
  std::mt19937 random(5);
  int64_t kept = 0;
  int64_t refused = 0;
  for (int32_t trial = 0; trial < 200; ++trial) {
    const int32_t columns = std::uniform_int_distribution<int32_t>(1, 300)(random);
    TPackedGf2Basis packed(columns);
    TSparseGf2Basis sparse(columns);
    // Rows near a band, as loops are, and now and then anywhere.
    const int32_t rows = std::uniform_int_distribution<int32_t>(1, columns + 20)(random);
    for (int32_t i = 0; i < rows; ++i) {
      const int32_t width = trial % 3 == 0 ? columns : std::min(columns, 70);
      const int32_t start = std::uniform_int_distribution<int32_t>(0, columns - width)(random);
      std::vector<int32_t> row;
      const int32_t ones = std::uniform_int_distribution<int32_t>(1, 6)(random);
      for (int32_t k = 0; k < ones; ++k) row.push_back(start + std::uniform_int_distribution<int32_t>(0, width - 1)(random));
      std::sort(row.begin(), row.end());
      // The sparse elimination takes each column once; a pair cancels.
      std::vector<int32_t> once;
      for (size_t k = 0; k < row.size();) {
        size_t j = k;
        while (j < row.size() && row[j] == row[k]) ++j;
        if ((j - k) % 2 == 1) once.push_back(row[k]);
        k = j;
      }
      std::shuffle(row.begin(), row.end(), random);
      const bool independent = sparse.Insert(once);
      ASSERT_EQ(packed.Insert(row), independent) << "trial " << trial << " row " << i;
      ++(independent ? kept : refused);
    }
    EXPECT_EQ(packed.Rank(), sparse.Rank());
  }
  EXPECT_GT(kept, 5000);
  EXPECT_GT(refused, 1000);
}

TEST(PackedGf2Basis, RefusesEmptyAndCancellingRows) {
  TPackedGf2Basis basis(130);
  EXPECT_FALSE(basis.Insert({}));
  const std::vector<int32_t> twice = {7, 129, 7, 129};
  EXPECT_FALSE(basis.Insert(twice));
  const std::vector<int32_t> wide = {0, 64, 129};
  EXPECT_TRUE(basis.Insert(wide));
  EXPECT_FALSE(basis.Insert(wide));
  const std::vector<int32_t> part = {0, 129};
  EXPECT_TRUE(basis.Insert(part));
  const std::vector<int32_t> rest = {64};
  EXPECT_FALSE(basis.Insert(rest));
  EXPECT_EQ(basis.Rank(), 2);
}

}  // namespace
