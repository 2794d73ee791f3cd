// The quality of a loop set: closed walks, shots named by station pairs, the
// rank over GF(2) against a plain dense elimination, and the figures of the
// three loop searches on the problem networks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "generated_networks.h"
#include "loop_test_graphs.h"
#include "loops/loop_search.h"
#include "loops/sparse_gf2.h"
#include "sources/problem_grids.h"

namespace {

void AddLoop(TLoopList& loops, const std::vector<TStationPair>& edges) {
  TEdgeArray& loop = loops.AddLoop();
  for (const auto& [from, to] : edges) loop.AddEdge({from, to, 0});
}

// Three triangles in a chain: 0-1-2, 2-3-4 and 4-5-6, each sharing a station
// with the next.
void FillBowTie(TSurveyGraph& g) {
  std::vector<Vec3> positions;
  for (int32_t i = 0; i < 7; ++i) positions.push_back(MakeVec3(10.0 * i, 0, 0));
  FillGraph(g, positions, {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 2}, {4, 5}, {5, 6}, {6, 4}});
}

TEST(LoopQuality, CountsALoopClosedWhateverTheOrderOfItsEdges) {
  TSurveyGraph g;
  FillSquare(g);
  TLoopList loops;
  AddLoop(loops, {{3, 2}, {0, 3}, {1, 2}, {0, 1}});  // two tree paths, as fundamental loops are stored
  AddLoop(loops, {{0, 1}, {2, 3}, {1, 2}, {3, 0}});  // scrambled
  const TLoopSetQuality quality = MeasureLoopSet(g, loops);
  EXPECT_EQ(quality, (TLoopSetQuality{2, 8, 1, 1, 2}));
  EXPECT_FALSE(IsBasis(quality));
}

TEST(LoopQuality, RefusesLoopsThatAreNoClosedWalk) {
  TSurveyGraph g;
  FillBowTie(g);
  TLoopList loops;
  AddLoop(loops, {});                                                // empty
  AddLoop(loops, {{0, 1}, {1, 2}});                                  // a path
  AddLoop(loops, {{0, 1}, {1, 2}, {2, 0}, {4, 5}, {5, 6}, {6, 4}});  // two triangles apart
  AddLoop(loops, {{0, 1}, {1, 0}});                                  // a shot used twice, surveyed once
  AddLoop(loops, {{0, 1}, {1, 7}, {7, 0}});                          // a station the network lacks
  AddLoop(loops, {{0, 1}, {1, 3}, {3, 0}});                          // stations that no shot joins
  const TLoopSetQuality quality = MeasureLoopSet(g, loops);
  EXPECT_EQ(quality.Closed, 0);
  EXPECT_EQ(quality.Independent, 0);
  EXPECT_EQ(quality.Edges, 16);
  EXPECT_EQ(quality.CycleRank, 3);
}

TEST(LoopQuality, CountsAFigureEightAsOneClosedLoop) {
  TSurveyGraph g;
  FillBowTie(g);
  TLoopList loops;
  AddLoop(loops, {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 2}});
  AddLoop(loops, {{2, 3}, {3, 4}, {4, 2}});
  AddLoop(loops, {{0, 1}, {1, 2}, {2, 0}});  // the sum of the two before
  AddLoop(loops, {{6, 4}, {5, 6}, {4, 5}});
  const TLoopSetQuality quality = MeasureLoopSet(g, loops);
  EXPECT_EQ(quality, (TLoopSetQuality{4, 15, 3, 3, 4}));
  EXPECT_FALSE(IsBasis(quality));
}

TEST(LoopQuality, NamesTheKthPairOfALoopAfterTheKthShotBetweenThem) {
  // Shots 0 and 2 join stations 0 and 1; shot 1 runs from 1 to itself.
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {1, 1}, {1, 0}});
  TLoopList loops;
  AddLoop(loops, {{1, 0}, {0, 1}});
  AddLoop(loops, {{1, 1}});
  EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops)));
  // A loop round the self-loop through its parent, as the fundamental loops
  // hold it, needs the repeated shot to be closed.
  AddLoop(loops, {{1, 1}, {0, 1}, {0, 1}});
  EXPECT_EQ(MeasureLoopSet(g, loops), (TLoopSetQuality{3, 6, 2, 2, 3}));
  TSurveyGraph single;
  FillGraph(single, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {1, 1}});
  EXPECT_EQ(MeasureLoopSet(single, loops), (TLoopSetQuality{3, 6, 1, 1, 1}));
}

