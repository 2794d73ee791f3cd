// The minimum loop basis: its total against a brute-force minimum and an
// independent shortest-path construction, the measured networks where the
// near-minimum search falls short, the fixed choice among equally short
// loops, and the choice between the two searches.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "generated_networks.h"
#include "loop_test_graphs.h"
#include "loops/loop_search.h"
#include "minimum_references.h"
#include "sources/graph_builders.h"
#include "sources/random_int.h"

namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;

std::vector<int32_t> EdgeCounts(const TLoopList& loops) {
  std::vector<int32_t> counts;
  for (int32_t i = 0; i < loops.Count(); ++i) counts.push_back(loops.LoopAt(i).Count());
  return counts;
}

int64_t TotalEdges(const TLoopList& loops) {
  int64_t total = 0;
  for (int32_t i = 0; i < loops.Count(); ++i) total += loops.LoopAt(i).Count();
  return total;
}

// The two searches on one network.
struct TBoth {
  TLoopList Minimum, NearMinimum;
  TMinimalBasis MinimumKind, NearKind;
  explicit TBoth(const TSurveyGraph& g)
      : MinimumKind(FindLoopsMinimal(g, Minimum, TMinimalSearch::msMinimum)),
        NearKind(FindLoopsMinimal(g, NearMinimum, TMinimalSearch::msNearMinimum)) {}
};

TEST(MinimumLoopBasis, MatchesTheBruteForceMinimumWhereTheNearMinimumFallsShort) {
  // Holed grids and sparse random networks with repeated shots and shots from
  // a station to itself, small enough to list every simple cycle.
  std::mt19937 random(11);
  int32_t networks = 0;
  int32_t shortened = 0;
  for (int32_t trial = 0; trial < 3000; ++trial) {
    TNetwork net;
    if (trial % 2 == 0)
      AddGrid(net, random, Draw(random, 3, 5), Draw(random, 3, 6), 0, trial % 4 == 0, Draw(random, 10, 35), false);
    else
      AddRandomNetwork(net, random, Draw(random, 6, 14), Draw(random, 8, 24), 5, false);
    if (net.Edges.size() > 40) continue;
    TSurveyGraph g;
    Fill(g, net);
    const TBoth both(g);
    const int64_t minimum = MinimumBasisLength(g);
    EXPECT_EQ(TotalEdges(both.Minimum), minimum) << "trial " << trial;
    EXPECT_GE(TotalEdges(both.NearMinimum), minimum) << "trial " << trial;
    ++networks;
    if (TotalEdges(both.NearMinimum) > minimum) ++shortened;
  }
  EXPECT_GT(networks, 2800);
  // Networks where only the minimum search reaches the minimum.
  EXPECT_GT(shortened, 10);
}

// Every network the generated-network tests build, by default counts: the
// total is the shortest-path construction's, the loops are a basis, and
// where the near-minimum search reached the same total the loops are its
// loops exactly (basis loops first among equally short ones).
TEST(MinimumLoopBasis, MatchesTheShortestPathConstructionOnEveryGeneratedNetwork) {
  int32_t shortened = 0;
  int64_t loopsSeen = 0;
  for (uint32_t seed = 1; seed <= 1000 + 251; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const TNetwork net = seed <= 1000 ? MakeNetwork(seed) : MakeStressNetwork(seed - 1000);
    TSurveyGraph g;
    Fill(g, net);
    const TBoth both(g);
    EXPECT_EQ(both.MinimumKind, TMinimalBasis::mbMinimum);
    EXPECT_EQ(both.NearKind, TMinimalBasis::mbNearMinimum);
    const int64_t minimum = TotalEdges(both.Minimum);
    ASSERT_EQ(minimum, ShortestPathMinimumLength(g));
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, both.Minimum)));
    if (TotalEdges(both.NearMinimum) == minimum)
      EXPECT_EQ(Snapshot(both.Minimum), Snapshot(both.NearMinimum));
    else
      ++shortened;
    // The graph is only read.
    EXPECT_EQ(Items(g.Marks), net.Marks);
    EXPECT_EQ(Items(g.Edges.Flags), net.Flags);
    loopsSeen += both.Minimum.Count();
  }
  EXPECT_GT(shortened, 20);
  EXPECT_GT(loopsSeen, 20000);
}

