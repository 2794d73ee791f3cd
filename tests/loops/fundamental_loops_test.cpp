#include "loops/fundamental_loops.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "loop_test_graphs.h"
#include "loops/breadth_first_tree.h"
#include "loops/loop_order.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

using ::testing::ElementsAre;

// A tree graph whose edges run parent -> child, so Parents holds the tree.
void FillTree(TSurveyGraph& tree, int32_t stations, const std::vector<TStationPair>& edges) {
  FillGraph(tree, std::vector<Vec3>(static_cast<size_t>(stations)), edges);
}

TEdgeArray& ClosingLoop(TLoopList& loops, int32_t a, int32_t b) {
  TEdgeArray& loop = loops.AddLoop();
  loop.AddEdge({a, b, 0});
  return loop;
}

TEST(FindCommonStation, FindsTheDeepestSharedAncestor) {
  TSurveyGraph tree;
  // 0 -> 1 -> 2 -> 3 -> 4 and 1 -> 5 -> 6; 7 is a root of its own.
  FillTree(tree, 8, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {1, 5}, {5, 6}});
  EXPECT_EQ(FindCommonStation(tree, {4, 6, 0}), 1);
  EXPECT_EQ(FindCommonStation(tree, {6, 4, 0}), 1);
  EXPECT_EQ(FindCommonStation(tree, {5, 4, 0}), 1);
  EXPECT_EQ(FindCommonStation(tree, {2, 4, 0}), 2);
  EXPECT_EQ(FindCommonStation(tree, {4, 2, 0}), 2);
  EXPECT_EQ(FindCommonStation(tree, {0, 6, 0}), 0);
  EXPECT_EQ(FindCommonStation(tree, {3, 3, 0}), 2);
  EXPECT_EQ(FindCommonStation(tree, {0, 0, 0}), -1);
  EXPECT_EQ(FindCommonStation(tree, {4, 7, 0}), -1);
}

TEST(AddTreePath, ClimbsFromStartToStopOrToTheRoot) {
  TSurveyGraph tree;
  FillTree(tree, 4, {{0, 1}, {1, 2}, {2, 3}});
  TEdgeArray loop;
  AddTreePath(tree, loop, 3, 1);
  EXPECT_THAT(EdgePairs(loop), ElementsAre(TStationPair{2, 3}, TStationPair{1, 2}));
  AddTreePath(tree, loop, 2, -1);
  EXPECT_THAT(EdgePairs(loop),
              ElementsAre(TStationPair{2, 3}, TStationPair{1, 2}, TStationPair{1, 2}, TStationPair{0, 1}));
  AddTreePath(tree, loop, 1, 1);
  EXPECT_EQ(loop.Count(), 4);
}

TEST(BuildLoop, CompletesEveryShapeOfClosingEdge) {
  TSurveyGraph tree;
  // 0 -> 1, 0 -> 2, 1 -> 3, 3 -> 4
  FillTree(tree, 5, {{0, 1}, {0, 2}, {1, 3}, {3, 4}});
  TLoopList loops;

  TEdgeArray& parentChild = ClosingLoop(loops, 1, 3);
  BuildLoop(tree, parentChild);
  EXPECT_THAT(EdgePairs(parentChild), ElementsAre(TStationPair{1, 3}, TStationPair{1, 3}));
  EXPECT_EQ(parentChild.CommonStation, 1);
  EXPECT_EQ(parentChild.FirstPathCount, 1);

  TEdgeArray& siblings = ClosingLoop(loops, 1, 2);
  BuildLoop(tree, siblings);
  EXPECT_THAT(EdgePairs(siblings), ElementsAre(TStationPair{1, 2}, TStationPair{0, 1}, TStationPair{0, 2}));
  EXPECT_EQ(siblings.CommonStation, 0);
  EXPECT_EQ(siblings.FirstPathCount, 2);

  TEdgeArray& ancestor = ClosingLoop(loops, 0, 4);
  BuildLoop(tree, ancestor);
  EXPECT_THAT(EdgePairs(ancestor),
              ElementsAre(TStationPair{0, 4}, TStationPair{3, 4}, TStationPair{1, 3}, TStationPair{0, 1}));
  EXPECT_EQ(ancestor.CommonStation, 0);
  EXPECT_EQ(ancestor.FirstPathCount, 1);

  TEdgeArray& cousins = ClosingLoop(loops, 4, 2);
  BuildLoop(tree, cousins);
  EXPECT_THAT(EdgePairs(cousins), ElementsAre(TStationPair{4, 2}, TStationPair{3, 4}, TStationPair{1, 3},
                                              TStationPair{0, 1}, TStationPair{0, 2}));
  EXPECT_EQ(cousins.CommonStation, 0);
  EXPECT_EQ(cousins.FirstPathCount, 4);

  TEdgeArray& selfBelowRoot = ClosingLoop(loops, 3, 3);
  BuildLoop(tree, selfBelowRoot);
  EXPECT_THAT(EdgePairs(selfBelowRoot), ElementsAre(TStationPair{3, 3}, TStationPair{1, 3}, TStationPair{1, 3}));
  EXPECT_EQ(selfBelowRoot.CommonStation, 1);
  EXPECT_EQ(selfBelowRoot.FirstPathCount, 2);

  TEdgeArray& selfAtRoot = ClosingLoop(loops, 0, 0);
  BuildLoop(tree, selfAtRoot);
  EXPECT_THAT(EdgePairs(selfAtRoot), ElementsAre(TStationPair{0, 0}));
  EXPECT_EQ(selfAtRoot.CommonStation, -1);
  EXPECT_EQ(selfAtRoot.FirstPathCount, 1);
  EXPECT_EQ(selfAtRoot.LoopValue, 0);
}

