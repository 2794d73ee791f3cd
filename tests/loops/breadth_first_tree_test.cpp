#include "loops/breadth_first_tree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "loop_test_graphs.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

using ::testing::ElementsAre;

TEST(TSpanningHeap, StoresEachCandidateAcrossTheFourColumns) {
  TSpanningHeap heap;
  EXPECT_TRUE(heap.Empty());
  EXPECT_EQ(heap.BestIndex(true), 0);
  EXPECT_EQ(heap.BestIndex(false), 0);
  heap.Push(3, 7, MakeVec3(1, 2, 3), MakeVec3(4, 6, 3), 5);
  EXPECT_EQ(heap.Count(), 1);
  EXPECT_EQ(heap.FromStations.Get(0), 3);
  EXPECT_EQ(heap.ToStations.Get(0), 7);
  EXPECT_DOUBLE_EQ(heap.Distances.Get(0), 5.0);
  EXPECT_EQ(heap.Orders.Get(0), 5);
}

TEST(TSpanningHeap, BestIndexTakesTheEarliestPushedAmongEquals) {
  TSpanningHeap heap;
  const Vec3 origin = MakeVec3(0, 0, 0);
  heap.Push(0, 1, origin, MakeVec3(5, 0, 0), 2);
  heap.Push(0, 2, origin, MakeVec3(3, 0, 0), 4);
  heap.Push(0, 3, origin, MakeVec3(0, 3, 0), 4);
  heap.Push(0, 4, origin, MakeVec3(9, 0, 0), 1);
  EXPECT_EQ(heap.BestIndex(true), 1);
  EXPECT_EQ(heap.BestIndex(false), 1);
  heap.Remove(1);
  EXPECT_THAT(Items(heap.ToStations), ElementsAre(1, 3, 4));
  EXPECT_THAT(Items(heap.Orders), ElementsAre(2, 4, 1));
  EXPECT_EQ(heap.BestIndex(true), 1);
  EXPECT_EQ(heap.BestIndex(false), 1);
  heap.Remove(1);
  EXPECT_EQ(heap.BestIndex(true), 0);
  EXPECT_EQ(heap.BestIndex(false), 0);
  EXPECT_EQ(heap.FromStations.Count(), 2);
  EXPECT_EQ(heap.Distances.Count(), 2);
}

TEST(MostConnectedStation, TakesTheLowestOfTheLongestNeighbourLists) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(5), {{0, 1}, {2, 3}, {2, 4}, {3, 4}, {3, 1}});
  EXPECT_EQ(MostConnectedStation(g), 3);
  // Two edges to the same neighbour count twice.
  g.AddEdgeByIndex(0, 1);
  g.AddEdgeByIndex(0, 1);
  EXPECT_EQ(MostConnectedStation(g), 1);
  TSurveyGraph flat;
  FillGraph(flat, std::vector<Vec3>(3), {});
  EXPECT_EQ(MostConnectedStation(flat), 0);
}

TEST(AddCandidates, PushesUnmarkedNeighboursInListOrderWithTheirOrders) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(3, 4, 0), MakeVec3(1, 0, 0), MakeVec3(0, 2, 0)},
            {{0, 3}, {0, 1}, {2, 0}, {1, 3}});
  g.Marks.Put(1, 1);
  TSpanningHeap heap;
  AddCandidates(g, heap, 0);
  EXPECT_THAT(Items(heap.ToStations), ElementsAre(3, 2));
  EXPECT_THAT(Items(heap.FromStations), ElementsAre(0, 0));
  EXPECT_THAT(Items(heap.Orders), ElementsAre(2, 1));
  EXPECT_DOUBLE_EQ(heap.Distances.Get(0), 2.0);
  EXPECT_DOUBLE_EQ(heap.Distances.Get(1), 1.0);
}

TEST(BreadthFirstTree, SpansTheSquareWithOneLoopUnderEitherRule) {
  for (const bool favorHighOrder : {false, true}) {
    SCOPED_TRACE(favorHighOrder);
    TSurveyGraph g;
    FillSquare(g);
    TSurveyGraph tree;
    TLoopList loops;
    BreadthFirstTree(g, tree, loops, favorHighOrder);
    EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 1}, TStationPair{0, 3}, TStationPair{1, 2}));
    ASSERT_EQ(loops.Count(), 1);
    EXPECT_THAT(EdgePairs(loops.LoopAt(0)), ElementsAre(TStationPair{3, 2}));
    EXPECT_THAT(Items(loops.LoopAt(0).Flags), ElementsAre(0));
    EXPECT_EQ(loops.LoopAt(0).CommonStation, 0);
    EXPECT_EQ(loops.LoopAt(0).FirstPathCount, 0);
    EXPECT_THAT(Items(g.Marks), ElementsAre(1, 1, 1, 1));
    EXPECT_THAT(Items(tree.Parents), ElementsAre(-1, 0, 1, 0));
    EXPECT_THAT(Items(tree.Marks), ElementsAre(0, 0, 0, 0));
    EXPECT_EQ(tree.StationCount(), 4);
    EXPECT_EQ(tree.Names.GetName(3), "S3");
    EXPECT_EQ(tree.Positions.Get(2), MakeVec3(10, 10, 0));
  }
}