TEST(LoopQuality, TellsShotsBetweenTheSameStationsApartByTheShotsTheFlagsName) {
  // Three shots join stations 0 and 1: two independent loops.
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {0, 1}, {1, 0}});
  TLoopList loops;
  FindLoopsMinimal(g, loops);
  ASSERT_EQ(loops.Count(), 2);
  // One loop closes with the second shot, the other with the third (from 1 to 0).
  EXPECT_THAT((std::vector{EdgePairs(loops.LoopAt(0)), EdgePairs(loops.LoopAt(1))}),
              ::testing::UnorderedElementsAre(::testing::ElementsAre(TStationPair(0, 1), TStationPair(1, 0)),
                                              ::testing::ElementsAre(TStationPair(1, 0), TStationPair(0, 1))));
  EXPECT_EQ(MeasureLoopSet(g, loops), (TLoopSetQuality{2, 4, 2, 2, 2}));
  // As station pairs alone both loops read "0-1 twice", the first two shots.
  for (int32_t i = 0; i < loops.Count(); ++i) loops.LoopAt(i).SetAllFlags(0);
  EXPECT_EQ(MeasureLoopSet(g, loops), (TLoopSetQuality{2, 4, 1, 2, 2}));
}

TEST(LoopQuality, CountsLoopsThroughNamedShotsAsTheirSum) {
  TSurveyGraph g;
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}, {0, 1}, {1, 0}});
  TLoopList loops;
  // Shots 0+2, 0+1 and 1+2: the third is the sum of the other two.
  for (const auto& [first, second] : {std::pair{1, 3}, {1, 2}, {2, 3}}) {
    AddLoop(loops, {{0, 1}, {1, 0}});
    loops.LoopAt(loops.Count() - 1).Flags.Put(0, first);
    loops.LoopAt(loops.Count() - 1).Flags.Put(1, second);
  }
  EXPECT_EQ(MeasureLoopSet(g, loops), (TLoopSetQuality{3, 6, 2, 2, 3}));
}

TEST(LoopQuality, ReadsStationPairsWhenTheFlagsNameNoFittingShots) {
  // A square loop whose Flags name, in turn: nothing for one edge, a shot past
  // the end, a negative one, the same shot twice, a shot joining other stations.
  TSurveyGraph g;
  FillSquare(g);
  const std::vector<std::vector<int32_t>> flagSets = {
      {1, 2, 3, 0}, {1, 2, 3, 5}, {1, 2, 3, -4}, {1, 2, 3, 3}, {1, 2, 4, 3}};
  for (const std::vector<int32_t>& flags : flagSets) {
    TLoopList loops;
    AddLoop(loops, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    for (int32_t k = 0; k < 4; ++k) loops.LoopAt(0).Flags.Put(k, flags[static_cast<size_t>(k)]);
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, loops))) << ::testing::PrintToString(flags);
  }
}

TEST(LoopQuality, CallsABasisOnlyWhenAllFourCountsAgree) {
  EXPECT_TRUE(IsBasis({0, 0, 0, 0, 0}));
  EXPECT_TRUE(IsBasis({5, 20, 5, 5, 5}));
  EXPECT_FALSE(IsBasis({5, 20, 4, 5, 5}));
  EXPECT_FALSE(IsBasis({5, 20, 5, 6, 5}));
  EXPECT_FALSE(IsBasis({5, 20, 5, 5, 4}));
  EXPECT_FALSE(IsBasis({6, 20, 5, 5, 5}));
}

TEST(SparseGf2Basis, ReducesAtTheHighestColumn) {
  TSparseGf2Basis basis(6);
  EXPECT_TRUE(basis.Insert({0, 5}));
  EXPECT_TRUE(basis.Insert({1, 5}));
  EXPECT_FALSE(basis.Insert({0, 1}));  // the sum of the two
  EXPECT_TRUE(basis.Insert({2}));
  EXPECT_FALSE(basis.Insert({}));
  EXPECT_FALSE(basis.Insert({0, 2, 5}));
  EXPECT_EQ(basis.Rank(), 3);
}

// The reference: each loop resolved to shots by a plain scan of the edge
// list, closed walks found by degree and a flood fill, rank by dense rows.
struct TDenseReference {
  int32_t Closed = 0;
  int32_t Rank = 0;
};