TEST(BuildLoop, EndsInSeparateTreesClimbToTheirRoots) {
  TSurveyGraph tree;
  FillTree(tree, 4, {{0, 1}, {2, 3}});
  TLoopList loops;
  TEdgeArray& loop = ClosingLoop(loops, 1, 3);
  BuildLoop(tree, loop);
  EXPECT_THAT(EdgePairs(loop), ElementsAre(TStationPair{1, 3}, TStationPair{0, 1}, TStationPair{2, 3}));
  EXPECT_EQ(loop.CommonStation, -1);
  EXPECT_EQ(loop.FirstPathCount, 2);
}

TEST(BuildLoop, CompletesTheLoopOfTheBreadthFirstSquare) {
  TSurveyGraph g;
  FillSquare(g);
  TSurveyGraph tree;
  TLoopList loops;
  BreadthFirstTree(g, tree, loops, true);
  ASSERT_EQ(loops.Count(), 1);
  BuildLoop(tree, loops.LoopAt(0));
  EXPECT_THAT(EdgePairs(loops.LoopAt(0)),
              ElementsAre(TStationPair{3, 2}, TStationPair{0, 3}, TStationPair{1, 2}, TStationPair{0, 1}));
  EXPECT_EQ(loops.LoopAt(0).CommonStation, 0);
  EXPECT_EQ(loops.LoopAt(0).FirstPathCount, 2);
  EXPECT_THAT(Items(loops.LoopAt(0).Flags), ElementsAre(0, 0, 0, 0));
}

// Every shape of closing edge: parent and child, siblings, ancestor, cousins,
// a station to itself below and at a root, and ends in separate trees.
constexpr TStationPair kClosingShapes[] = {{1, 3}, {1, 2}, {0, 4}, {4, 2}, {3, 3}, {0, 0}, {4, 6}, {6, 6}, {2, 5}};

// 0 -> 1, 0 -> 2, 1 -> 3, 3 -> 4; 5 -> 6 is a second tree. Positions of very
// different sizes, so the sums round and only the same order of additions
// gives the same centroid.
void FillTwoTrees(TSurveyGraph& tree) {
  FillGraph(tree,
            {MakeVec3(1e16, 0.7, 3e-3), MakeVec3(10.3, 1e16, 1.1), MakeVec3(-1e16 + 7.77, 19.1, 0.3),
             MakeVec3(1e6 / 3, -1e16 + 2.5, 0), MakeVec3(-4.4, 8.8, 1e-9), MakeVec3(0.5, 0.5, 0.5),
             MakeVec3(33.3, -1e-3, 2.2)},
            {{0, 1}, {0, 2}, {1, 3}, {3, 4}, {5, 6}});
}

TEST(FundamentalLoops, MeasuresAndBuildsEveryShapeAsBuildLoopDoes) {
  TSurveyGraph tree;
  FillTwoTrees(tree);
  const TFundamentalLoops fromGraph(tree);
  const TFundamentalLoops fromParents(Items(tree.Parents));
  for (const auto& [a, b] : kClosingShapes) {
    SCOPED_TRACE(std::to_string(a) + "-" + std::to_string(b));
    TLoopList loops;
    TEdgeArray& expected = ClosingLoop(loops, a, b);
    BuildLoop(tree, expected);
    for (const TFundamentalLoops* fundamental : {&fromGraph, &fromParents}) {
      const TFundamentalLoops::TMeasure measure = fundamental->Measure({a, b, 0}, tree);
      EXPECT_EQ(measure.EdgeCount, expected.Count());
      EXPECT_EQ(fundamental->EdgeCount({a, b, 0}), expected.Count());
      // The ordering compares spreads bit for bit.
      EXPECT_EQ(measure.Spread, LoopSpread(expected, tree));
      EXPECT_EQ(fundamental->CommonStation({a, b, 0}), expected.CommonStation);

      std::vector<TStationPair> visited;
      fundamental->VisitEdges({a, b, 0}, [&](const TEdgeRec& e) { visited.emplace_back(e.From, e.To); });
      EXPECT_EQ(visited, EdgePairs(expected));

      TEdgeArray& built = ClosingLoop(loops, a, b);
      fundamental->Build(built);
      EXPECT_EQ(Snapshot(loops).back(), Snapshot(loops).front());
    }
  }
}

TEST(SortFundamentalLoops, OrdersTheClosingEdgesAsSortLoopsOrdersTheBuiltLoops) {
  // A jittered grid: many loops of equal size whose spreads differ by less
  // than 1, so the quicksort's handling of equal loops shows too.
  TSurveyGraph g;
  FillGrid(g, 7, 6);
  for (int32_t i = 0; i < g.StationCount(); ++i) {
    const Vec3 p = g.Positions.Get(i);
    g.Positions.Put(i, MakeVec3(p.X + 0.37 * (i % 3), p.Y - 0.21 * (i % 5), 0.05 * (i % 2)));
  }
  TSurveyGraph tree;
  TLoopList built;
  BreadthFirstTree(g, tree, built, true);
  TLoopList closing;
  for (const auto& [a, b] : ClosingEdges(built)) closing.AddLoop().AddEdge({a, b, 0});
  ASSERT_GT(built.Count(), 20);

  BuildLoops(tree, built);
  SortLoops(built, g);
  const TFundamentalLoops fundamental(tree);
  const std::vector<int32_t> counts = SortFundamentalLoops(closing, fundamental, g);
  EXPECT_EQ(ClosingEdges(closing), ClosingEdges(built));
  std::vector<int32_t> builtCounts;
  for (int32_t i = 0; i < built.Count(); ++i) builtCounts.push_back(built.LoopAt(i).Count());
  EXPECT_EQ(counts, builtCounts);
}

}  // namespace
