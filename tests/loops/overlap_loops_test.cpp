#include "loops/overlap_loops.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "loop_test_graphs.h"
#include "loops/loop_order.h"
#include "loops/shortest_loops.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;

void FillLoop(TEdgeArray& loop, const std::vector<TStationPair>& edges) {
  loop.Clear();
  for (const auto& [from, to] : edges) loop.AddEdge({from, to, 0});
}

// Stations 0 (0, 0), 1 (10, 0), 2 (10, 10), 3 (0, 10) and a fifth at p4.
void FillSquareAndOne(TSurveyGraph& g, Vec3 p4) {
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(10, 10, 0), MakeVec3(0, 10, 0), p4}, {});
}

TEST(EdgeInLoop, MatchesEitherDirection) {
  TEdgeArray loop;
  FillLoop(loop, {{0, 1}, {4, 2}});
  EXPECT_TRUE(EdgeInLoop({2, 4, 0}, loop));
  EXPECT_TRUE(EdgeInLoop({1, 0, 7}, loop));
  EXPECT_FALSE(EdgeInLoop({0, 2, 0}, loop));
  EXPECT_FALSE(EdgeInLoop({0, 1, 0}, TEdgeArray()));
}

TEST(RemoveSharedEdges, KeepsTheOrderOfTheRestAndDropsEveryCopyOfAPair) {
  TEdgeArray a;
  FillLoop(a, {{0, 1}, {2, 3}, {1, 0}, {3, 4}, {5, 6}});
  TEdgeArray b;
  FillLoop(b, {{1, 0}, {4, 3}});
  RemoveSharedEdges(a, b);
  EXPECT_THAT(EdgePairs(a), ElementsAre(TStationPair{2, 3}, TStationPair{5, 6}));
  EXPECT_EQ(a.Flags.Count(), 2);
  EXPECT_EQ(b.Count(), 2);
}

TEST(KeepSharedEdges, KeepsOnlyThePairsTheOtherHolds) {
  TEdgeArray a;
  FillLoop(a, {{0, 1}, {2, 3}, {1, 0}, {3, 4}, {5, 6}});
  TEdgeArray b;
  FillLoop(b, {{4, 3}, {1, 0}});
  KeepSharedEdges(a, b);
  EXPECT_THAT(EdgePairs(a), ElementsAre(TStationPair{0, 1}, TStationPair{1, 0}, TStationPair{3, 4}));
}

TEST(AppendEdges, AppendsInOrderWithClearedFlags) {
  TEdgeArray a;
  FillLoop(a, {{0, 1}});
  TEdgeArray b;
  FillLoop(b, {{2, 3}, {3, 4}});
  b.SetAllFlags(1);
  AppendEdges(a, b);
  EXPECT_THAT(EdgePairs(a), ElementsAre(TStationPair{0, 1}, TStationPair{2, 3}, TStationPair{3, 4}));
  EXPECT_THAT(Items(a.Flags), Each(0));
  AppendEdges(a, a);
  EXPECT_EQ(a.Count(), 6);
}

TEST(OverlapsEnough, MoreThanHalfSharedIsEnough) {
  TSurveyGraph g;
  FillSquareAndOne(g, MakeVec3(5, 5, 0));
  TEdgeArray earlier;
  FillLoop(earlier, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}});
  TEdgeArray threeOfFour;
  FillLoop(threeOfFour, {{3, 0}, {0, 1}, {2, 1}, {3, 2}});
  EXPECT_TRUE(OverlapsEnough(earlier, threeOfFour, g));
  TEdgeArray oneOfThree;
  FillLoop(oneOfThree, {{0, 1}, {1, 3}, {3, 0}});
  EXPECT_FALSE(OverlapsEnough(earlier, oneOfThree, g));
  TEdgeArray none;
  FillLoop(none, {{0, 2}, {2, 4}, {4, 1}});
  EXPECT_FALSE(OverlapsEnough(earlier, none, g));
}

