#include "core/edge_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/owned_lists.h"

namespace {

using ::testing::ElementsAre;

std::vector<std::pair<int32_t, int32_t>> Ends(const TEdgeArray& a) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (int32_t i = 0; i < a.Count(); ++i) out.emplace_back(a.Froms.Get(i), a.Tos.Get(i));
  return out;
}

TEST(TEdgeArray, AddEdgeIgnoresTheGivenFlag) {
  TEdgeArray a;
  EXPECT_EQ(a.AddEdge({1, 2, 7}), 0);
  EXPECT_EQ(a.GetEdge(0), (TEdgeRec{1, 2, 0}));
  EXPECT_EQ(a.CommonStation, 0);
  EXPECT_EQ(a.FirstPathCount, 0);
  EXPECT_EQ(a.LoopValue, 0);
}

TEST(TEdgeArray, IndexOfEdgeFindsEitherDirectionAndIgnoresFlags) {
  TEdgeArray a;
  a.AddEdge({0, 5, 0});
  a.AddEdge({1, 3, 0});
  a.AddEdge({3, 1, 0});
  a.Flags.Put(1, 1);
  EXPECT_EQ(a.IndexOfEdge({3, 1, 0}), 1);
  EXPECT_EQ(a.IndexOfEdge({1, 3, 9}), 1);
  EXPECT_EQ(a.IndexOfEdge({1, 4, 0}), -1);
  EXPECT_TRUE(SameEdge({1, 3, 0}, {3, 1, 1}));
  EXPECT_FALSE(SameEdge({1, 3, 0}, {1, 4, 0}));
}

TEST(TEdgeArray, NormalizeEdgesTurnsThenSortsByTo) {
  TEdgeArray a;
  a.AddEdge({5, 2, 0});
  a.AddEdge({1, 4, 0});
  a.AddEdge({3, 3, 0});
  EXPECT_EQ(a.NormalizeEdges(0, 2), 1);
  EXPECT_THAT(Ends(a), ElementsAre(std::pair{3, 3}, std::pair{1, 4}, std::pair{2, 5}));
  EXPECT_EQ(a.NormalizeEdges(0, 2), 0);
  TEdgeArray empty;
  EXPECT_EQ(empty.NormalizeEdges(0, -1), 0);
}

TEST(TEdgeArray, SortByToMovesWholeRecordsAndCountsExchanges) {
  TEdgeArray a;
  a.AddEdge({0, 3, 0});
  a.AddEdge({1, 1, 0});
  a.AddEdge({2, 2, 0});
  a.Flags.Put(0, 30);
  a.Flags.Put(1, 10);
  const int32_t exchanges = a.SortByTo(0, 2);
  EXPECT_THAT(Ends(a), ElementsAre(std::pair{1, 1}, std::pair{2, 2}, std::pair{0, 3}));
  EXPECT_EQ(a.Flags.Get(0), 10);
  EXPECT_EQ(a.Flags.Get(2), 30);
  // Pivot To 1 swaps records 0 and 1; the range 1..2 then swaps 1 and 2.
  EXPECT_EQ(exchanges, 2);
}

TEST(TEdgeArray, AssignLoopCopiesAttributesAndClearsFlags) {
  TEdgeArray src;
  src.AddEdge({1, 2, 0});
  src.AddEdge({2, 3, 0});
  src.SetAllFlags(1);
  src.CommonStation = 4;
  src.FirstPathCount = 2;
  src.LoopValue = 9;
  TEdgeArray dst;
  dst.AddEdge({7, 7, 0});
  dst.AssignLoop(src);
  EXPECT_THAT(Ends(dst), ElementsAre(std::pair{1, 2}, std::pair{2, 3}));
  EXPECT_EQ(dst.Flags.Get(0), 0);
  EXPECT_EQ(dst.Flags.Get(1), 0);
  EXPECT_EQ(dst.CommonStation, 4);
  EXPECT_EQ(dst.FirstPathCount, 2);
  EXPECT_EQ(dst.LoopValue, 9);
}

TEST(TEdgeArray, ClearKeepsTheAttributes) {
  TEdgeArray a;
  a.AddEdge({1, 2, 0});
  a.CommonStation = 3;
  a.Clear();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.CommonStation, 3);
  EXPECT_EQ(a.Froms.Capacity(), 5);
}

TEST(TLoopList, SortExchangesLoopReferences) {
  TLoopList loops;
  for (int32_t n : {1, 3, 2}) {
    TEdgeArray& loop = loops.AddLoop();
    for (int32_t k = 0; k < n; ++k) loop.AddEdge({k, k + 1, 0});
  }
  const TEdgeArray* longest = &loops.LoopAt(1);
  loops.SortLoops([](const TEdgeArray& a, const TEdgeArray& b) { return b.Count() - a.Count(); });
  EXPECT_EQ(&loops.LoopAt(0), longest);
  EXPECT_EQ(loops.LoopAt(1).Count(), 2);
  EXPECT_EQ(loops.LoopAt(2).Count(), 1);
  loops.Clear();
  EXPECT_EQ(loops.Count(), 0);
}

}  // namespace