TEST(MinimumLoopBasis, IsTheNearMinimumSearchsBasisOnFullGrids) {
  // Where the near-minimum search gives only squares, the minimum one keeps
  // its loops as they are.
  for (int32_t columns = 2; columns <= 30; columns += 4)
    for (int32_t rows : {2, 7, columns}) {
      SCOPED_TRACE(std::to_string(columns) + " x " + std::to_string(rows));
      TSurveyGraph g;
      RandomSeed = 0;
      BuildGriddedGraph(g, 50, 50, true, false, 0, rows, columns, 70, 70);
      const TBoth both(g);
      EXPECT_EQ(TotalEdges(both.Minimum), 4 * (columns - 1) * (rows - 1));
      EXPECT_EQ(Snapshot(both.Minimum), Snapshot(both.NearMinimum));
    }
}

TEST(MinimumLoopBasis, ReachesTheExactMinimumOnTheMeasuredNetworks) {
  // The exact minima are igraph's (igraph_minimum_cycle_basis); the
  // near-minimum totals are the fast search's on the same networks.
  struct TCase {
    bool Gridded;
    int32_t Columns, Rows, Width, Height;
    int64_t Minimum, NearMinimum;
  };
  for (const TCase& c : {TCase{true, 6, 15, 0, 0, 78, 80}, TCase{true, 40, 40, 0, 0, 2386, 2392},
                         TCase{false, 20, 20, 1024, 768, 548, 554}, TCase{false, 40, 40, 1024, 768, 2704, 2732},
                         TCase{false, 60, 40, 2000, 2000, 4544, 4604}}) {
    SCOPED_TRACE(std::to_string(c.Columns) + " x " + std::to_string(c.Rows));
    TSurveyGraph g;
    RandomSeed = 0;
    if (c.Gridded)
      BuildGriddedGraph(g, 50, 50, false, false, 40, c.Rows, c.Columns, 70, 70);
    else
      BuildNonGriddedGraph(g, c.Columns * c.Rows, c.Width, 0, c.Height);
    const TBoth both(g);
    EXPECT_EQ(TotalEdges(both.Minimum), c.Minimum);
    EXPECT_EQ(TotalEdges(both.NearMinimum), c.NearMinimum);
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, both.Minimum)));
  }
}

// A columns x columns grid without the shots inside a square of side hole in
// its middle, and a passage of passage shots from its first station to its last.
void FillGridWithHoleAndPassage(TSurveyGraph& g, int32_t columns, int32_t hole, int32_t passage) {
  std::vector<Vec3> positions;
  std::vector<TStationPair> shots;
  const int32_t low = (columns - hole) / 2;
  const int32_t high = low + hole;
  const auto within = [&](int32_t r, int32_t c) { return r > low && r < high && c > low && c < high; };
  for (int32_t r = 0; r < columns; ++r)
    for (int32_t c = 0; c < columns; ++c) positions.push_back(MakeVec3(10.0 * c, 10.0 * r, 0));
  for (int32_t r = 0; r < columns; ++r)
    for (int32_t c = 0; c < columns; ++c) {
      if (c + 1 < columns && !(r > low && r < high && c >= low && c < high) && !within(r, c))
        shots.emplace_back(r * columns + c, r * columns + c + 1);
      if (r + 1 < columns && !(c > low && c < high && r >= low && r < high) && !within(r, c))
        shots.emplace_back(r * columns + c, (r + 1) * columns + c);
    }
  int32_t from = 0;
  for (int32_t k = 1; k < passage; ++k) {
    positions.push_back(MakeVec3(-10.0 * k, -10.0, 0));
    shots.emplace_back(from, static_cast<int32_t>(positions.size()) - 1);
    from = static_cast<int32_t>(positions.size()) - 1;
  }
  if (passage > 0) shots.emplace_back(from, columns * columns - 1);
  FillGraph(g, positions, shots);
}

TEST(MinimumLoopBasis, KeepsLongLoopsNoShorterLoopCanReplace) {
  // Around the hole and along the passage the loops are long, and no shorter
  // loop can stand for them; the squares are the rest.
  for (const auto& [columns, hole, passage] :
       {std::tuple{8, 4, 0}, std::tuple{9, 3, 11}, std::tuple{10, 0, 30}, std::tuple{40, 20, 0},
        std::tuple{40, 0, 100}, std::tuple{40, 16, 60}}) {
    SCOPED_TRACE(std::to_string(columns) + " " + std::to_string(hole) + " " + std::to_string(passage));
    TSurveyGraph g;
    FillGridWithHoleAndPassage(g, columns, hole, passage);
    const TBoth both(g);
    const int64_t squares = (columns - 1) * (columns - 1) - hole * hole;
    const int64_t minimum = 4 * squares + (hole > 0 ? 4 * hole : 0) + (passage > 0 ? passage + 2 * (columns - 1) : 0);
    EXPECT_EQ(TotalEdges(both.Minimum), minimum);
    if (columns <= 10) {
      EXPECT_EQ(ShortestPathMinimumLength(g), minimum);
    }
    EXPECT_TRUE(IsBasis(MeasureLoopSet(g, both.Minimum)));
  }
}

