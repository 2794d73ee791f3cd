#include "loops/shortest_loops.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "loop_test_graphs.h"
#include "loops/breadth_first_tree.h"
#include "loops/fundamental_loops.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::SizeIs;

// True when every station of the loop is met an even number of times, as in
// any closed walk.
bool IsClosed(const TEdgeArray& loop) {
  std::map<int32_t, int32_t> ends;
  for (int32_t i = 0; i < loop.Count(); ++i) {
    ++ends[loop.Froms.Get(i)];
    ++ends[loop.Tos.Get(i)];
  }
  for (const auto& [station, count] : ends) {
    if (count % 2 != 0) return false;
  }
  return loop.Count() > 0;
}

TEST(TFIFOList, PopsInPushOrderAndGivesZeroWhenEmpty) {
  TFIFOList queue;
  EXPECT_EQ(queue.Pop(), 0);
  EXPECT_TRUE(queue.Empty());
  queue.Push(7);
  queue.Push(3);
  queue.Push(9);
  EXPECT_EQ(queue.Pop(), 7);
  queue.Push(1);
  EXPECT_EQ(queue.Pop(), 3);
  EXPECT_EQ(queue.Pop(), 9);
  EXPECT_EQ(queue.Count(), 1);
  EXPECT_EQ(queue.Pop(), 1);
  EXPECT_EQ(queue.Pop(), 0);
  EXPECT_EQ(queue.Count(), 0);
}

// A five-edge loop: closing edge 0-1 (edge 0), the path 0-2-3-4-1, and a
// station 5 joined to both ends.
void FillFiveEdgeLoopWithShortcut(TSurveyGraph& g) {
  FillGraph(g, std::vector<Vec3>(6), {{0, 1}, {0, 2}, {2, 3}, {3, 4}, {4, 1}, {0, 5}, {5, 1}});
}

TEST(FindShortestLoop, FindsTheDetourAndFlagsTheClosingEdge) {
  TSurveyGraph g;
  FillFiveEdgeLoopWithShortcut(g);
  TEdgeArray result;
  EXPECT_TRUE(FindShortestLoop(g, {0, 1, 0}, 3, result));
  EXPECT_THAT(EdgePairs(result), ElementsAre(TStationPair{0, 1}, TStationPair{1, 5}, TStationPair{5, 0}));
  EXPECT_THAT(Items(g.Edges.Flags), ElementsAre(1, 0, 0, 0, 0, 0, 0));
  EXPECT_THAT(Items(g.Marks), ElementsAre(1, 3, 2, 3, 0, 2));
  EXPECT_EQ(result.CommonStation, 0);
  EXPECT_EQ(result.FirstPathCount, 0);
}

TEST(FindShortestLoop, GivesUpPastTheEdgeLimitAndChangesNoLoopOrFlag) {
  TSurveyGraph g;
  FillFiveEdgeLoopWithShortcut(g);
  TEdgeArray result;
  EXPECT_FALSE(FindShortestLoop(g, {0, 1, 0}, 2, result));
  EXPECT_EQ(result.Count(), 0);
  EXPECT_THAT(Items(g.Edges.Flags), Each(0));
}

TEST(FindShortestLoop, NeverUsesAnEdgeBetweenTheTwoEnds) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(3), {{0, 1}, {1, 0}, {0, 1}, {1, 2}});
  TEdgeArray result;
  EXPECT_FALSE(FindShortestLoop(g, {0, 1, 0}, 10, result));
  EXPECT_FALSE(FindShortestLoop(g, {1, 0, 0}, 10, result));
  EXPECT_EQ(result.Count(), 0);
  EXPECT_THAT(Items(g.Edges.Flags), Each(0));
}

TEST(FindShortestLoop, AvoidsFlaggedEdges) {
  TSurveyGraph g;
  FillFiveEdgeLoopWithShortcut(g);
  g.Edges.Flags.Put(6, 1);  // 5-1
  TEdgeArray result;
  EXPECT_FALSE(FindShortestLoop(g, {0, 1, 0}, 4, result));
  EXPECT_TRUE(FindShortestLoop(g, {0, 1, 0}, 5, result));
  EXPECT_THAT(EdgePairs(result), ElementsAre(TStationPair{0, 1}, TStationPair{1, 4}, TStationPair{4, 3},
                                             TStationPair{3, 2}, TStationPair{2, 0}));
}