TDenseReference DenseMeasure(const TSurveyGraph& g, const TLoopList& loops) {
  const int32_t m = g.Edges.Count();
  const int32_t n = g.StationCount();
  std::vector<std::vector<uint8_t>> rows;
  TDenseReference result;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    std::vector<uint8_t> used(static_cast<size_t>(m), 0);
    bool named = loop.Count() > 0;
    for (int32_t k = 0; k < loop.Count() && named; ++k) {
      const TEdgeRec pair = loop.GetEdge(k);
      int32_t shot = -1;
      for (int32_t e = 0; e < m && shot < 0; ++e)
        if (used[static_cast<size_t>(e)] == 0 && SameEdge(g.Edges.GetEdge(e), pair)) shot = e;
      if (shot < 0)
        named = false;
      else
        used[static_cast<size_t>(shot)] = 1;
    }
    if (!named) continue;
    std::vector<int32_t> degree(static_cast<size_t>(n), 0);
    std::vector<int32_t> label(static_cast<size_t>(n));
    std::iota(label.begin(), label.end(), 0);
    for (int32_t e = 0; e < m; ++e)
      if (used[static_cast<size_t>(e)] != 0) {
        ++degree[static_cast<size_t>(g.Edges.Froms.Get(e))];
        ++degree[static_cast<size_t>(g.Edges.Tos.Get(e))];
      }
    // Flood the lowest label along used shots until nothing changes.
    for (bool changed = true; changed;) {
      changed = false;
      for (int32_t e = 0; e < m; ++e) {
        if (used[static_cast<size_t>(e)] == 0) continue;
        int32_t& a = label[static_cast<size_t>(g.Edges.Froms.Get(e))];
        int32_t& b = label[static_cast<size_t>(g.Edges.Tos.Get(e))];
        if (a != b) {
          a = b = std::min(a, b);
          changed = true;
        }
      }
    }
    bool closed = true;
    int32_t piece = -1;
    for (int32_t v = 0; v < n; ++v) {
      if (degree[static_cast<size_t>(v)] == 0) continue;
      if (degree[static_cast<size_t>(v)] % 2 != 0) closed = false;
      if (piece < 0) piece = label[static_cast<size_t>(v)];
      if (label[static_cast<size_t>(v)] != piece) closed = false;
    }
    if (!closed) continue;
    ++result.Closed;
    for (const auto& row : rows) {
      const auto lead = std::find(row.begin(), row.end(), 1) - row.begin();
      if (used[static_cast<size_t>(lead)] != 0)
        for (int32_t e = 0; e < m; ++e) used[static_cast<size_t>(e)] ^= row[static_cast<size_t>(e)];
    }
    if (std::find(used.begin(), used.end(), 1) == used.end()) continue;
    // Keep the rows reduced against each other so each lead is alone in its column.
    const auto lead = std::find(used.begin(), used.end(), 1) - used.begin();
    for (auto& row : rows)
      if (row[static_cast<size_t>(lead)] != 0)
        for (int32_t e = 0; e < m; ++e) row[static_cast<size_t>(e)] ^= used[static_cast<size_t>(e)];
    rows.push_back(used);
    ++result.Rank;
  }
  return result;
}

// Loop sets mixing the three searches' loops, copies of them, sums of two
// (as station pairs), random pieces of loops and empty loops.
void AddMixedLoops(const TSurveyGraph& g, std::mt19937& random, TLoopList& mixed) {
  TLoopList found;
  const auto copy = [&](const TEdgeArray& loop, int32_t from, int32_t to) {
    TEdgeArray& added = mixed.AddLoop();
    for (int32_t k = from; k < to; ++k) added.AddEdge(loop.GetEdge(k));
    return &added;
  };
  FindLoopsMinimal(g, found);
  for (int32_t i = 0; i < found.Count(); ++i) {
    const TEdgeArray& loop = found.LoopAt(i);
    switch (Draw(random, 0, 5)) {
      case 0:
        copy(loop, 0, loop.Count());
        copy(loop, 0, loop.Count());
        break;
      case 1: {
        TEdgeArray* sum = copy(loop, 0, loop.Count());
        const TEdgeArray& other = found.LoopAt(Draw(random, 0, found.Count() - 1));
        for (int32_t k = 0; k < other.Count(); ++k) sum->AddEdge(other.GetEdge(k));
        break;
      }
      case 2:
        copy(loop, 0, Draw(random, 0, loop.Count()));
        break;
      case 3:
        mixed.AddLoop();
        break;
      default:
        copy(loop, 0, loop.Count());
        break;
    }
  }
}

