#include "sources/graph_builders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/errors.h"
#include "graph_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The "Build Gridded Graph" command on a fresh generator with the given page values.
void BuildGrid(TSurveyGraph& graph, int32_t columns, int32_t rows, int32_t density, bool bordered, bool skipRows,
               int32_t spaceX = 70, int32_t spaceY = 70) {
  graph.Clear();
  BuildGriddedGraph(graph, 50, 50, bordered, skipRows, 100 - density, rows, columns, spaceY, spaceX);
}

TEST(RandomInt, FollowsTheLinearCongruentialSequenceFromStateZero) {
  RandomSeed = 0;
  EXPECT_EQ(RandomInt(100), 0);  // state 1
  EXPECT_EQ(RandomSeed, 1u);
  EXPECT_EQ(RandomInt(100), 3);  // state 134775814: 134775814 x 100 >> 32
  EXPECT_EQ(RandomSeed, 134775814u);
  const uint32_t next = 134775814u * 134775813u + 1u;
  EXPECT_EQ(RandomInt(1000000), static_cast<int32_t>((static_cast<uint64_t>(next) * 1000000u) >> 32));
  EXPECT_EQ(RandomSeed, next);
  EXPECT_EQ(RandomInt(0), 0);
  EXPECT_EQ(RandomSeed, next * 134775813u + 1u);  // a zero range still advances the state
}

TEST(RandomInt, StaysBelowItsRange) {
  RandomSeed = 0;
  for (int i = 0; i < 10000; ++i) {
    const int32_t v = RandomInt(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
  }
}

TEST(StationName, CountsInSpreadsheetColumnLetters) {
  const std::pair<int32_t, const char*> cases[] = {{0, "A"},      {25, "Z"},      {26, "AA"},     {27, "AB"},
                                                   {51, "AZ"},    {52, "BA"},     {701, "ZZ"},    {702, "AAA"},
                                                   {2499, "CRD"}, {18277, "ZZZ"}, {18278, "AAAA"}};
  for (const auto& [k, name] : cases) EXPECT_EQ(StationName(k), name) << k;
  EXPECT_EQ(StationName(-1), "");
}

TEST(BuildGriddedGraph, FirstDefaultBuildAfterStartGivesTheKnownNetwork) {
  RandomSeed = 0;
  TSurveyGraph graph;
  BuildGrid(graph, 3, 2, 100, true, false);
  EXPECT_THAT(StationLines(graph),
              ElementsAre("A 50 50 0", "B 120 50 0", "C 190 50 0", "D 50 120 0", "E 120 120 0", "F 190 120 0"));
  EXPECT_THAT(EdgeNames(graph), ElementsAre("A-B", "B-C", "E-D", "E-F", "A-D", "B-E", "F-C"));
  EXPECT_EQ(graph.MinCorner, MakeVec3(50, 50, 0));
  EXPECT_EQ(graph.MaxCorner, MakeVec3(190, 120, 0));
}

TEST(BuildGriddedGraph, OneByOneGridHasOneStationAndDrawsNothing) {
  RandomSeed = 77;
  TSurveyGraph graph;
  BuildGrid(graph, 1, 1, 100, true, false);
  EXPECT_THAT(StationLines(graph), ElementsAre("A 50 50 0"));
  EXPECT_EQ(graph.Edges.Count(), 0);
  EXPECT_EQ(RandomSeed, 77u);
}

TEST(BuildGriddedGraph, SingleBorderedRowMakesEveryEdgeWhateverTheDensity) {
  RandomSeed = 0;
  TSurveyGraph graph;
  BuildGrid(graph, 6, 1, 0, true, false);
  ASSERT_EQ(graph.Edges.Count(), 5);
  for (int32_t e = 0; e < 5; ++e) {
    const TEdgeRec edge = graph.Edges.GetEdge(e);
    EXPECT_EQ(std::min(edge.From, edge.To), e);
    EXPECT_EQ(std::max(edge.From, edge.To), e + 1);
  }
}

TEST(BuildGriddedGraph, SkippedRowsKeepHorizontalEdgesOnlyInEveryThirdRow) {
  RandomSeed = 0;
  TSurveyGraph graph;
  BuildGrid(graph, 4, 7, 100, true, true);
  std::set<int32_t> horizontalRows;
  int verticals = 0;
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
    const TEdgeRec edge = graph.Edges.GetEdge(e);
    if (edge.From / 4 == edge.To / 4)
      horizontalRows.insert(edge.From / 4);
    else
      ++verticals;
  }
  EXPECT_THAT(horizontalRows, ElementsAre(0, 3, 6));
  EXPECT_EQ(graph.Edges.Count(), 3 * 3 + verticals);
  EXPECT_EQ(verticals, 4 * 6);

  // With two rows the bordered bottom row gets no horizontal edge.
  BuildGrid(graph, 3, 2, 100, true, true);
  EXPECT_EQ(graph.Edges.Count(), 2 + 3);
  for (int32_t e = 0; e < graph.Edges.Count(); ++e)
    EXPECT_LT(std::min(graph.Edges.Froms.Get(e), graph.Edges.Tos.Get(e)), 3);
}

