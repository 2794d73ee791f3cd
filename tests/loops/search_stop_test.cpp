// A search on another thread can be stopped: every search raises
// ESearchStopped once its stop was requested, counts its progress, and a
// search without a lent stop runs to its end. A copy of a graph searches as
// the graph itself does, so a search aside gives the loops the window would.

#include "loops/search_stop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "loops/loop_search.h"
#include "tests/loops/loop_test_graphs.h"

namespace {

enum class TSearch { Shortest, Overlap, Minimal };

void Search(TSearch kind, TSurveyGraph& graph, TLoopList& loops) {
  switch (kind) {
    case TSearch::Shortest:
      FindLoopsShortest(graph, loops, true);
      break;
    case TSearch::Overlap:
      FindLoopsOverlap(graph, loops, true);
      break;
    case TSearch::Minimal:
      FindLoopsMinimal(graph, loops, TMinimalSearch::msMinimum);
      break;
  }
}

TEST(SearchStop, EverySearchStopsOnceAskedAndRunsToItsEndWithoutAStop) {
  for (const TSearch kind : {TSearch::Shortest, TSearch::Overlap, TSearch::Minimal}) {
    SCOPED_TRACE(static_cast<int>(kind));
    TSurveyGraph graph;
    FillGrid(graph, 40, 40);
    TLoopList loops(5);
    TSearchStop stop;
    stop.Request();
    {
      const TSearchStopScope scope(stop);
      EXPECT_THROW(Search(kind, graph, loops), ESearchStopped);
    }
    // The scope is gone: the same thread's next search is not stopped.
    TSurveyGraph fresh;
    FillGrid(fresh, 40, 40);
    TLoopList all(5);
    EXPECT_NO_THROW(Search(kind, fresh, all));
    EXPECT_EQ(all.Count(), 39 * 39);
  }
}

TEST(SearchStop, ProgressCountsUpToTheWorkOfTheStepAndScopesNest) {
  TSearchStop outer;
  TSearchStop inner;
  {
    const TSearchStopScope a(outer);
    {
      const TSearchStopScope b(inner);
      ReportSearchProgress(3, 10);
    }
    ReportSearchProgress(7, 8);
  }
  ReportSearchProgress(1, 1);  // no scope: counted nowhere
  EXPECT_EQ(inner.Done(), 3);
  EXPECT_EQ(inner.Total(), 10);
  EXPECT_EQ(outer.Done(), 7);
  EXPECT_EQ(outer.Total(), 8);

  TSurveyGraph graph;
  FillGrid(graph, 30, 30);
  TLoopList loops(5);
  TSearchStop shortest;
  {
    const TSearchStopScope scope(shortest);
    FindLoopsShortest(graph, loops, true);
  }
  EXPECT_EQ(shortest.Total(), loops.Count());
  EXPECT_EQ(shortest.Done(), loops.Count() - 1);
}

TEST(CopyGraph, CopiesEveryColumnSoThatASearchOnTheCopyFindsTheSameLoops) {
  // Lists that are not in edge order, flags and marks: all must come across.
  const auto make = [](TSurveyGraph& graph) {
    FillGrid(graph, 12, 9);
    graph.Edges.Flags.Put(3, 7);
    graph.Marks.Put(5, 2);
    graph.Parents.Put(6, 1);
    graph.Neighbors.ListOf(0).Exchange(0, 1);
    graph.IncidentEdges.ListOf(13).Exchange(0, 2);
  };
  TSurveyGraph graph;
  make(graph);
  TSurveyGraph copy;
  copy.AddStation("OLD", {1, 2, 3});
  CopyGraph(graph, copy);
  ASSERT_EQ(copy.StationCount(), graph.StationCount());
  EXPECT_EQ(EdgePairs(copy.Edges), EdgePairs(graph.Edges));
  EXPECT_EQ(Items(copy.Edges.Flags), Items(graph.Edges.Flags));
  EXPECT_EQ(Items(copy.Marks), Items(graph.Marks));
  EXPECT_EQ(Items(copy.Parents), Items(graph.Parents));
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    EXPECT_EQ(Items(copy.Neighbors.ListOf(i)), Items(graph.Neighbors.ListOf(i))) << i;
    EXPECT_EQ(Items(copy.IncidentEdges.ListOf(i)), Items(graph.IncidentEdges.ListOf(i))) << i;
    EXPECT_EQ(copy.GetStation(i).Name, graph.GetStation(i).Name);
  }
  EXPECT_EQ(copy.MinCorner.X, graph.MinCorner.X);
  EXPECT_EQ(copy.MaxCorner.Y, graph.MaxCorner.Y);
  for (const TSearch kind : {TSearch::Shortest, TSearch::Overlap, TSearch::Minimal}) {
    TSurveyGraph original, copied;
    make(original);
    CopyGraph(original, copied);
    TLoopList inPlace(5), aside(5);
    Search(kind, original, inPlace);
    Search(kind, copied, aside);
    EXPECT_EQ(Snapshot(aside), Snapshot(inPlace)) << static_cast<int>(kind);
    EXPECT_EQ(Items(copied.Marks), Items(original.Marks));
    EXPECT_EQ(Items(copied.Edges.Flags), Items(original.Edges.Flags));
  }
}

}  // namespace
