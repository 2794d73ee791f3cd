// Arrays that start in a block their owner provides: they must behave exactly
// like arrays with their own block, and must never free or hand on that block.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "core/edge_array.h"
#include "core/errors.h"
#include "core/huge_array.h"

namespace {

using ::testing::ElementsAre;

std::vector<int32_t> Items(const THugeInteger& a) { return {a.begin(), a.end()}; }

// Room for five int32_t elements, filled with a marker so a stray write shows.
struct TBlock {
  alignas(int32_t) std::array<std::byte, 5 * sizeof(int32_t)> Bytes;
  TBlock() { Bytes.fill(std::byte{0x5a}); }
  std::byte* data() { return Bytes.data(); }
  int32_t At(int32_t i) const {
    int32_t v;
    std::memcpy(&v, Bytes.data() + i * sizeof(int32_t), sizeof v);
    return v;
  }
};

TEST(BorrowedBlock, HoldsTheFirstElementsInTheOwnersBlock) {
  TBlock block;
  THugeInteger a(5, block.data());
  for (int32_t v : {10, 11, 12, 13, 14}) a.Add(v);
  EXPECT_TRUE(a.InBorrowedBlock());
  EXPECT_EQ(a.ItemPtr(0), block.data());
  EXPECT_EQ(block.At(4), 14);
  EXPECT_EQ(a.Capacity(), 5);
  EXPECT_EQ(a.InitialCapacity(), 5);
  EXPECT_EQ(a.BlockSize(), 20);
}

TEST(BorrowedBlock, GrowthMovesTheElementsOutAndLeavesTheBlockAlone) {
  TBlock block;
  THugeInteger a(5, block.data());
  for (int32_t v : {10, 11, 12, 13, 14, 15}) a.Add(v);
  EXPECT_FALSE(a.InBorrowedBlock());
  EXPECT_NE(a.ItemPtr(0), block.data());
  EXPECT_THAT(Items(a), ElementsAre(10, 11, 12, 13, 14, 15));
  EXPECT_EQ(a.Capacity(), 9);
  EXPECT_EQ(a.GrowBy(), 4);
  a.Put(0, 99);
  EXPECT_EQ(block.At(0), 10);
}

TEST(BorrowedBlock, GrowsInTheSameStepsAsAnOwnedBlock) {
  TBlock block;
  THugeInteger borrowed(5, block.data());
  THugeInteger owned(5);
  for (int32_t i = 0; i < 200; ++i) {
    borrowed.Add(i);
    owned.Add(i);
    ASSERT_EQ(borrowed.Capacity(), owned.Capacity()) << "after " << i + 1 << " elements";
    ASSERT_EQ(borrowed.GrowBy(), owned.GrowBy());
    ASSERT_EQ(borrowed.BlockSize(), owned.BlockSize());
  }
  EXPECT_EQ(Items(borrowed), Items(owned));
}

TEST(BorrowedBlock, ClearStaysInTheBlockUntilItHasGrown) {
  TBlock block;
  THugeInteger a(5, block.data());
  a.Add(1);
  a.Clear();
  EXPECT_TRUE(a.InBorrowedBlock());
  EXPECT_EQ(a.Count(), 0);
  for (int32_t i = 0; i < 30; ++i) a.Add(i);
  a.Clear();
  EXPECT_FALSE(a.InBorrowedBlock());
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 5);
  EXPECT_EQ(a.BlockSize(), 20);
  a.Add(7);
  EXPECT_THAT(Items(a), ElementsAre(7));
}

TEST(BorrowedBlock, SetCapacityKeepsWhatFitsLikeARealloc) {
  TBlock block;
  THugeInteger a(5, block.data());
  for (int32_t v : {1, 2, 3, 4}) a.Add(v);
  a.SetCapacity(5);
  EXPECT_TRUE(a.InBorrowedBlock());
  a.SetCapacity(3);
  EXPECT_FALSE(a.InBorrowedBlock());
  EXPECT_EQ(a.Capacity(), 3);
  a.SetCount(3);
  EXPECT_THAT(Items(a), ElementsAre(1, 2, 3));
}

TEST(BorrowedBlock, RefusedSizesChangeNothing) {
  TBlock block;
  EXPECT_THROW(THugeArray(0, 4, block.data()), EEmptyArrayAllocation);
  THugeInteger a(5, block.data());
  a.Add(42);
  EXPECT_THROW(a.SetCapacity(0), EEmptyArrayAllocation);
  EXPECT_THROW(a.SetCapacity(std::numeric_limits<int32_t>::max()), EOutOfMemory);
  EXPECT_TRUE(a.InBorrowedBlock());
  EXPECT_EQ(a.Capacity(), 5);
  EXPECT_THAT(Items(a), ElementsAre(42));
}

