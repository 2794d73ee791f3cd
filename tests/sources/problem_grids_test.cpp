#include "sources/problem_grids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "graph_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct TGridFacts {
  int stations, edges, pieces, loops;
  std::vector<std::string> lone;
};

TEST(BuildProblemGrid, GivesTheKnownCountsOfEveryNetwork) {
  const TGridFacts facts[] = {
      {20, 16, 7, 3, {"D", "E", "J", "O", "S", "T"}},      {20, 29, 1, 10, {}},
      {20, 15, 8, 3, {"A", "E", "J", "K", "O", "P", "T"}}, {25, 25, 3, 3, {"A", "B"}},
      {25, 21, 8, 4, {"E", "T", "U", "V", "W", "X", "Y"}}, {25, 29, 2, 6, {"Y"}},
  };
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    const TGridFacts& expected = facts[n - 1];
    TSurveyGraph graph;
    BuildProblemGrid(graph, n);
    EXPECT_EQ(graph.StationCount(), expected.stations);
    EXPECT_EQ(graph.Edges.Count(), expected.edges);
    EXPECT_EQ(PieceCount(graph), expected.pieces);
    EXPECT_EQ(graph.Edges.Count() - graph.StationCount() + PieceCount(graph), expected.loops);
    EXPECT_EQ(LoneStations(graph), expected.lone);
    // Every edge joins grid neighbours, from the left or upper one.
    for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
      const TEdgeRec edge = graph.Edges.GetEdge(e);
      EXPECT_TRUE(edge.To - edge.From == 1 || edge.To - edge.From == 5) << e;
      if (edge.To - edge.From == 1) {
        EXPECT_NE(edge.To % 5, 0) << e;
      }
    }
    EXPECT_EQ(graph.MinCorner, MakeVec3(75, 75, 0));
    EXPECT_EQ(graph.MaxCorner, MakeVec3(375, n <= 3 ? 300 : 375, 0));
  }
}

TEST(BuildProblemGrid, PlacesLettersInRowsOfFive) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 4);
  const std::vector<std::string> lines = StationLines(graph);
  EXPECT_EQ(lines.front(), "A 75 75 0");
  EXPECT_EQ(lines[7], "H 225 150 0");
  EXPECT_EQ(lines.back(), "Y 375 375 0");
}

TEST(BuildProblemGrid, AddsTheEdgesInTheListedOrder) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 1);
  EXPECT_THAT(EdgeNames(graph), ElementsAre("A-B", "B-C", "G-H", "H-I", "K-L", "L-M", "M-N", "A-F", "B-G", "C-H", "F-K",
                                            "G-L", "H-M", "K-P", "L-Q", "M-R"));
  BuildProblemGrid(graph, 3);
  EXPECT_THAT(EdgeNames(graph), ElementsAre("F-G", "G-H", "H-I", "L-M", "M-N", "Q-R", "R-S", "B-G", "C-H", "D-I", "G-L",
                                            "H-M", "I-N", "L-Q", "N-S"));
  BuildProblemGrid(graph, 6);
  EXPECT_EQ(EdgeNames(graph).back(), "S-X");
}

TEST(BuildProblemGrid, KnowsItsNeighbours) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 2);
  const auto neighbours = [&graph](const char* name) {
    std::vector<std::string> names;
    for (const int32_t j : graph.Neighbors.ListOf(graph.Names.Find(name))) names.push_back(graph.Names.GetName(j));
    return names;
  };
  EXPECT_THAT(neighbours("A"), ElementsAre("B", "F"));
  EXPECT_THAT(neighbours("M"), ElementsAre("L", "H", "R"));
  BuildProblemGrid(graph, 4);
  EXPECT_THAT(neighbours("A"), IsEmpty());
  EXPECT_THAT(neighbours("B"), IsEmpty());
  EXPECT_EQ(graph.IncidentEdges.ListOf(1).Count(), 0);
}

TEST(BuildProblemGrid, BuildsTheSameGraphWhateverWasThereBefore) {
  TSurveyGraph fresh;
  BuildProblemGrid(fresh, 5);
  TSurveyGraph reused;
  BuildProblemGrid(reused, 2);
  reused.AddStation("extra", MakeVec3(-5, -5, -5));
  BuildProblemGrid(reused, 5);
  BuildProblemGrid(reused, 5);
  ExpectSameGraph(fresh, reused);
}

TEST(BuildProblemGrid, RefusesNumbersOutsideOneToSixAndKeepsTheGraph) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 3);
  EXPECT_THROW(BuildProblemGrid(graph, 0), ECyclornError);
  EXPECT_THROW(BuildProblemGrid(graph, 7), ECyclornError);
  EXPECT_EQ(graph.StationCount(), 20);
  EXPECT_EQ(graph.Edges.Count(), 15);
}

}  // namespace
