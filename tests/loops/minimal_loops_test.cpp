// The minimal loop search: worked examples, the walk layout of its loops, the
// basis property on generated networks and the total length against a
// brute-force minimum loop basis.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <random>
#include <vector>

#include "generated_networks.h"
#include "loop_test_graphs.h"
#include "minimum_references.h"
#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/problem_grids.h"
#include "sources/random_int.h"
#include "sources/reports.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;

std::vector<int32_t> EdgeCounts(const TLoopList& loops) {
  std::vector<int32_t> counts;
  for (int32_t i = 0; i < loops.Count(); ++i) counts.push_back(loops.LoopAt(i).Count());
  return counts;
}

int64_t TotalEdges(const TLoopList& loops) {
  const std::vector<int32_t> counts = EdgeCounts(loops);
  return std::accumulate(counts.begin(), counts.end(), int64_t{0});
}

// Every loop starts with its closing edge at CommonStation, each edge starts
// where the one before it ends, the last ends where the first began, and each
// edge's Flag names a shot of the graph joining its stations, no shot twice.
void ExpectWalks(const TSurveyGraph& g, const TLoopList& loops) {
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    SCOPED_TRACE("loop " + std::to_string(i));
    ASSERT_GT(loop.Count(), 0);
    EXPECT_EQ(loop.CommonStation, loop.Froms.Get(0));
    EXPECT_EQ(loop.FirstPathCount, 1);
    EXPECT_EQ(loop.LoopValue, 0);
    for (int32_t k = 1; k < loop.Count(); ++k) EXPECT_EQ(loop.Froms.Get(k), loop.Tos.Get(k - 1));
    EXPECT_EQ(loop.Tos.Get(loop.Count() - 1), loop.Froms.Get(0));
    std::vector<int32_t> shots;
    for (int32_t k = 0; k < loop.Count(); ++k) {
      const int32_t shot = loop.Flags.Get(k) - 1;
      ASSERT_GE(shot, 0);
      ASSERT_LT(shot, g.Edges.Count());
      EXPECT_TRUE(SameEdge(g.Edges.GetEdge(shot), loop.GetEdge(k))) << "edge " << k;
      shots.push_back(shot);
    }
    std::sort(shots.begin(), shots.end());
    EXPECT_EQ(std::adjacent_find(shots.begin(), shots.end()), shots.end());
  }
}

TEST(MinimalLoops, GiveTheFourByFourGridNineSquares) {
  TSurveyGraph g;
  FillGrid(g, 4, 4);
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  EXPECT_THAT(EdgeCounts(loops), ElementsAre(4, 4, 4, 4, 4, 4, 4, 4, 4));
  EXPECT_EQ(TotalEdges(loops), 36);
  ExpectWalks(g, loops);
  EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
}

TEST(MinimalLoops, GiveEveryFullGridOnlySquares) {
  for (int32_t columns = 2; columns <= 13; columns += 1)
    for (int32_t rows : {2, 5, columns}) {
      SCOPED_TRACE(std::to_string(columns) + " x " + std::to_string(rows));
      TSurveyGraph g;
      FillGrid(g, columns, rows);
      TLoopList loops;
      FindLoopsMinimal(g, loops);
      EXPECT_EQ(loops.Count(), (columns - 1) * (rows - 1));
      EXPECT_THAT(EdgeCounts(loops), Each(4));
      EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
    }
}

TEST(MinimalLoops, WalkTheSquareFromItsClosingEdge) {
  TSurveyGraph g;
  FillSquare(g);
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  ASSERT_EQ(loops.Count(), 1);
  // The forest from station 0 takes (0, 1), (3, 0), (1, 2); (2, 3) closes it.
  EXPECT_THAT(EdgePairs(loops.LoopAt(0)),
              ElementsAre(TStationPair(2, 3), TStationPair(3, 0), TStationPair(0, 1), TStationPair(1, 2)));
  EXPECT_EQ(loops.LoopAt(0).CommonStation, 2);
  EXPECT_EQ(loops.LoopAt(0).FirstPathCount, 1);
  EXPECT_EQ(loops.LoopAt(0).LoopValue, 0);
}

TEST(MinimalLoops, WalkALongRingFromItsClosingEdge) {
  // Twelve stations in a ring: a loop longer than a new loop's first room.
  std::vector<Vec3> positions;
  std::vector<TStationPair> shots;
  for (int32_t i = 0; i < 12; ++i) {
    positions.push_back(MakeVec3(10.0 * i, i % 2 == 0 ? 0.0 : 5.0, 0));
    shots.push_back({i, (i + 1) % 12});
  }
  TSurveyGraph g;
  FillGraph(g, positions, shots);
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  ASSERT_EQ(loops.Count(), 1);
  // The forest from 0 reaches 6 from both sides; (6, 7) closes the ring.
  EXPECT_THAT(EdgePairs(loops.LoopAt(0)),
              ElementsAre(TStationPair(6, 7), TStationPair(7, 8), TStationPair(8, 9), TStationPair(9, 10),
                          TStationPair(10, 11), TStationPair(11, 0), TStationPair(0, 1), TStationPair(1, 2),
                          TStationPair(2, 3), TStationPair(3, 4), TStationPair(4, 5), TStationPair(5, 6)));
  ExpectWalks(g, loops);
  EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
}

