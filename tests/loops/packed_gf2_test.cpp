// The bit-packed GF(2) elimination: the same independence as the sparse one
// on random rows of every width, columns given twice cancelling, and column
// words that give back every kept row's tag.
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

TEST(PackedGf2Basis, GivesColumnWordsThatAddUpToEveryKeptRowsTag) {
  std::mt19937 random(9);
  for (int32_t trial = 0; trial < 50; ++trial) {
    const int32_t columns = std::uniform_int_distribution<int32_t>(1, 200)(random);
    TPackedGf2Basis basis(columns);
    std::vector<std::vector<int32_t>> kept;
    std::vector<uint64_t> tags;
    // Rows ending at their own column, as a spanning forest's loops do, then
    // random ones: the tags of a full set come back from any of its sums.
    for (int32_t c = 0; c < columns; ++c) {
      std::vector<int32_t> row = {c};
      for (int32_t k = 0; k < 3; ++k) row.push_back(std::uniform_int_distribution<int32_t>(0, c)(random));
      const uint64_t tag = std::uniform_int_distribution<uint64_t>()(random);
      if (!basis.Insert(row, tag)) continue;
      kept.push_back(row);
      tags.push_back(tag);
    }
    const std::vector<uint64_t> words = basis.ColumnTags();
    ASSERT_EQ(words.size(), static_cast<size_t>(columns));
    const auto sum = [&words](const std::vector<int32_t>& row) {
      uint64_t total = 0;
      for (const int32_t c : row) total ^= words[static_cast<size_t>(c)];
      return total;
    };
    for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(sum(kept[i]), tags[i]) << "trial " << trial << " row " << i;
    if (kept.size() >= 2) {
      std::vector<int32_t> both = kept[0];
      both.insert(both.end(), kept.back().begin(), kept.back().end());
      EXPECT_EQ(sum(both), tags[0] ^ tags.back());
    }
  }
}

}  // namespace