TEST(BuildGriddedGraph, ZeroDensityBorderedGivesTheOuterRing) {
  RandomSeed = 0;
  TSurveyGraph graph;
  BuildGrid(graph, 4, 4, 0, true, false);
  EXPECT_EQ(graph.Edges.Count(), 12);
  for (const int32_t inner : {5, 6, 9, 10}) EXPECT_EQ(graph.Neighbors.ListOf(inner).Count(), 0) << inner;
  EXPECT_EQ(PieceCount(graph), 5);
  // Without the border nothing is made, but every candidate still drew once.
  RandomSeed = 0;
  BuildGrid(graph, 4, 4, 0, false, false);
  EXPECT_EQ(graph.Edges.Count(), 0);
  uint32_t expected = 0;
  for (int i = 0; i < 24; ++i) expected = expected * 134775813u + 1u;
  EXPECT_EQ(RandomSeed, expected);
}

TEST(BuildGriddedGraph, FullDensityJoinsEveryNeighbourPairOnce) {
  RandomSeed = 5;
  TSurveyGraph graph;
  BuildGrid(graph, 5, 4, 100, false, false, 30, 40);
  EXPECT_EQ(graph.Edges.Count(), 4 * 4 + 5 * 3);
  EXPECT_EQ(graph.Positions.Get(19), MakeVec3(50 + 4 * 30, 50 + 3 * 40, 0));
  // Horizontal edges first by rows, then vertical ones by columns.
  const TEdgeRec fifth = graph.Edges.GetEdge(4);
  EXPECT_EQ(std::min(fifth.From, fifth.To), 5);
  const TEdgeRec firstVertical = graph.Edges.GetEdge(16);
  EXPECT_EQ(std::min(firstVertical.From, firstVertical.To), 0);
  EXPECT_EQ(std::max(firstVertical.From, firstVertical.To), 5);
  const TEdgeRec secondVertical = graph.Edges.GetEdge(17);
  EXPECT_EQ(std::min(secondVertical.From, secondVertical.To), 5);
}

TEST(JitterStations, MovesEveryStationLeftAndUpByOneToTheRoundedAmount) {
  RandomSeed = 0;
  TSurveyGraph graph;
  BuildGrid(graph, 10, 10, 100, true, false);
  TSurveyGraph grid;
  BuildGrid(grid, 10, 10, 100, true, false);
  const Vec3 minCorner = graph.MinCorner;
  JitterStations(graph, 70, 70, 50);
  bool sawLargest = false;
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const Vec3 moved = Sub3(grid.Positions.Get(i), graph.Positions.Get(i));
    EXPECT_GE(moved.X, 1);
    EXPECT_LE(moved.X, 35);
    EXPECT_GE(moved.Y, 1);
    EXPECT_LE(moved.Y, 35);
    EXPECT_EQ(moved.Z, 0);
    sawLargest = sawLargest || moved.X == 35 || moved.Y == 35;
  }
  EXPECT_TRUE(sawLargest);
  EXPECT_EQ(graph.MinCorner, minCorner);
}

TEST(JitterStations, RoundsHalvesUpAndDrawsXBeforeY) {
  TSurveyGraph graph;
  graph.Clear();
  graph.AddStation("A", MakeVec3(100, 100, 5));
  RandomSeed = 0;
  JitterStations(graph, 10, 30, 5);  // 0.5 rounds to 1, 1.5 to 2
  RandomSeed = 0;
  const int32_t dx = RandomInt(1) - 1;
  const int32_t dy = RandomInt(2) - 2;
  EXPECT_EQ(graph.Positions.Get(0), MakeVec3(100 + dx, 100 + dy, 5));
  EXPECT_EQ(dx, -1);
}