TEST(BreadthFirstTree, ShortestRuleTakesTheShorterEdgeAndEqualLengthsInPushOrder) {
  TSurveyGraph g;
  // Station 0 reaches 1 far away, 2 and 3 at the same short distance.
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(30, 0, 0), MakeVec3(0, 5, 0), MakeVec3(5, 0, 0)},
            {{0, 1}, {0, 3}, {0, 2}, {1, 2}});
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, false);
  // 0-1 (30) is taken before the candidate 2-1 (30.4) pushed after it.
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 3}, TStationPair{0, 2}, TStationPair{0, 1}));
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{2, 1}));
}

TEST(BreadthFirstTree, HighOrderRuleStartsAtTheMostConnectedStationAndIgnoresDistance) {
  TSurveyGraph g;
  FillGrid(g, 4, 4);
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, true);
  EXPECT_EQ(tree.Parents.Get(5), -1);
  // From 5 the candidates 6 and 9 (four neighbours each) go before 4 and 1.
  EXPECT_THAT(EdgePairs(tree.Edges), ::testing::IsSupersetOf({TStationPair{5, 6}, TStationPair{5, 9}}));
  EXPECT_EQ(EdgePairs(tree.Edges)[0], (TStationPair{5, 6}));
  EXPECT_EQ(EdgePairs(tree.Edges)[1], (TStationPair{5, 9}));
  EXPECT_EQ(tree.Edges.Count(), 15);
  EXPECT_EQ(loops.Count(), 24 - 15);
}

TEST(BreadthFirstTree, SpansOnlyThePartOfTheStartStation) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(6), {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {3, 5}});
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, false);
  EXPECT_EQ(tree.StationCount(), 6);
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 1}, TStationPair{0, 2}));
  EXPECT_EQ(loops.Count(), 1);
  EXPECT_THAT(Items(tree.Parents), ElementsAre(-1, 0, 0, -1, -1, -1));
  EXPECT_THAT(Items(g.Marks), ElementsAre(1, 1, 1, 0, 0, 0));
  // With the high-order rule the start is station 3, in the other part.
  BreadthFirstTree(g, tree, loops, true);
  EXPECT_THAT(Items(g.Marks), ElementsAre(0, 0, 0, 1, 1, 1));
  EXPECT_EQ(loops.Count(), 2);
}

TEST(BreadthFirstTree, GraphWithoutEdgesGivesStationsOnly) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(3), {});
  TSurveyGraph tree;
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  BreadthFirstTree(g, tree, loops, true);
  EXPECT_EQ(tree.StationCount(), 3);
  EXPECT_EQ(tree.Edges.Count(), 0);
  EXPECT_EQ(loops.Count(), 0);
  EXPECT_THAT(Items(g.Marks), ElementsAre(1, 0, 0));
}

TEST(BreadthFirstTree, EmptyGraphGivesEmptyTreeAndNoLoops) {
  TSurveyGraph g;
  TSurveyGraph tree;
  FillSquare(tree);
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  for (const bool favorHighOrder : {false, true}) {
    BreadthFirstTree(g, tree, loops, favorHighOrder);
    EXPECT_EQ(tree.StationCount(), 0);
    EXPECT_EQ(tree.Edges.Count(), 0);
    EXPECT_EQ(loops.Count(), 0);
  }
}

TEST(BreadthFirstTree, DoubledEdgeGivesOneTreeEdgeAndOneClosingEdge) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(1, 0, 0)}, {{1, 0}, {0, 1}});
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, false);
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 1}));
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{0, 1}));
}

TEST(BreadthFirstTree, EdgeFromAStationToItselfGivesTwoLoops) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(1, 0, 0)}, {{0, 1}, {1, 1}});
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, false);
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 1}));
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{1, 1}, TStationPair{1, 1}));
}

TEST(BreadthFirstTree, EdgesRunFromTheEndThatJoinedTheTreeFirst) {
  TSurveyGraph g;
  // Edges (2, 3) and (3, 0) are given towards the start; station 3 is as near
  // the start as station 1 but pushed later.
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(1, 0, 0), MakeVec3(2, 0, 0), MakeVec3(0, 1, 0)},
            {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, false);
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 1}, TStationPair{0, 3}, TStationPair{1, 2}));
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{3, 2}));
}

TEST(BreadthFirstParents, GrowsTheTreeOfBreadthFirstTreeWithoutATreeGraph) {
  // Two parts, a doubled edge and an edge from a station to itself.
  TSurveyGraph g;
  FillGraph(g,
            {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(10, 12, 0), MakeVec3(0, 10, 0), MakeVec3(5, 5, 0),
             MakeVec3(50, 0, 0), MakeVec3(60, 0, 0)},
            {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {4, 2}, {1, 2}, {4, 4}, {5, 6}});
  for (const bool favorHighOrder : {false, true}) {
    SCOPED_TRACE(favorHighOrder ? "high order" : "shortest");
    TSurveyGraph tree;
    TLoopList expected;
    BreadthFirstTree(g, tree, expected, favorHighOrder);
    const std::vector<int32_t> expectedMarks = Items(g.Marks);
    g.SetAllMarks(7);
    TLoopList loops;
    loops.AddLoop().AddEdge({5, 6, 0});
    const std::vector<int32_t> parents = BreadthFirstParents(g, loops, favorHighOrder);
    EXPECT_EQ(parents, Items(tree.Parents));
    EXPECT_EQ(Snapshot(loops), Snapshot(expected));
    EXPECT_EQ(Items(g.Marks), expectedMarks);
  }
}

TEST(BreadthFirstParents, EmptyGraphGivesNoParentsAndNoLoops) {
  TSurveyGraph g;
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  EXPECT_TRUE(BreadthFirstParents(g, loops, true).empty());
  EXPECT_EQ(loops.Count(), 0);
}

}  // namespace
