#include "loops/loop_order.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "loop_test_graphs.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

using ::testing::ElementsAre;

// Stations along the X axis at the given coordinates.
void FillLine(TSurveyGraph& g, const std::vector<double>& xs) {
  std::vector<Vec3> positions;
  for (double x : xs) positions.push_back(MakeVec3(x, 0, 0));
  FillGraph(g, positions, {});
}

TEdgeArray& AddLoopWithTos(TLoopList& loops, const std::vector<int32_t>& tos, int32_t tag) {
  TEdgeArray& loop = loops.AddLoop();
  for (int32_t to : tos) loop.AddEdge({tag, to, 0});
  loop.LoopValue = tag;
  return loop;
}

std::vector<int32_t> LoopValues(const TLoopList& loops) {
  std::vector<int32_t> values;
  for (int32_t i = 0; i < loops.Count(); ++i) values.push_back(loops.LoopAt(i).LoopValue);
  return values;
}

TEST(LoopCentroid, AveragesTheToStationsOnceForEachEdge) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(12, 0, 3), MakeVec3(0, 6, 0)}, {});
  TEdgeArray loop;
  loop.AddEdge({0, 1, 0});
  loop.AddEdge({2, 1, 0});
  loop.AddEdge({1, 2, 0});
  EXPECT_EQ(LoopCentroid(loop, g), MakeVec3(8, 2, 2));
  TEdgeArray empty;
  EXPECT_EQ(LoopCentroid(empty, g), MakeVec3(0, 0, 0));
}

TEST(LoopSpread, SumsTheDistancesOfTheToStationsFromTheCentroid) {
  TSurveyGraph g;
  FillLine(g, {0, 4, 10});
  TEdgeArray loop;
  loop.AddEdge({0, 1, 0});
  loop.AddEdge({0, 2, 0});
  loop.AddEdge({0, 0, 0});
  loop.AddEdge({0, 2, 0});
  // Centroid at x = 6: distances 2, 4, 6, 4.
  EXPECT_DOUBLE_EQ(LoopSpread(loop, g), 16.0);
}

TEST(CompareLoops, PutsMoreEdgesFirstThenTheLargerSpreadByWholeUnits) {
  TSurveyGraph g;
  FillLine(g, {0, 10, 10.5, 11, 0.75});
  TLoopList loops;
  const TEdgeArray& spread10 = AddLoopWithTos(loops, {0, 1}, 0);
  const TEdgeArray& spread10Half = AddLoopWithTos(loops, {0, 2}, 1);
  const TEdgeArray& spread11 = AddLoopWithTos(loops, {0, 3}, 2);
  const TEdgeArray& threeEdges = AddLoopWithTos(loops, {0, 0, 4}, 3);
  const TEdgeArray& fiveEdges = AddLoopWithTos(loops, {0, 0, 0, 0, 0}, 4);
  EXPECT_EQ(CompareLoops(spread10, spread10Half, g), 0);
  EXPECT_EQ(CompareLoops(spread10Half, spread10, g), 0);
  EXPECT_GT(CompareLoops(spread10, spread11, g), 0);
  EXPECT_LT(CompareLoops(spread11, spread10, g), 0);
  EXPECT_EQ(CompareLoops(spread11, threeEdges, g), 1);
  EXPECT_EQ(CompareLoops(threeEdges, spread11, g), -1);
  EXPECT_EQ(CompareLoops(spread10, fiveEdges, g), 3);
}

TEST(CompareLoops, HugeSpreadsStillCompareByTheirSign) {
  TSurveyGraph g;
  FillLine(g, {0, 1e30, 3e30});
  TLoopList loops;
  const TEdgeArray& wide = AddLoopWithTos(loops, {0, 2}, 0);
  const TEdgeArray& narrow = AddLoopWithTos(loops, {0, 1}, 1);
  EXPECT_LT(CompareLoops(wide, narrow, g), 0);
  EXPECT_GT(CompareLoops(narrow, wide, g), 0);
}

