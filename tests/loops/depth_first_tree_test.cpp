#include "loops/depth_first_tree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "loop_test_graphs.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct TForest {
  TSurveyGraph Tree;
  TLoopList Loops;
};

TEST(DepthFirstTree, SpansTheSquareAndLetsTheRootRecordTheLoop) {
  TSurveyGraph g;
  FillSquare(g);
  TForest f;
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_THAT(EdgePairs(f.Tree.Edges), ElementsAre(TStationPair{0, 1}, TStationPair{1, 2}, TStationPair{2, 3}));
  EXPECT_THAT(Items(g.Marks), ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(ClosingEdges(f.Loops), ElementsAre(TStationPair{0, 3}));
  EXPECT_EQ(f.Loops.LoopAt(0).Count(), 1);
  EXPECT_EQ(f.Loops.LoopAt(0).CommonStation, 0);
  EXPECT_EQ(f.Loops.LoopAt(0).FirstPathCount, 0);
  EXPECT_THAT(Items(f.Tree.Parents), ElementsAre(-1, 0, 1, 2));
  EXPECT_THAT(Items(f.Tree.Marks), ElementsAre(0, 0, 0, 0));
}

TEST(DepthFirstTree, DescendantRecordsOnceAStationWasNumberedAfterIt) {
  TSurveyGraph g;
  // Station 2 meets its ancestor 0 after it has visited its child 3.
  FillGraph(g, std::vector<Vec3>(4), {{0, 1}, {1, 2}, {2, 3}, {2, 0}});
  TForest f;
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_THAT(EdgePairs(f.Tree.Edges), ElementsAre(TStationPair{0, 1}, TStationPair{1, 2}, TStationPair{2, 3}));
  EXPECT_THAT(ClosingEdges(f.Loops), ElementsAre(TStationPair{2, 0}));
}

TEST(DepthFirstTree, SpansEveryPartFromItsLowestStation) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(6), {{4, 1}, {1, 3}, {5, 2}, {2, 0}, {0, 5}});
  TForest f;
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_THAT(EdgePairs(f.Tree.Edges),
              ElementsAre(TStationPair{0, 2}, TStationPair{2, 5}, TStationPair{1, 4}, TStationPair{1, 3}));
  EXPECT_THAT(Items(f.Tree.Parents), ElementsAre(-1, -1, 0, 1, 1, 2));
  EXPECT_THAT(Items(g.Marks), ElementsAre(1, 4, 2, 6, 5, 3));
  EXPECT_THAT(ClosingEdges(f.Loops), ElementsAre(TStationPair{0, 5}));
}

TEST(DepthFirstTree, GraphWithoutEdgesNumbersStationsInIndexOrder) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(4), {});
  TForest f;
  f.Loops.AddLoop().AddEdge({0, 1, 0});
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_EQ(f.Tree.StationCount(), 4);
  EXPECT_EQ(f.Tree.Edges.Count(), 0);
  EXPECT_EQ(f.Loops.Count(), 0);
  EXPECT_THAT(Items(g.Marks), ElementsAre(1, 2, 3, 4));
}

TEST(DepthFirstTree, EmptyGraphGivesEmptyTreeAndNoLoops) {
  TSurveyGraph g;
  TForest f;
  FillSquare(f.Tree);
  f.Loops.AddLoop().AddEdge({0, 1, 0});
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_EQ(f.Tree.StationCount(), 0);
  EXPECT_EQ(f.Tree.Edges.Count(), 0);
  EXPECT_EQ(f.Loops.Count(), 0);
}

TEST(DepthFirstTree, SecondEdgeToTheParentIsRecordedOnceByTheParent) {
  TSurveyGraph g;
  FillGraph(g, std::vector<Vec3>(2), {{1, 0}, {0, 1}, {1, 0}});
  TForest f;
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_THAT(EdgePairs(f.Tree.Edges), ElementsAre(TStationPair{0, 1}));
  EXPECT_THAT(ClosingEdges(f.Loops), ElementsAre(TStationPair{0, 1}));
}

