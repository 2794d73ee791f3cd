// Runs the loop engine and the step-by-step reference engine on many generated networks
// and requires the same trees, loops, marks and edge flags from both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "generated_networks.h"
#include "loop_test_graphs.h"
#include "loops/loop_search.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

std::vector<std::vector<int32_t>> Lists(const TAdjacencyList& lists) {
  std::vector<std::vector<int32_t>> all;
  for (int32_t i = 0; i < lists.Count(); ++i) all.push_back(Items(lists.ListOf(i)));
  return all;
}

// Everything a run leaves behind that callers can see.
struct TOutcome {
  std::vector<std::string> TreeNames;
  std::vector<Vec3> TreePositions;
  std::vector<TStationPair> TreeEdges;
  std::vector<std::vector<int32_t>> TreeNeighbors, TreeIncident;
  std::vector<int32_t> TreeParents;
  std::vector<TLoopSnapshot> Loops;
  std::vector<int32_t> Marks, Flags;
  friend bool operator==(const TOutcome&, const TOutcome&) = default;
};

TOutcome Capture(const TSurveyGraph& graph, const TSurveyGraph& tree, const TLoopList& loops) {
  TOutcome out;
  for (int32_t i = 0; i < tree.StationCount(); ++i) {
    out.TreeNames.push_back(tree.GetStation(i).Name);
    out.TreePositions.push_back(tree.Positions.Get(i));
  }
  out.TreeEdges = EdgePairs(tree.Edges);
  out.TreeNeighbors = Lists(tree.Neighbors);
  out.TreeIncident = Lists(tree.IncidentEdges);
  out.TreeParents = Items(tree.Parents);
  out.Loops = Snapshot(loops);
  out.Marks = Items(graph.Marks);
  out.Flags = Items(graph.Edges.Flags);
  return out;
}

enum class TCommand { TreeByLength, TreeByOrder, DepthFirst, Shortest, ShortestOptimized, Overlap, OverlapOptimized };
constexpr TCommand kCommands[] = {TCommand::TreeByLength,    TCommand::TreeByOrder,       TCommand::DepthFirst,
                                  TCommand::Shortest,        TCommand::ShortestOptimized, TCommand::Overlap,
                                  TCommand::OverlapOptimized};

TOutcome RunCommand(const TNetwork& net, TCommand command, bool fast) {
  TSurveyGraph graph;
  Fill(graph, net);
  TSurveyGraph tree;
  TLoopList loops;
  switch (command) {
    case TCommand::TreeByLength:
    case TCommand::TreeByOrder: {
      const bool byOrder = command == TCommand::TreeByOrder;
      fast ? BreadthFirstTree(graph, tree, loops, byOrder) : LiteralBreadthFirstTree(graph, tree, loops, byOrder);
      break;
    }
    case TCommand::DepthFirst:
      fast ? DepthFirstTree(graph, tree, loops) : LiteralDepthFirstTree(graph, tree, loops);
      break;
    case TCommand::Shortest:
    case TCommand::ShortestOptimized: {
      const bool optimize = command == TCommand::ShortestOptimized;
      fast ? FindLoopsShortest(graph, loops, optimize) : LiteralFindLoopsShortest(graph, loops, optimize);
      break;
    }
    case TCommand::Overlap:
    case TCommand::OverlapOptimized: {
      const bool optimize = command == TCommand::OverlapOptimized;
      fast ? FindLoopsOverlap(graph, loops, optimize) : LiteralFindLoopsOverlap(graph, loops, optimize);
      break;
    }
  }
  return Capture(graph, tree, loops);
}

// Networks per run: CYCLORN_DIFFERENTIAL_NETWORKS when set (at least 1), else 1000.
uint32_t NetworkCount() {
  const char* text = std::getenv("CYCLORN_DIFFERENTIAL_NETWORKS");
  if (text == nullptr) return 1000;
  const long count = std::strtol(text, nullptr, 10);
  return count < 1 ? 1u : static_cast<uint32_t>(count);
}

// Runs every command with both engines; returns the loops compared.
int32_t ExpectSameOutcomes(const TNetwork& net) {
  int32_t loops = 0;
  for (const TCommand command : kCommands) {
    SCOPED_TRACE("command " + std::to_string(static_cast<int>(command)));
    const TOutcome expected = RunCommand(net, command, false);
    const TOutcome actual = RunCommand(net, command, true);
    loops += static_cast<int32_t>(expected.Loops.size());
    EXPECT_EQ(actual.TreeEdges, expected.TreeEdges);
    EXPECT_EQ(actual.TreeParents, expected.TreeParents);
    EXPECT_EQ(actual.Loops, expected.Loops);
    EXPECT_EQ(actual.Marks, expected.Marks);
    EXPECT_EQ(actual.Flags, expected.Flags);
    EXPECT_TRUE(actual == expected);
  }
  return loops;
}

TEST(FastEngine, MatchesTheStepByStepEngineOnGeneratedNetworks) {
  const uint32_t count = NetworkCount();
  int32_t totalLoops = 0;
  for (uint32_t seed = 1; seed <= count; ++seed) {
    SCOPED_TRACE("generator seed " + std::to_string(seed));
    totalLoops += ExpectSameOutcomes(MakeNetwork(seed));
    if (HasFailure()) return;
  }
  // The generator must give loops to compare, not only trees.
  EXPECT_GT(totalLoops, static_cast<int32_t>(count));
}

TEST(FastEngine, MatchesTheStepByStepEngineWhereLoopsSharePairsOrSumsRound) {
  const uint32_t count = NetworkCount() / 4 + 1;
  int32_t totalLoops = 0;
  for (uint32_t seed = 1; seed <= count; ++seed) {
    SCOPED_TRACE("stress seed " + std::to_string(seed));
    totalLoops += ExpectSameOutcomes(MakeStressNetwork(seed));
    if (HasFailure()) return;
  }
  EXPECT_GT(totalLoops, static_cast<int32_t>(count));
}

}  // namespace
