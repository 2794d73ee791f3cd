#include "core/huge_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/errors.h"
#include "core/huge_string.h"

namespace {

using ::testing::ElementsAre;

std::vector<int32_t> Items(const THugeInteger& a) { return {a.begin(), a.end()}; }

TEST(THugeArray, RefusesZeroByteBlocks) {
  EXPECT_THROW(THugeArray(0, 4), EEmptyArrayAllocation);
  EXPECT_THROW(THugeArray(5, 0), EEmptyArrayAllocation);
  THugeInteger a(5);
  EXPECT_THROW(a.SetCapacity(0), EEmptyArrayAllocation);
  try {
    THugeArray(0, 4);
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Empty Array Allocation");
  }
}

TEST(THugeArray, GrowsByFourThenSixteenThenAQuarter) {
  THugeInteger a(5);
  std::vector<int32_t> capacities;
  for (int32_t i = 0; i < 120; ++i) {
    const int32_t before = a.Capacity();
    a.Add(i);
    if (a.Capacity() != before) capacities.push_back(a.Capacity());
  }
  EXPECT_THAT(capacities, ElementsAre(9, 25, 41, 57, 73, 91, 113, 141));
  EXPECT_EQ(a.GrowBy(), 28);
  EXPECT_EQ(a.Count(), 120);
  EXPECT_EQ(a.Get(119), 119);
  EXPECT_EQ(a.BlockSize(), 141 * 4);
}

TEST(THugeArray, DeleteIgnoresOutOfRangeAndShiftsTheRest) {
  THugeInteger a(5);
  for (int32_t v : {10, 11, 12, 13}) a.Add(v);
  a.Delete(-1);
  a.Delete(4);
  EXPECT_THAT(Items(a), ElementsAre(10, 11, 12, 13));
  a.Delete(3);
  EXPECT_THAT(Items(a), ElementsAre(10, 11, 12));
  a.Delete(0);
  EXPECT_THAT(Items(a), ElementsAre(11, 12));
  EXPECT_EQ(a.Capacity(), 5);
}

TEST(THugeArray, ClearReturnsToTheInitialCapacity) {
  THugeInteger a(5);
  for (int32_t i = 0; i < 1000; ++i) a.Add(i);
  a.Clear();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 5);
  a.Add(7);
  EXPECT_EQ(a.Get(0), 7);
}

TEST(THugeArray, LargeBlocksGrowInTheSameStepsAndKeepEveryElement) {
  // Growth past several MiB keeps the same steps and every element, and
  // shrinking and clearing still work from there.
  THugeInteger a(5);
  int32_t expected = 5;
  for (int32_t i = 0; i < 3'000'000; ++i) {
    if (a.Count() == expected) {
      const int32_t step = expected > 64 ? expected >> 2 : expected >= 9 ? 16 : 4;
      expected += step;
    }
    a.Add(i * 7);
    ASSERT_EQ(a.Capacity(), expected);
  }
  EXPECT_GT(a.BlockSize(), 8 << 20);
  for (int32_t i = 0; i < a.Count(); i += 997) ASSERT_EQ(a.Get(i), i * 7);
  EXPECT_EQ(a.Get(2'999'999), 2'999'999 * 7);
  a.SetCapacity(1'500'000);
  EXPECT_EQ(a.Get(1'499'999), 1'499'999 * 7);
  a.Clear();
  EXPECT_EQ(a.Capacity(), 5);
  EXPECT_EQ(a.BlockSize(), 20);
}

TEST(THugeArray, SortOfAnEmptyArrayNeverCompares) {
  THugeInteger a(5);
  int calls = 0;
  a.Sort([&calls](const void*, const void*) { return ++calls; });
  EXPECT_EQ(calls, 0);
}

int CompareInts(const void* a, const void* b) {
  int32_t x, y;
  std::memcpy(&x, a, 4);
  std::memcpy(&y, b, 4);
  return x - y;
}

TEST(THugeArray, QuickSortSortsAndFollowsThePivot) {
  THugeInteger a(5);
  for (int32_t v : {5, 3, 9, 1, 7, 3, 8, 2, 6, 4, 0}) a.Add(v);
  a.Sort(CompareInts);
  EXPECT_THAT(Items(a), ElementsAre(0, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9));
}

// Equal keys are ordered by the partitioning, not kept stable: the loop
// ordering depends on this exact order.
TEST(THugeArray, QuickSortOrderOfEqualKeysIsThePartitionOrder) {
  THugeInteger a(5);
  // key = value / 10, payload = value % 10
  for (int32_t v : {10, 11, 12, 13, 14}) a.Add(v);
  a.Sort([](const void* x, const void* y) {
    int32_t p, q;
    std::memcpy(&p, x, 4);
    std::memcpy(&q, y, 4);
    return p / 10 - q / 10;
  });
  // All keys equal: every pass swaps from both ends inwards, then the two
  // halves are partitioned again.
  EXPECT_THAT(Items(a), ElementsAre(13, 14, 12, 10, 11));
}

TEST(THugeString, KeepsTagsWithTheirStringsWhenSorted) {
  THugeString s(5, 12);
  s.Add("C", 3);
  s.Add("A", 1);
  s.Add("B", 2);
  s.Sort([](const void* x, const void* y) {
    return static_cast<int>(static_cast<const unsigned char*>(x)[1]) - static_cast<const unsigned char*>(y)[1];
  });
  EXPECT_EQ(s.Get(0), "A");
  EXPECT_EQ(s.Get(1), "B");
  EXPECT_EQ(s.Get(2), "C");
  EXPECT_EQ(s.TagOf(0), 1);
  EXPECT_EQ(s.TagOf(1), 2);
  EXPECT_EQ(s.TagOf(2), 3);
}

TEST(THugeString, MatchesByLengthAndCase) {
  THugeString s(5, 12);
  s.Add("AB");
  s.Add("abc");
  EXPECT_FALSE(s.Matches("ab", 0));
  EXPECT_TRUE(s.Matches("AB", 0));
  EXPECT_FALSE(s.Matches("ab", 1));
  s.CaseSensitive = false;
  EXPECT_TRUE(s.Matches("ab", 0));
  EXPECT_FALSE(s.Matches("ab", 1));
  EXPECT_FALSE(s.Matches("A[", 0)) << "only letters fold";
}

TEST(THugeString, RefusesStringsWiderThanItsWidthAndChangesNothing) {
  THugeString s(5, 12);
  s.Add("ABCDEFGHIJKL");
  EXPECT_THROW(s.Add("ABCDEFGHIJKLM"), ENameTooLong);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_EQ(s.Tags.Count(), 1);
  EXPECT_EQ(s.Get(0), "ABCDEFGHIJKL");
}

}  // namespace