TEST(OverlapsEnough, ExactlyHalfDependsOnWhereTheSharedPartLies) {
  TEdgeArray earlier;
  FillLoop(earlier, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
  TEdgeArray later;
  FillLoop(later, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
  // The shared part's To stations 2 and 3 centre on (5, 10), 5 from the square's centre.
  struct TCase {
    Vec3 p4;
    bool merges;
  };
  for (const TCase& c :
       {TCase{MakeVec3(0, 4, 0), true}, TCase{MakeVec3(0, -2, 0), false}, TCase{MakeVec3(0, 20, 0), false}}) {
    TSurveyGraph g;
    FillSquareAndOne(g, c.p4);
    EXPECT_EQ(OverlapsEnough(earlier, later, g), c.merges) << c.p4.Y;
    TEdgeArray shared;
    FillLoop(shared, {{1, 2}, {2, 3}});
    TEdgeArray own;
    FillLoop(own, {{3, 4}, {4, 1}});
    EXPECT_EQ(SharedPartFarther(shared, own, earlier, g), c.merges) << c.p4.Y;
  }
}

TEST(MergeLoops, LeavesTheSymmetricDifferenceAndKeepsTheAttributes) {
  TEdgeArray earlier;
  FillLoop(earlier, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}});
  earlier.CommonStation = 7;
  earlier.FirstPathCount = 3;
  TEdgeArray later;
  FillLoop(later, {{3, 0}, {0, 1}, {2, 1}, {3, 2}});
  MergeLoops(later, earlier);
  EXPECT_THAT(EdgePairs(earlier), ElementsAre(TStationPair{3, 4}, TStationPair{4, 0}, TStationPair{3, 0}));
  EXPECT_EQ(earlier.CommonStation, 7);
  EXPECT_EQ(earlier.FirstPathCount, 3);
  EXPECT_EQ(later.Count(), 4);
}

TEST(MergeLoops, DoubledPairsVanishFromTheMergedLoop) {
  TEdgeArray earlier;
  FillLoop(earlier, {{0, 1}, {0, 1}, {1, 2}, {2, 0}});
  TEdgeArray later;
  FillLoop(later, {{1, 0}, {0, 1}, {1, 2}});
  MergeLoops(later, earlier);
  EXPECT_THAT(EdgePairs(earlier), ElementsAre(TStationPair{2, 0}));
}

TEST(OptimizeOverlap, WithoutOptimizeOrWithOneLoopOnlySorts) {
  TSurveyGraph g;
  FillSquareAndOne(g, MakeVec3(5, 5, 0));
  TLoopList loops;
  FillLoop(loops.AddLoop(), {{3, 0}, {0, 1}, {2, 1}, {3, 2}});
  FillLoop(loops.AddLoop(), {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}});
  const auto before = Snapshot(loops);
  OptimizeOverlap(loops, g, false);
  EXPECT_THAT(Snapshot(loops), ElementsAre(before[1], before[0]));
  TLoopList single;
  FillLoop(single.AddLoop(), {{0, 1}, {1, 2}, {2, 0}});
  OptimizeOverlap(single, g, true);
  EXPECT_EQ(single.LoopAt(0).Count(), 3);
  OptimizeOverlap(loops, g, true);
  EXPECT_EQ(loops.LoopAt(0).Count(), 3);
  EXPECT_EQ(loops.LoopAt(1).Count(), 4);
}

TEST(FindLoopsOverlap, MergesTheSixEdgeLoopOfTheGridOnly) {
  TSurveyGraph grid;
  FillGrid(grid, 4, 4);
  grid.Edges.SetAllFlags(1);
  TLoopList fundamental;
  FindLoopsOverlap(grid, fundamental, false);
  TLoopList merged;
  FindLoopsOverlap(grid, merged, true);
  ASSERT_EQ(merged.Count(), 9);
  const TEdgeArray& first = merged.LoopAt(0);
  EXPECT_THAT(EdgePairs(first),
              ElementsAre(TStationPair{13, 14}, TStationPair{9, 13}, TStationPair{10, 14}, TStationPair{9, 10}));
  EXPECT_EQ(first.CommonStation, 5);
  EXPECT_EQ(first.FirstPathCount, 3);
  const auto before = Snapshot(fundamental);
  const auto after = Snapshot(merged);
  EXPECT_EQ(before[0].Edges.size(), 6u);
  EXPECT_EQ(std::vector(after.begin() + 1, after.end()), std::vector(before.begin() + 1, before.end()));
  // The overlap search leaves the work graph's flags alone.
  EXPECT_THAT(Items(grid.Edges.Flags), Each(1));
  EXPECT_THAT(Items(grid.Marks), Each(1));
}

TEST(FindLoopsOverlap, UnoptimizedLoopsMatchTheShortestSearch) {
  TSurveyGraph grid;
  FillGrid(grid, 5, 4);
  TLoopList overlap;
  FindLoopsOverlap(grid, overlap, false);
  TLoopList shortest;
  FindLoopsShortest(grid, shortest, false);
  EXPECT_EQ(overlap.Count(), 12);
  EXPECT_EQ(Snapshot(overlap), Snapshot(shortest));
}