TEST(FindShortestLoop, TakesTheDetourFoundFirstInBreadthFirstOrder) {
  TSurveyGraph g;
  // Stations 2 and 3 both join 0 and 1; station 3 comes first in 0's list.
  FillGraph(g, std::vector<Vec3>(4), {{0, 1}, {0, 3}, {0, 2}, {2, 1}, {3, 1}});
  TEdgeArray result;
  EXPECT_TRUE(FindShortestLoop(g, {0, 1, 0}, 3, result));
  EXPECT_THAT(EdgePairs(result), ElementsAre(TStationPair{0, 1}, TStationPair{1, 3}, TStationPair{3, 0}));
}

TEST(FindShortestLoop, ReroutedClosingEdgeIsClosedToLaterSearches) {
  TSurveyGraph g;
  // Two triangles sharing edge 0-1, with a long way round as well.
  FillGraph(g, std::vector<Vec3>(7), {{0, 1}, {0, 2}, {2, 1}, {1, 3}, {3, 0}, {2, 4}, {4, 5}, {5, 6}, {6, 3}});
  TEdgeArray first;
  EXPECT_TRUE(FindShortestLoop(g, {2, 3, 0}, 3, first));
  EXPECT_THAT(EdgePairs(first), ElementsAre(TStationPair{2, 3}, TStationPair{3, 0}, TStationPair{0, 2}));
  // No edge joins 2 and 3, so no flag is written.
  EXPECT_THAT(Items(g.Edges.Flags), Each(0));
  TEdgeArray second;
  EXPECT_TRUE(FindShortestLoop(g, {0, 1, 0}, 3, second));
  EXPECT_THAT(Items(g.Edges.Flags), ElementsAre(1, 0, 0, 0, 0, 0, 0, 0, 0));
  // With edge 0-1 flagged, the three-edge way from 2 to 0 through 1 is closed.
  TEdgeArray third;
  EXPECT_FALSE(FindShortestLoop(g, {2, 0, 0}, 3, third));
  EXPECT_TRUE(FindShortestLoop(g, {2, 0, 0}, 4, third));
  EXPECT_THAT(EdgePairs(third),
              ElementsAre(TStationPair{2, 0}, TStationPair{0, 3}, TStationPair{3, 1}, TStationPair{1, 2}));
}

TEST(OptimizeShortest, LoopsOfThreeOrFourEdgesAreNeverReplaced) {
  TSurveyGraph g;
  // A triangle and a square sharing station 0, with diagonals through a hub 5.
  FillGraph(g, std::vector<Vec3>(6), {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {3, 4}, {4, 0}, {5, 1}, {5, 2}, {5, 3}});
  TLoopList loops;
  for (const TStationPair& closing : {TStationPair{1, 2}, TStationPair{0, 3}}) {
    TEdgeArray& loop = loops.AddLoop();
    loop.AddEdge({closing.first, closing.second, 0});
    loop.AddEdge({closing.first, closing.second, 0});
    loop.AddEdge({closing.first, closing.second, 0});
  }
  loops.LoopAt(1).AddEdge({0, 3, 0});
  const auto before = Snapshot(loops);
  OptimizeShortest(loops, g, true);
  EXPECT_THAT(Snapshot(loops), ElementsAre(before[1], before[0]));
  EXPECT_THAT(Items(g.Edges.Flags), Each(0));
}

TEST(OptimizeShortest, WithoutOptimizeOnlySortsAndResetsFlags) {
  TSurveyGraph g;
  FillFiveEdgeLoopWithShortcut(g);
  g.Edges.SetAllFlags(1);
  g.SetAllMarks(7);
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  TEdgeArray& longer = loops.AddLoop();
  for (int32_t i = 0; i < 5; ++i) longer.AddEdge({0, 1, 0});
  OptimizeShortest(loops, g, false);
  EXPECT_EQ(loops.LoopAt(0).Count(), 5);
  EXPECT_EQ(loops.LoopAt(1).Count(), 1);
  EXPECT_THAT(Items(g.Edges.Flags), Each(0));
  EXPECT_THAT(Items(g.Marks), Each(7));
}

class GridSearch : public ::testing::Test {
 protected:
  void SetUp() override { FillGrid(grid_, 4, 4); }
  TSurveyGraph grid_;
  TLoopList loops_;
};