TEST(BorrowedBlock, SwapWithAnOwnedArrayNeverHandsTheBlockOver) {
  TBlock block;
  THugeInteger borrowed(5, block.data());
  for (int32_t v : {1, 2, 3}) borrowed.Add(v);
  THugeInteger owned(5);
  for (int32_t v = 10; v < 16; ++v) owned.Add(v);
  borrowed.Swap(owned);
  EXPECT_THAT(Items(borrowed), ElementsAre(10, 11, 12, 13, 14, 15));
  EXPECT_EQ(borrowed.Capacity(), 9);
  EXPECT_THAT(Items(owned), ElementsAre(1, 2, 3));
  EXPECT_EQ(owned.Capacity(), 5);
  EXPECT_FALSE(owned.InBorrowedBlock());
  EXPECT_FALSE(borrowed.InBorrowedBlock());
  // The owner may now reuse its block without touching either array.
  block.Bytes.fill(std::byte{0});
  EXPECT_THAT(Items(owned), ElementsAre(1, 2, 3));
  EXPECT_THAT(Items(borrowed), ElementsAre(10, 11, 12, 13, 14, 15));
}

TEST(BorrowedBlock, TwoBorrowedBlocksOfOneSizeExchangeTheirContents) {
  TBlock first, second;
  THugeInteger a(5, first.data());
  THugeInteger b(5, second.data());
  for (int32_t v : {1, 2}) a.Add(v);
  for (int32_t v : {7, 8, 9, 10}) b.Add(v);
  a.Swap(b);
  EXPECT_TRUE(a.InBorrowedBlock());
  EXPECT_TRUE(b.InBorrowedBlock());
  EXPECT_EQ(a.ItemPtr(0), first.data());
  EXPECT_EQ(b.ItemPtr(0), second.data());
  EXPECT_THAT(Items(a), ElementsAre(7, 8, 9, 10));
  EXPECT_THAT(Items(b), ElementsAre(1, 2));
  a.Swap(a);
  EXPECT_THAT(Items(a), ElementsAre(7, 8, 9, 10));
}

TEST(BorrowedBlock, AnInPlaceExchangeStaysInsideTheBlocks) {
  TBlock first, second;
  THugeInteger a(5, first.data());
  THugeInteger b(5, second.data());
  for (int32_t v : {1, 2, 3, 4, 5}) a.Add(v);
  b.Add(9);
  // A count set past the capacity must not carry the exchange past the block.
  a.SetCount(8);
  a.Swap(b);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Count(), 8);
  EXPECT_EQ(a.Get(0), 9);
  EXPECT_EQ(b.ItemPtr(0), second.data());
  EXPECT_EQ(second.At(1), 2);
  EXPECT_EQ(second.At(4), 5);
}

TEST(BorrowedBlock, BorrowedBlocksOfDifferentSizesMoveOutToSwap) {
  TBlock first, second;
  THugeInteger a(5, first.data());
  THugeInteger b(3, second.data());
  a.Add(1);
  for (int32_t v : {7, 8, 9}) b.Add(v);
  a.Swap(b);
  EXPECT_FALSE(a.InBorrowedBlock());
  EXPECT_FALSE(b.InBorrowedBlock());
  EXPECT_THAT(Items(a), ElementsAre(7, 8, 9));
  EXPECT_EQ(a.Capacity(), 3);
  EXPECT_EQ(a.InitialCapacity(), 3);
  EXPECT_THAT(Items(b), ElementsAre(1));
  EXPECT_EQ(b.Capacity(), 5);
}

TEST(BorrowedBlock, EdgeArraySpreadsItsColumnsOverTheGivenRoom) {
  alignas(int32_t) std::array<std::byte, TEdgeArray::kColumnBlockBytes> room{};
  TEdgeArray loop(room.data());
  for (int32_t k = 0; k < 5; ++k) loop.AddEdge({k, k + 1, 0});
  loop.Flags.Put(4, 3);
  EXPECT_TRUE(loop.Froms.InBorrowedBlock());
  EXPECT_TRUE(loop.Flags.InBorrowedBlock());
  EXPECT_EQ(loop.GetEdge(4), (TEdgeRec{4, 5, 3}));
  EXPECT_EQ(loop.GetEdge(0), (TEdgeRec{0, 1, 0}));
  loop.AddEdge({5, 6, 0});
  EXPECT_FALSE(loop.Tos.InBorrowedBlock());
  EXPECT_EQ(loop.Count(), 6);
  EXPECT_EQ(loop.GetEdge(4), (TEdgeRec{4, 5, 3}));
  EXPECT_EQ(loop.GetEdge(5), (TEdgeRec{5, 6, 0}));
}

}  // namespace
