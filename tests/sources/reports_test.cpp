#include "sources/reports.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "graph_test_support.h"
#include "sources/problem_grids.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void AddStations(TSurveyGraph& graph, std::initializer_list<const char*> names) {
  for (const char* name : names) graph.AddStation(name, MakeVec3(0, 0, 0));
}

TEST(Reports, AreEmptyForAnEmptyGraph) {
  TSurveyGraph graph;
  EXPECT_THAT(ReportAdjacency(graph), IsEmpty());
  EXPECT_THAT(ReportSequence(graph), IsEmpty());
  EXPECT_THAT(ReportParents(graph), IsEmpty());
  EXPECT_THAT(ReportIndexes(graph), IsEmpty());
}

TEST(ReportAdjacency, ListsEveryNeighbourWithATrailingComma) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 1);
  const std::vector<std::string> lines = ReportAdjacency(graph);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "A - B,F,");
  EXPECT_EQ(lines[3], "D - ");
  EXPECT_EQ(lines[6], "G - H,B,L,");
  EXPECT_EQ(lines[7], "H - G,I,C,M,");
}

TEST(ReportAdjacency, ShowsAStationTwiceForAnEdgeToItself) {
  TSurveyGraph graph;
  AddStations(graph, {"A", "B"});
  graph.AddEdgeByIndex(0, 0);
  graph.AddEdgeByIndex(1, 0);
  EXPECT_THAT(ReportAdjacency(graph), ElementsAre("A - A,A,B,", "B - A,"));
}

TEST(ReportSequence, ListsEdgesFromToInEdgeOrder) {
  TSurveyGraph graph;
  AddStations(graph, {"A", "B", "C 1"});
  graph.AddEdgeByIndex(0, 1);
  graph.AddEdgeByIndex(2, 0);
  EXPECT_THAT(ReportSequence(graph), ElementsAre("A - B", "C 1 - A"));
}

TEST(ReportParents, WritesTwoBlanksBeforeTheBracketOfAStationWithoutParent) {
  TSurveyGraph graph;
  AddStations(graph, {"A", "B", "C"});
  graph.AddEdgeByIndex(0, 1);
  graph.AddEdgeByIndex(0, 2);
  graph.AddEdgeByIndex(1, 2);
  EXPECT_THAT(ReportParents(graph), ElementsAre("A -  (-1)", "B - A (0)", "C - B (1)"));
}

TEST(ReportIndexes, NumbersEveryNameTableEntryIncludingRepeats) {
  TSurveyGraph graph;
  AddStations(graph, {"A", "B", "C", "A"});
  EXPECT_THAT(ReportIndexes(graph), ElementsAre("A - 0", "B - 1", "C - 2", "A - 3"));
}

TEST(OptimizeEdgeList, TurnsAndSortsEdgesAndCountsTheTurns) {
  TSurveyGraph graph;
  AddStations(graph, {"A", "B", "C", "D", "E", "F"});
  graph.AddEdgeByIndex(5, 2);
  graph.AddEdgeByIndex(1, 4);
  graph.AddEdgeByIndex(3, 3);
  EXPECT_EQ(OptimizeEdgeList(graph), 1);
  EXPECT_THAT(ReportSequence(graph), ElementsAre("D - D", "B - E", "C - F"));
  // Lists and parents keep the order before sorting.
  EXPECT_EQ(graph.IncidentEdges.ListOf(2).Get(0), 0);
  EXPECT_EQ(graph.Parents.Get(2), 5);
  EXPECT_EQ(OptimizeEdgeList(graph), 0);
}

TEST(OptimizeEdgeList, OnlySortsAnAlreadyTurnedListAndLeavesAnEmptyOneAlone) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 2);
  EXPECT_EQ(OptimizeEdgeList(graph), 0);
  const std::vector<std::string> edges = EdgeNames(graph);
  for (size_t i = 1; i < edges.size(); ++i)
    EXPECT_LE(graph.Edges.Tos.Get(static_cast<int32_t>(i - 1)), graph.Edges.Tos.Get(static_cast<int32_t>(i)));
  TSurveyGraph empty;
  EXPECT_EQ(OptimizeEdgeList(empty), 0);
  EXPECT_EQ(empty.Edges.Count(), 0);
}

TEST(MemoLines, DescribeEachLoopByItsClosingEdge) {
  TSurveyGraph tree;
  AddStations(tree, {"A", "B", "C", "D"});
  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  TEdgeArray& second = loops.AddLoop();
  second.AddEdge({3, 2, 0});
  second.AddEdge({2, 0, 0});
  loops.AddLoop();  // emptied by a merge
  EXPECT_THAT(BreadthFirstMemoLines(tree, loops), ElementsAre("A - B (0-1)", "D - C (3-2)", ""));
  EXPECT_THAT(DepthFirstMemoLines(tree, loops), ElementsAre("A B", "D C", ""));
  TLoopList none;
  EXPECT_THAT(BreadthFirstMemoLines(tree, none), IsEmpty());
}

}  // namespace