TEST(MinimumLoopBasis, TakesTheFirstOfEquallyShortLoopsAndRepeatsExactly) {
  // cyclorn-cli loops --grid --columns 6 --rows 15 --density 60 --no-bordered:
  // the near-minimum search's 12-shot loop gives way to a 10-shot loop, the
  // first of several found from the first-ranked station of a feedback set.
  TSurveyGraph g;
  RandomSeed = 0;
  BuildGriddedGraph(g, 50, 50, false, false, 40, 15, 6, 70, 70);
  const TBoth both(g);
  EXPECT_THAT(EdgeCounts(both.NearMinimum), ElementsAre(12, 10, 10, 6, 6, 4, 4, 4, 4, 4, 4, 4, 4, 4));
  EXPECT_THAT(EdgeCounts(both.Minimum), ElementsAre(10, 10, 10, 6, 6, 4, 4, 4, 4, 4, 4, 4, 4, 4));
  // The two basis loops of ten shots stay; the new one starts with its own shot.
  EXPECT_EQ(Snapshot(both.NearMinimum)[1], Snapshot(both.Minimum)[0]);
  EXPECT_EQ(Snapshot(both.NearMinimum)[2], Snapshot(both.Minimum)[1]);
  const TEdgeArray& added = both.Minimum.LoopAt(2);
  EXPECT_THAT(EdgePairs(added), ElementsAre(TStationPair(43, 37), TStationPair(37, 36), TStationPair(36, 42),
                                            TStationPair(42, 48), TStationPair(48, 54), TStationPair(54, 55),
                                            TStationPair(55, 49), TStationPair(49, 50), TStationPair(50, 44),
                                            TStationPair(44, 43)));
  EXPECT_EQ(added.CommonStation, 43);
  EXPECT_EQ(added.FirstPathCount, 1);
  EXPECT_EQ(added.LoopValue, 0);
  for (int32_t k = 0; k < added.Count(); ++k)
    EXPECT_TRUE(SameEdge(g.Edges.GetEdge(added.Flags.Get(k) - 1), added.GetEdge(k))) << "edge " << k;
  // Other networks in between leave nothing behind.
  TSurveyGraph other;
  FillGrid(other, 5, 5);
  TLoopList scratch;
  FindLoopsMinimal(other, scratch);
  TLoopList again;
  FindLoopsMinimal(g, again);
  EXPECT_EQ(Snapshot(again), Snapshot(both.Minimum));
}

TEST(MinimalSearchChoice, GivesTheMinimumUpToTwentyThousandLoopsAndSaysWhichItGave) {
  EXPECT_THAT(MinimalBasisName(TMinimalBasis::mbMinimum), StrEq("minimum"));
  EXPECT_THAT(MinimalBasisName(TMinimalBasis::mbNearMinimum), StrEq("near-minimum"));
  EXPECT_EQ(kMinimumBasisLoopLimit, 20000);
  // 141 x 141 squares = 19,881 loops; 142 x 142 = 20,164.
  for (const auto& [n, automatic] :
       {std::pair{142, TMinimalBasis::mbMinimum}, std::pair{143, TMinimalBasis::mbNearMinimum}}) {
    SCOPED_TRACE(n);
    TSurveyGraph g;
    FillGrid(g, n, n);
    TLoopList loops;
    EXPECT_EQ(FindLoopsMinimal(g, loops), automatic);
    EXPECT_EQ(loops.Count(), (n - 1) * (n - 1));
    EXPECT_EQ(FindLoopsMinimal(g, loops, TMinimalSearch::msNearMinimum), TMinimalBasis::mbNearMinimum);
    EXPECT_EQ(FindLoopsMinimal(g, loops, TMinimalSearch::msMinimum), TMinimalBasis::mbMinimum);
    EXPECT_EQ(TotalEdges(loops), 4 * (n - 1) * (n - 1));
  }
  // A network without loops has the empty minimum basis.
  TSurveyGraph tree;
  FillGraph(tree, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0)}, {{0, 1}});
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  EXPECT_EQ(FindLoopsMinimal(tree, loops), TMinimalBasis::mbMinimum);
  EXPECT_EQ(loops.Count(), 0);
}

}  // namespace
