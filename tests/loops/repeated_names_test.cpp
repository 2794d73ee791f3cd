#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "loop_test_graphs.h"
#include "loops/loop_search.h"

namespace {

using ::testing::ElementsAre;

// Four stations A, B, A, C (or A, B, D, C) joined by 0-2, 1-2, 1-2, 1-3.
void FillNetwork(TSurveyGraph& g, bool repeatName) {
  g.Clear();
  const std::string names[] = {"A", "B", repeatName ? "A" : "D", "C"};
  for (int32_t i = 0; i < 4; ++i) g.AddStation(names[i], MakeVec3(10.0 * i, 5.0 * (i % 2), 0));
  for (const auto& [from, to] : {TStationPair{0, 2}, {1, 2}, {1, 2}, {1, 3}}) g.AddEdgeByIndex(from, to);
}

struct TRunResult {
  std::vector<TStationPair> TreeEdges;
  std::vector<int32_t> Parents;
  std::vector<TLoopSnapshot> Loops;
  std::vector<int32_t> Marks;
  std::vector<int32_t> Flags;
  friend bool operator==(const TRunResult&, const TRunResult&) = default;
};

enum class TSearch { BreadthFirstByLength, BreadthFirstByOrder, DepthFirst, Shortest, Overlap };

TRunResult RunSearch(TSearch search, bool repeatName) {
  TSurveyGraph g;
  FillNetwork(g, repeatName);
  TSurveyGraph tree;
  TLoopList loops;
  switch (search) {
    case TSearch::BreadthFirstByLength:
      BreadthFirstTree(g, tree, loops, false);
      break;
    case TSearch::BreadthFirstByOrder:
      BreadthFirstTree(g, tree, loops, true);
      break;
    case TSearch::DepthFirst:
      DepthFirstTree(g, tree, loops);
      break;
    case TSearch::Shortest:
      FindLoopsShortest(g, loops, true);
      break;
    case TSearch::Overlap:
      FindLoopsOverlap(g, loops, true);
      break;
  }
  return {EdgePairs(tree.Edges), Items(tree.Parents), Snapshot(loops), Items(g.Marks), Items(g.Edges.Flags)};
}

TEST(RepeatedNames, GiveTheSameTreesAndLoopsAsUniqueNames) {
  for (const TSearch search : {TSearch::BreadthFirstByLength, TSearch::BreadthFirstByOrder, TSearch::DepthFirst,
                               TSearch::Shortest, TSearch::Overlap}) {
    SCOPED_TRACE(static_cast<int>(search));
    const TRunResult unique = RunSearch(search, false);
    EXPECT_EQ(RunSearch(search, true), unique);
    EXPECT_FALSE(unique.Loops.empty());
  }
}

TEST(RepeatedNames, TreeStationsKeepTheirOwnEdgesAndNames) {
  TSurveyGraph g;
  FillNetwork(g, true);
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, true);
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{1, 2}, TStationPair{1, 3}, TStationPair{2, 0}));
  EXPECT_THAT(Items(tree.Parents), ElementsAre(2, -1, 1, 1));
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{1, 2}));
  EXPECT_EQ(tree.Names.GetName(0), "A");
  EXPECT_EQ(tree.Names.GetName(2), "A");
  EXPECT_EQ(tree.Names.Find("A"), 2);

  DepthFirstTree(g, tree, loops);
  EXPECT_THAT(EdgePairs(tree.Edges), ElementsAre(TStationPair{0, 2}, TStationPair{2, 1}, TStationPair{1, 3}));
  EXPECT_THAT(Items(tree.Parents), ElementsAre(-1, 2, 0, 1));
  EXPECT_THAT(ClosingEdges(loops), ElementsAre(TStationPair{2, 1}));
}

}  // namespace