TEST(FindLoopsOverlap, LoopsOverTheSamePairsCanEmptyTheEarlierOne) {
  TSurveyGraph g;
  // Three shots between the same two stations give two loops [(0, 1), (0, 1)].
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {1, 0}, {0, 1}});
  TLoopList loops;
  FindLoopsOverlap(g, loops, true);
  ASSERT_EQ(loops.Count(), 2);
  EXPECT_EQ(loops.LoopAt(0).Count(), 0);
  EXPECT_EQ(loops.LoopAt(0).CommonStation, 0);
  EXPECT_EQ(loops.LoopAt(0).FirstPathCount, 1);
  EXPECT_THAT(EdgePairs(loops.LoopAt(1)), ElementsAre(TStationPair{0, 1}, TStationPair{0, 1}));
  // An emptied loop can be ordered again without being measured.
  SortLoops(loops, g);
  EXPECT_EQ(loops.LoopAt(0).Count(), 2);
}

TEST(FindLoopsOverlap, GraphsWithoutLoopsGiveNone) {
  TSurveyGraph empty;
  TSurveyGraph flat;
  FillGraph(flat, std::vector<Vec3>(3), {});
  TSurveyGraph twoTrees;
  FillGraph(twoTrees, std::vector<Vec3>(5), {{0, 1}, {1, 2}, {3, 4}});
  for (TSurveyGraph* g : {&empty, &flat, &twoTrees}) {
    TLoopList loops;
    loops.AddLoop().AddEdge({0, 0, 0});
    FindLoopsOverlap(*g, loops, true);
    EXPECT_EQ(loops.Count(), 0);
  }
}

// Stations 0 (0, 0), 1 (10, 0), 2 (20, 0), 3 (20, 10), 4 (10, 10), 5 (0, 10)
// around a ring of six shots, and station 6 at p6 joined to 3 and 1: the loop
// 1-2-3-6 shares exactly two of its four shots with the ring.
void FillRingAndDetour(TSurveyGraph& g, Vec3 p6) {
  FillGraph(g,
            {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(20, 0, 0), MakeVec3(20, 10, 0), MakeVec3(10, 10, 0),
             MakeVec3(0, 10, 0), p6},
            {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}, {3, 6}, {6, 1}});
}

TEST(OptimizeOverlap, ExactlyHalfMergesOnlyWhenTheSharedPartLiesFarther) {
  // The ring's centroid is (10, 5); the shared part's To stations 2 and 3
  // centre on (20, 5), 10 away; the own part's (6 and 1) nearer or farther.
  struct TCase {
    Vec3 p6;
    bool merges;
  };
  for (const TCase& c : {TCase{MakeVec3(12, 5, 0), true}, TCase{MakeVec3(30, 5, 0), false}}) {
    SCOPED_TRACE(c.p6.X);
    TSurveyGraph g;
    FillRingAndDetour(g, c.p6);
    TLoopList loops;
    FillLoop(loops.AddLoop(), {{1, 2}, {2, 3}, {3, 6}, {6, 1}});
    FillLoop(loops.AddLoop(), {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}});
    TLoopList reference;
    FillLoop(reference.AddLoop(), {{1, 2}, {2, 3}, {3, 6}, {6, 1}});
    FillLoop(reference.AddLoop(), {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}});
    OptimizeOverlap(loops, g, true);
    LiteralOptimizeOverlap(reference, g, true);
    if (c.merges)
      EXPECT_THAT(EdgePairs(loops.LoopAt(0)), ElementsAre(TStationPair{0, 1}, TStationPair{3, 4}, TStationPair{4, 5},
                                                          TStationPair{5, 0}, TStationPair{3, 6}, TStationPair{6, 1}));
    else
      EXPECT_EQ(loops.LoopAt(0).Count(), 6);
    EXPECT_EQ(Snapshot(loops), Snapshot(reference));
  }
}

TEST(FindLoopsOverlap, ExactlyHalfFollowsTheCentroidsAsTheReferenceDoes) {
  // The six-shot fundamental loop comes first and the four-shot one through
  // 6 shares exactly two pairs with it; only the first position merges.
  const std::vector<TStationPair> kept = {{5, 4}, {0, 5}, {1, 0}, {3, 4}, {2, 3}, {1, 2}};
  const std::vector<TStationPair> merged = {{5, 4}, {0, 5}, {1, 0}, {3, 4}, {3, 6}, {1, 6}};
  for (const Vec3 p6 : {MakeVec3(12, 5, 0), MakeVec3(30, 5, 0), MakeVec3(15, -3, 0), MakeVec3(25, 20, 0)}) {
    SCOPED_TRACE(p6.X);
    TSurveyGraph g;
    FillRingAndDetour(g, p6);
    TLoopList loops;
    FindLoopsOverlap(g, loops, true);
    TLoopList reference;
    LiteralFindLoopsOverlap(g, reference, true);
    ASSERT_EQ(loops.Count(), 2);
    EXPECT_EQ(EdgePairs(loops.LoopAt(0)), p6.X == 12 ? merged : kept);
    EXPECT_EQ(Snapshot(loops), Snapshot(reference));
  }
}

}  // namespace