TEST_F(GridSearch, FindsNineFundamentalLoopsLongestFirst) {
  FindLoopsShortest(grid_, loops_, false);
  ASSERT_EQ(loops_.Count(), 9);
  const TEdgeArray& first = loops_.LoopAt(0);
  EXPECT_THAT(EdgePairs(first), ElementsAre(TStationPair{13, 14}, TStationPair{9, 13}, TStationPair{5, 9},
                                            TStationPair{10, 14}, TStationPair{6, 10}, TStationPair{5, 6}));
  EXPECT_EQ(first.CommonStation, 5);
  EXPECT_EQ(first.FirstPathCount, 3);
  const auto all = Snapshot(loops_);
  for (size_t i = 1; i < all.size(); ++i) EXPECT_THAT(all[i].Edges, SizeIs(4)) << i;
  EXPECT_THAT(all, Contains(TLoopSnapshot{{{9, 10}, {5, 9}, {6, 10}, {5, 6}}, {0, 0, 0, 0}, 5, 2, 0}));
  for (int32_t i = 0; i < loops_.Count(); ++i) EXPECT_TRUE(IsClosed(loops_.LoopAt(i))) << i;
  EXPECT_THAT(Items(grid_.Edges.Flags), Each(0));
  EXPECT_THAT(Items(grid_.Marks), Each(1));
}

TEST_F(GridSearch, ShortensTheSixEdgeLoopAndFlagsItsClosingEdge) {
  TLoopList fundamental;
  FindLoopsShortest(grid_, fundamental, false);
  FindLoopsShortest(grid_, loops_, true);
  ASSERT_EQ(loops_.Count(), 9);
  const TEdgeArray& first = loops_.LoopAt(0);
  EXPECT_THAT(EdgePairs(first),
              ElementsAre(TStationPair{13, 14}, TStationPair{14, 10}, TStationPair{10, 9}, TStationPair{9, 13}));
  EXPECT_EQ(first.CommonStation, 0);
  EXPECT_EQ(first.FirstPathCount, 0);
  const auto before = Snapshot(fundamental);
  const auto after = Snapshot(loops_);
  EXPECT_EQ(std::vector(after.begin() + 1, after.end()), std::vector(before.begin() + 1, before.end()));
  const int32_t closing = grid_.Edges.IndexOfEdge({13, 14, 0});
  for (int32_t e = 0; e < grid_.Edges.Count(); ++e) EXPECT_EQ(grid_.Edges.Flags.Get(e), e == closing ? 1 : 0) << e;
}

TEST(FindLoopsShortest, TreeGivesNoLoops) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(5), {{0, 1}, {1, 2}, {1, 3}, {3, 4}});
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  FindLoopsShortest(g, loops, true);
  EXPECT_EQ(loops.Count(), 0);
}

TEST(FindLoopsShortest, GraphsWithoutStationsOrEdgesGiveNoLoops) {
  TSurveyGraph empty;
  TSurveyGraph flat;
  FillGraph(flat, std::vector<Vec3>(4), {});
  for (TSurveyGraph* g : {&empty, &flat}) {
    for (const bool optimize : {false, true}) {
      TLoopList loops;
      loops.AddLoop().AddEdge({0, 0, 0});
      FindLoopsShortest(*g, loops, optimize);
      EXPECT_EQ(loops.Count(), 0);
    }
  }
}

TEST(FindLoopsShortest, FindsLoopsOnlyInThePartOfTheMostConnectedStation) {
  TSurveyGraph g;
  // A triangle 0-1-2 and a square 3-4-5-6 with a spur 6-7 (station 6 has most neighbours).
  FillGraph(g, std::vector<Vec3>(8), {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 6}, {6, 3}, {6, 7}});
  TLoopList loops;
  FindLoopsShortest(g, loops, true);
  ASSERT_EQ(loops.Count(), 1);
  EXPECT_EQ(loops.LoopAt(0).Count(), 4);
  EXPECT_EQ(loops.LoopAt(0).CommonStation, 6);
  FindLoopsShortest(g, loops, false);
  EXPECT_EQ(loops.Count(), 1);
  EXPECT_THAT(Items(g.Marks), ElementsAre(0, 0, 0, 1, 1, 1, 1, 1));
}

}  // namespace