TEST(DepthFirstTree, EdgeToItselfCountsOnlyAfterALaterStationWasNumbered) {
  TSurveyGraph late;
  FillGraph(late, std::vector<Vec3>(2), {{0, 1}, {0, 0}});
  TForest f;
  DepthFirstTree(late, f.Tree, f.Loops);
  EXPECT_THAT(ClosingEdges(f.Loops), ElementsAre(TStationPair{0, 0}));
  TSurveyGraph early;
  FillGraph(early, std::vector<Vec3>(2), {{0, 0}, {0, 1}});
  DepthFirstTree(early, f.Tree, f.Loops);
  EXPECT_EQ(f.Loops.Count(), 0);
}

TEST(AddClosingEdge, IgnoresAPairThatAlreadyStartsALoop) {
  TLoopList loops;
  AddClosingEdge(loops, {2, 5, 0});
  AddClosingEdge(loops, {5, 2, 0});
  AddClosingEdge(loops, {2, 5, 0});
  AddClosingEdge(loops, {2, 6, 0});
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{2, 5}, TStationPair{2, 6}));
  loops.LoopAt(0).AddEdge({5, 7, 0});
  AddClosingEdge(loops, {5, 7, 0});
  EXPECT_EQ(loops.Count(), 3);
}

// The visit as a plain recursion, to check that the explicit stack keeps its
// visiting and recording order.
void RecursiveVisit(TDepthFirstRun& run, int32_t parent, int32_t v) {
  if (parent != -1) run.Tree.AddEdgeByIndex(parent, v);
  run.Source.Marks.Put(v, ++run.VisitCounter);
  const THugeInteger& neighbors = run.Source.Neighbors.ListOf(v);
  for (int32_t k = 0; k < neighbors.Count(); ++k) {
    const int32_t w = neighbors.Get(k);
    if (run.Source.Marks.Get(w) == 0)
      RecursiveVisit(run, v, w);
    else if (w != parent && run.Source.Marks.Get(v) < run.VisitCounter)
      AddClosingEdge(run.Loops, {v, w, 0});
  }
}

TEST(VisitStation, KeepsTheOrderOfTheRecursiveVisit) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 40; ++round) {
    const int32_t stations = 2 + static_cast<int32_t>(random() % 30);
    const int32_t edges = static_cast<int32_t>(random() % 60);
    std::vector<TStationPair> pairs;
    for (int32_t e = 0; e < edges; ++e)
      pairs.emplace_back(static_cast<int32_t>(random() % stations), static_cast<int32_t>(random() % stations));
    TSurveyGraph g;
    FillGraph(g, std::vector<Vec3>(static_cast<size_t>(stations)), pairs);

    TForest expected;
    CopyStations(g, expected.Tree);
    g.SetAllMarks(0);
    TDepthFirstRun reference{g, expected.Tree, expected.Loops};
    for (int32_t i = 0; i < stations; ++i) {
      if (g.Marks.Get(i) == 0) RecursiveVisit(reference, -1, i);
    }
    const std::vector<int32_t> expectedMarks = Items(g.Marks);

    TForest actual;
    DepthFirstTree(g, actual.Tree, actual.Loops);
    SCOPED_TRACE(round);
    EXPECT_EQ(EdgePairs(actual.Tree.Edges), EdgePairs(expected.Tree.Edges));
    EXPECT_EQ(Snapshot(actual.Loops), Snapshot(expected.Loops));
    EXPECT_EQ(Items(g.Marks), expectedMarks);
  }
}

TEST(DepthFirstTree, VisitsAVeryLongChainWithoutExhaustingTheStack) {
  constexpr int32_t kStations = 200000;
  TSurveyGraph g;
  std::vector<TStationPair> chain;
  for (int32_t i = 0; i + 1 < kStations; ++i) chain.emplace_back(i, i + 1);
  chain.emplace_back(kStations - 1, 0);
  FillGraph(g, std::vector<Vec3>(kStations), chain);
  TForest f;
  DepthFirstTree(g, f.Tree, f.Loops);
  EXPECT_EQ(f.Tree.Edges.Count(), kStations - 1);
  EXPECT_EQ(f.Tree.Parents.Get(kStations - 1), kStations - 2);
  EXPECT_EQ(g.Marks.Get(kStations - 1), kStations);
  std::vector<int32_t> numbers(kStations);
  for (int32_t i = 0; i < kStations; ++i) numbers[static_cast<size_t>(i)] = i + 1;
  EXPECT_THAT(Items(g.Marks), ElementsAreArray(numbers));
  EXPECT_THAT(ClosingEdges(f.Loops), ElementsAre(TStationPair{0, kStations - 1}));
}

}  // namespace