TEST(LoopQuality, AgreesWithADenseEliminationOnRandomLoopSets) {
  std::mt19937 random(11);
  int32_t dependentSets = 0;
  for (uint32_t seed = 1; seed <= 240; ++seed) {
    SCOPED_TRACE("generator seed " + std::to_string(seed));
    const TNetwork net = MakeNetwork(seed);
    TSurveyGraph g;
    Fill(g, net);
    TLoopList loops;
    AddMixedLoops(g, random, loops);
    TLoopList searched;
    // The other two searches' loops too, unsorted fundamental loops included.
    seed % 2 == 0 ? FindLoopsOverlap(g, searched, seed % 4 == 0) : FindLoopsShortest(g, searched, seed % 3 == 0);
    for (int32_t i = 0; i < searched.Count(); ++i) {
      TEdgeArray& loop = loops.AddLoop();
      for (int32_t k = 0; k < searched.LoopAt(i).Count(); ++k) loop.AddEdge(searched.LoopAt(i).GetEdge(k));
    }
    const TLoopSetQuality quality = MeasureLoopSet(g, loops);
    const TDenseReference expected = DenseMeasure(g, loops);
    ASSERT_EQ(quality.Closed, expected.Closed);
    ASSERT_EQ(quality.Independent, expected.Rank);
    if (quality.Independent < quality.Closed) ++dependentSets;
  }
  EXPECT_GT(dependentSets, 100);
}

enum TMethod { kFundamental, kShortest, kOverlap, kMinimal };

TLoopSetQuality ProblemQuality(int number, TMethod method) {
  TSurveyGraph g;
  BuildProblemGrid(g, number);
  TLoopList loops;
  if (method == kFundamental) FindLoopsShortest(g, loops, false);
  if (method == kShortest) FindLoopsShortest(g, loops, true);
  if (method == kOverlap) FindLoopsOverlap(g, loops, true);
  if (method == kMinimal) FindLoopsMinimal(g, loops);
  return MeasureLoopSet(g, loops);
}

struct TProblemFigures {
  int Number;
  TLoopSetQuality Fundamental, Shortest, Overlap, Minimal;
};

// On "Grid-1" the minimal loops are 10-11-6-1-0-5 round the missing shot 5-6
// and the squares 11-12-7-6 and 6-7-2-1: 14 edges; the fundamental loops of
// the breadth-first tree from station 7 go the long way once (16).
constexpr TProblemFigures kProblemFigures[] = {
    {1, {3, 16, 3, 3, 3}, {3, 14, 3, 3, 3}, {3, 14, 3, 3, 3}, {3, 14, 3, 3, 3}},
    {2, {10, 48, 10, 10, 10}, {10, 44, 10, 10, 10}, {10, 44, 10, 10, 10}, {10, 44, 10, 10, 10}},
    {3, {3, 16, 3, 3, 3}, {3, 14, 3, 3, 3}, {3, 14, 3, 3, 3}, {3, 14, 3, 3, 3}},
    {4, {3, 26, 3, 3, 3}, {3, 20, 3, 3, 3}, {3, 20, 3, 3, 3}, {3, 20, 3, 3, 3}},
    {5, {4, 24, 4, 4, 4}, {4, 20, 4, 4, 4}, {4, 20, 4, 4, 4}, {4, 20, 4, 4, 4}},
    {6, {6, 40, 6, 6, 6}, {6, 32, 6, 6, 6}, {6, 32, 6, 6, 6}, {6, 32, 6, 6, 6}},
};

TEST(LoopQuality, GivesTheProblemNetworksTheirFigures) {
  for (const TProblemFigures& figures : kProblemFigures) {
    SCOPED_TRACE("Grid-" + std::to_string(figures.Number));
    EXPECT_EQ(ProblemQuality(figures.Number, kFundamental), figures.Fundamental);
    EXPECT_EQ(ProblemQuality(figures.Number, kShortest), figures.Shortest);
    EXPECT_EQ(ProblemQuality(figures.Number, kOverlap), figures.Overlap);
    EXPECT_EQ(ProblemQuality(figures.Number, kMinimal), figures.Minimal);
    EXPECT_TRUE(IsBasis(figures.Minimal));
  }
}

}  // namespace