TEST(BuildNonGriddedGraph, KeepsStationsInsideTheAreaAndNeverRepeatsAPair) {
  RandomSeed = 0;
  TSurveyGraph graph;
  graph.Clear();
  BuildNonGriddedGraph(graph, 400, 300, 0, 200);
  ASSERT_EQ(graph.StationCount(), 400);
  EXPECT_EQ(graph.Names.GetName(399), "OJ");
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const Vec3 p = graph.Positions.Get(i);
    EXPECT_GE(p.X, 25);
    EXPECT_LT(p.X, 275);
    EXPECT_GE(p.Y, 25);
    EXPECT_LT(p.Y, 175);
  }
  EXPECT_GT(graph.Edges.Count(), 300);
  EXPECT_LE(graph.Edges.Count(), 400);
  std::set<std::pair<int32_t, int32_t>> pairs;
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
    const TEdgeRec edge = graph.Edges.GetEdge(e);
    EXPECT_NE(edge.From, edge.To);
    EXPECT_TRUE(pairs.insert({std::min(edge.From, edge.To), std::max(edge.From, edge.To)}).second);
  }
}

TEST(BuildNonGriddedGraph, DrawsStationsThenThreeTimesPerAttempt) {
  RandomSeed = 0;
  TSurveyGraph graph;
  graph.Clear();
  BuildNonGriddedGraph(graph, 2, 50, 0, 60);
  RandomSeed = 0;
  const int32_t x0 = RandomInt(0) + 25;
  const int32_t y0 = RandomInt(10) + 25;
  const int32_t x1 = RandomInt(0) + 25;
  const int32_t y1 = RandomInt(10) + 25;
  std::vector<std::string> expectedEdges;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int32_t a = RandomInt(2);
    const int32_t b = RandomInt(2);
    RandomInt(100);
    if (a != b && expectedEdges.empty()) expectedEdges.push_back(StationName(a) + "-" + StationName(b));
  }
  EXPECT_EQ(graph.Positions.Get(0), MakeVec3(x0, y0, 0));
  EXPECT_EQ(graph.Positions.Get(1), MakeVec3(x1, y1, 0));
  EXPECT_EQ(x0, 25);  // exactly 50 units wide: every X is 25
  EXPECT_EQ(EdgeNames(graph), expectedEdges);
  EXPECT_EQ(RandomSeed, [] {
    uint32_t s = 0;
    for (int i = 0; i < 4 + 6; ++i) s = s * 134775813u + 1u;
    return s;
  }());
}

TEST(BuildNonGriddedGraph, OneStationMakesOneAttemptAndNoEdge) {
  RandomSeed = 0;
  TSurveyGraph graph;
  graph.Clear();
  BuildNonGriddedGraph(graph, 1, 1024, 0, 768);
  EXPECT_EQ(graph.StationCount(), 1);
  EXPECT_EQ(graph.Edges.Count(), 0);
}

TEST(BuildNonGriddedGraph, RefusesAnAreaNarrowerOrLowerThanFifty) {
  TSurveyGraph graph;
  graph.Clear();
  RandomSeed = 9;
  EXPECT_THROW(BuildNonGriddedGraph(graph, 5, 49, 0, 768), ECyclornError);
  EXPECT_THROW(BuildNonGriddedGraph(graph, 5, 1024, 0, 10), ECyclornError);
  EXPECT_EQ(graph.StationCount(), 0);
  EXPECT_EQ(RandomSeed, 9u);
}

TEST(HasNeighbor, LooksInTheNeighbourListOfTheFirstStation) {
  TSurveyGraph graph;
  graph.Clear();
  for (const char* name : {"A", "B", "C"}) graph.AddStation(name, MakeVec3(0, 0, 0));
  graph.AddEdgeByIndex(0, 1);
  EXPECT_TRUE(HasNeighbor(graph, 0, 1));
  EXPECT_TRUE(HasNeighbor(graph, 1, 0));
  EXPECT_FALSE(HasNeighbor(graph, 0, 2));
  EXPECT_FALSE(HasNeighbor(graph, 2, 0));
}

}  // namespace