TEST(SortLoops, OrdersByEdgesThenSpread) {
  TSurveyGraph g;
  FillLine(g, {0, 10, 20});
  TLoopList loops;
  AddLoopWithTos(loops, {0, 1, 0}, 0);
  AddLoopWithTos(loops, {0, 1, 0, 1, 0}, 1);
  AddLoopWithTos(loops, {0, 0, 0, 0}, 2);
  AddLoopWithTos(loops, {0, 2, 0}, 3);
  SortLoops(loops, g);
  EXPECT_THAT(LoopValues(loops), ElementsAre(1, 2, 3, 0));
}

TEST(SortLoops, LeavesEqualLoopsInTheOrderOfTheArrayQuicksort) {
  TSurveyGraph g;
  FillLine(g, {0, 10, 10.25, 10.5});
  TLoopList loops;
  // Equal edge counts and spreads within one unit: all compare as equal.
  AddLoopWithTos(loops, {0, 1}, 0);
  AddLoopWithTos(loops, {0, 2}, 1);
  AddLoopWithTos(loops, {0, 3}, 2);
  SortLoops(loops, g);
  // The partition swaps the two ends around the middle element.
  EXPECT_THAT(LoopValues(loops), ElementsAre(2, 1, 0));
  TLoopList none;
  SortLoops(none, g);
  EXPECT_EQ(none.Count(), 0);
}

// Loops of three or four edges over stations whose spreads differ by less
// than a unit now and then, so many compare as equal and their final order
// depends on every exchange the quicksort makes.
void AddTiedLoops(TLoopList& loops, int32_t count) {
  uint32_t state = 12345;
  const auto next = [&state](uint32_t range) {
    state = state * 1103515245U + 12345U;
    return (state >> 16) % range;
  };
  for (int32_t i = 0; i < count; ++i) {
    std::vector<int32_t> tos;
    const uint32_t edges = 3 + next(2);
    for (uint32_t k = 0; k < edges; ++k) tos.push_back(static_cast<int32_t>(next(5)));
    AddLoopWithTos(loops, tos, i);
  }
}

TEST(SortLoopsByKeys, MovesLoopsExactlyAsTheArrayQuicksortDoes) {
  TSurveyGraph g;
  FillLine(g, {0, 0.3, 0.6, 7, 7.4});
  for (int32_t count : {1, 2, 3, 17, 300}) {
    SCOPED_TRACE(count);
    TLoopList byKeys;
    TLoopList byArray;
    AddTiedLoops(byKeys, count);
    AddTiedLoops(byArray, count);
    std::vector<int32_t> counts;
    std::vector<double> spreads;
    for (int32_t i = 0; i < byKeys.Count(); ++i) {
      counts.push_back(byKeys.LoopAt(i).Count());
      spreads.push_back(LoopSpread(byKeys.LoopAt(i), g));
    }
    const std::vector<int32_t> order = SortLoopsByKeys(byKeys, counts, spreads);
    byArray.SortLoops([&g](const TEdgeArray& a, const TEdgeArray& b) { return CompareLoops(a, b, g); });
    EXPECT_EQ(LoopValues(byKeys), LoopValues(byArray));
    // Each loop's tag is its former position.
    EXPECT_EQ(order, LoopValues(byKeys));
  }
}

TEST(SpreadOfTos, EqualsLoopSpreadBitForBit) {
  TSurveyGraph g;
  FillLine(g, {0.1, 10.7, 20.3, 1e9 / 3});
  TLoopList loops;
  const TEdgeArray& loop = AddLoopWithTos(loops, {0, 3, 1, 2, 1, 0, 3}, 0);
  const std::vector<int32_t> tos(loop.Tos.begin(), loop.Tos.end());
  EXPECT_EQ(SpreadOfTos(tos.data(), static_cast<int32_t>(tos.size()), g), LoopSpread(loop, g));
  EXPECT_EQ(SpreadOfTos(tos.data(), 0, g), 0.0);
}

}  // namespace