TEST(MinimalLoops, MakeARepeatedShotALoopOfTwoEdges) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {1, 0}});
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  ASSERT_EQ(loops.Count(), 1);
  EXPECT_THAT(EdgePairs(loops.LoopAt(0)), ElementsAre(TStationPair(1, 0), TStationPair(0, 1)));
  EXPECT_EQ(loops.LoopAt(0).CommonStation, 1);
  EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
}

TEST(MinimalLoops, MakeAShotFromAStationToItselfALoopOfOneEdge) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {1, 1}});
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  ASSERT_EQ(loops.Count(), 1);
  EXPECT_THAT(EdgePairs(loops.LoopAt(0)), ElementsAre(TStationPair(1, 1)));
  EXPECT_EQ(loops.LoopAt(0).CommonStation, 1);
  EXPECT_EQ(loops.LoopAt(0).FirstPathCount, 1);
  EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
}

TEST(MinimalLoops, KeepLoopsThroughShotsBetweenTheSameStationsApart) {
  // Three shots between stations 0 and 1 and two from 1 to itself.
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {1, 1}, {0, 1}, {1, 1}, {1, 0}});
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  EXPECT_THAT(EdgeCounts(loops), ElementsAre(2, 2, 1, 1));
  ExpectWalks(g, loops);
  EXPECT_EQ(MeasureLoopSet(g, loops), (TLoopSetQuality{4, 6, 4, 4, 4}));
}

TEST(MinimalLoops, FindTheLoopsOfEveryPiece) {
  // A triangle, an isolated station, and a square whose lowest station is not
  // the network's most connected one.
  TSurveyGraph g;
  FillGraph(g,
            {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(0, 10, 0), MakeVec3(50, 50, 0), MakeVec3(100, 0, 0),
             MakeVec3(110, 0, 0), MakeVec3(110, 10, 0), MakeVec3(100, 10, 0)},
            {{0, 1}, {1, 2}, {2, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {4, 6}});
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  EXPECT_THAT(EdgeCounts(loops), ElementsAre(3, 3, 3));
  ExpectWalks(g, loops);
  const TLoopSetQuality quality = MeasureLoopSet(g, loops);
  EXPECT_EQ(quality.CycleRank, 3);
  EXPECT_TRUE(IsBasis(quality));
}

TEST(MinimalLoops, FindNoLoopsInATreeOrAnEmptyNetwork) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(20, 0, 0)}, {{0, 1}, {1, 2}});
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  FindLoopsMinimal(g, loops);
  EXPECT_EQ(loops.Count(), 0);
  g.Clear();
  loops.AddLoop().AddEdge({0, 1, 0});
  FindLoopsMinimal(g, loops);
  EXPECT_EQ(loops.Count(), 0);
  EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
}

TEST(MinimalLoops, SortLongestFirstAndRepeatExactly) {
  // A square with a tail loop of three: the square sorts first.
  TSurveyGraph g;
  FillGraph(g,
            {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(10, 10, 0), MakeVec3(0, 10, 0), MakeVec3(20, 0, 0),
             MakeVec3(20, 10, 0)},
            {{4, 5}, {5, 2}, {2, 4}, {0, 1}, {1, 2}, {2, 3}, {3, 0}});
  TLoopList first;
  TLoopList second;
  FindLoopsMinimal(g, first);
  FindLoopsMinimal(g, second);
  EXPECT_THAT(EdgeCounts(first), ElementsAre(4, 3));
  EXPECT_EQ(Snapshot(first), Snapshot(second));
}

TEST(MinimalLoops, MatchTheBruteForceMinimumOnSmallGrids) {
  for (int32_t columns = 2; columns <= 5; ++columns)
    for (int32_t rows = 2; rows <= 4; ++rows) {
      TSurveyGraph g;
      FillGrid(g, columns, rows);
      if (g.Edges.Count() > 28) continue;
      TLoopList loops;
      FindLoopsMinimal(g, loops);
      EXPECT_EQ(TotalEdges(loops), MinimumBasisLength(g)) << columns << " x " << rows;
    }
}

// Small random networks: holed grids with doubled shots and random networks
// with self-loops and repeated shots, up to 24 shots.
TEST(MinimalLoops, MatchTheBruteForceMinimumOnSmallRandomNetworks) {
  std::mt19937 random(7);
  int32_t networks = 0;
  int32_t withLoops = 0;
  for (int32_t trial = 0; trial < 600; ++trial) {
    TNetwork net;
    if (trial % 2 == 0)
      AddGrid(net, random, Draw(random, 2, 4), Draw(random, 2, 4), 0, false, Draw(random, 0, 30), false);
    else
      AddRandomNetwork(net, random, Draw(random, 1, 9), Draw(random, 0, 16), 5, false);
    if (net.Edges.size() > 24) continue;
    TSurveyGraph g;
    Fill(g, net);
    TLoopList loops;
    FindLoopsMinimal(g, loops);
    EXPECT_EQ(TotalEdges(loops), MinimumBasisLength(g)) << "trial " << trial;
    ++networks;
    if (loops.Count() > 1) ++withLoops;
  }
  EXPECT_GT(networks, 500);
  EXPECT_GT(withLoops, 300);
}

TEST(MinimalLoops, ReachTheExactMinimumOnSixtyPercentGrids) {
  // cyclorn-cli's --grid --columns N --rows N --density 60 --no-bordered; the
  // exact minimum cycle bases (1200 and 3828 shots) are igraph's.
  for (const auto& [n, minimum] : {std::pair{30, 1200}, {50, 3828}}) {
    TSurveyGraph g;
    RandomSeed = 0;
    BuildGriddedGraph(g, 50, 50, false, false, 40, n, n, 70, 70);
    TLoopList loops;
    FindLoopsMinimal(g, loops);
    EXPECT_EQ(TotalEdges(loops), minimum) << n << " x " << n;
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
  }
}

TEST(MinimalLoops, ReadTheShotsFromTheEdgeListAfterItWasTurnedAndSorted) {
  // Turning and sorting the edge list leaves the incident-edge lists as they
  // were, so they no longer name the right edges.
  int32_t staleEntries = 0;
  for (int number = 1; number <= 6; ++number) {
    SCOPED_TRACE("Grid-" + std::to_string(number));
    TSurveyGraph g;
    BuildProblemGrid(g, number);
    TLoopList before;
    FindLoopsMinimal(g, before);
    OptimizeEdgeList(g);
    for (int32_t v = 0; v < g.StationCount(); ++v)
      for (int32_t k = 0; k < g.IncidentEdges.ListOf(v).Count(); ++k) {
        const TEdgeRec named = g.Edges.GetEdge(g.IncidentEdges.ListOf(v).Get(k));
        if (!SameEdge(named, {v, g.Neighbors.ListOf(v).Get(k), 0})) ++staleEntries;
      }
    TLoopList after;
    FindLoopsMinimal(g, after);
    ExpectWalks(g, after);
    EXPECT_EQ(TotalEdges(after), TotalEdges(before));
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, after)));
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, before)));
  }
  EXPECT_GT(staleEntries, 20);
}

// Shots that only the Flags of a loop can tell apart: the third and later
// shots between two stations, and the second and later from a station to itself.
int64_t ShotsSharingTheirStations(const TSurveyGraph& g) {
  std::map<std::pair<int32_t, int32_t>, int32_t> shots;
  for (int32_t e = 0; e < g.Edges.Count(); ++e) {
    const TEdgeRec shot = g.Edges.GetEdge(e);
    ++shots[{std::min(shot.From, shot.To), std::max(shot.From, shot.To)}];
  }
  int64_t shared = 0;
  for (const auto& [pair, count] : shots) shared += std::max(0, count - (pair.first == pair.second ? 1 : 2));
  return shared;
}

TEST(MinimalLoops, FormABasisOnEveryGeneratedNetwork) {
  int64_t loopsSeen = 0;
  int64_t sharedShots = 0;
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE("generator seed " + std::to_string(seed));
    const TNetwork net = MakeNetwork(seed);
    TSurveyGraph g;
    Fill(g, net);
    TLoopList loops;
    FindLoopsMinimal(g, loops);
    ASSERT_NO_FATAL_FAILURE(ExpectWalks(g, loops));
    // The graph is only read.
    EXPECT_EQ(Items(g.Marks), net.Marks);
    EXPECT_EQ(Items(g.Edges.Flags), net.Flags);
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
    for (int32_t i = 1; i < loops.Count(); ++i) EXPECT_GE(loops.LoopAt(i - 1).Count(), loops.LoopAt(i).Count());
    loopsSeen += loops.Count();
    sharedShots += ShotsSharingTheirStations(g);
  }
  EXPECT_GT(loopsSeen, 4000);
  EXPECT_GT(sharedShots, 100);
}

}  // namespace
