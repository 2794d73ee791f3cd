// Runs the loop engine and the step-by-step reference engine on many generated networks
// and requires the same trees, loops, marks and edge flags from both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "loop_test_graphs.h"
#include "loops/loop_search.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

// A network as a list of stations and edges, so it can be filled twice.
struct TNetwork {
  std::vector<std::string> Names;
  std::vector<Vec3> Positions;
  std::vector<TStationPair> Edges;
  std::vector<int32_t> Marks;
  std::vector<int32_t> Flags;
};

using TRandom = std::mt19937;

int32_t Draw(TRandom& random, int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(random); }

std::string DrawName(TRandom& random, int32_t k, bool repeat) {
  // Repeated names: a small pool, so many stations share one.
  return repeat ? "R" + std::to_string(Draw(random, 0, 3)) : "S" + std::to_string(k);
}

// A grid with holes, optionally jittered off the lattice; edges in a random
// direction, some doubled.
void AddGrid(TNetwork& net, TRandom& random, int32_t rows, int32_t columns, double offsetX, bool jitter,
             int32_t holePercent, bool repeatNames) {
  const auto base = static_cast<int32_t>(net.Positions.size());
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < columns; ++c) {
      double x = offsetX + 10.0 * c;
      double y = 10.0 * r;
      if (jitter) {
        x -= Draw(random, 0, 3);
        y -= Draw(random, 0, 3);
      }
      net.Names.push_back(DrawName(random, base + r * columns + c, repeatNames));
      net.Positions.push_back(MakeVec3(x, y, 0));
    }
  const auto add = [&](int32_t a, int32_t b) {
    if (Draw(random, 0, 99) < holePercent) return;
    if (Draw(random, 0, 1) == 1) std::swap(a, b);
    net.Edges.emplace_back(base + a, base + b);
    if (Draw(random, 0, 19) == 0) net.Edges.emplace_back(base + b, base + a);
  };
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c + 1 < columns; ++c) add(r * columns + c, r * columns + c + 1);
  for (int32_t r = 0; r + 1 < rows; ++r)
    for (int32_t c = 0; c < columns; ++c) add(r * columns + c, (r + 1) * columns + c);
}

// Stations on a small integer lattice (many equal distances and coincident
// stations) joined at random, with self-loops and duplicate edges.
void AddRandomNetwork(TNetwork& net, TRandom& random, int32_t stations, int32_t edges, int32_t span, bool repeatNames) {
  const auto base = static_cast<int32_t>(net.Positions.size());
  for (int32_t k = 0; k < stations; ++k) {
    net.Names.push_back(DrawName(random, base + k, repeatNames));
    net.Positions.push_back(MakeVec3(Draw(random, 0, span), Draw(random, 0, span), Draw(random, 0, 1)));
  }
  if (stations == 0) return;
  for (int32_t k = 0; k < edges; ++k) {
    const int32_t a = Draw(random, 0, stations - 1);
    const int32_t b = Draw(random, 0, 9) == 0 ? a : Draw(random, 0, stations - 1);
    net.Edges.emplace_back(base + a, base + b);
  }
}

TNetwork MakeNetwork(uint32_t seed) {
  TRandom random(seed);
  TNetwork net;
  const bool repeatNames = Draw(random, 0, 7) == 0;
  switch (seed % 6) {
    case 0:
      AddGrid(net, random, Draw(random, 1, 9), Draw(random, 1, 9), 0, false, Draw(random, 0, 40), repeatNames);
      break;
    case 1:
      AddGrid(net, random, Draw(random, 2, 12), Draw(random, 2, 12), 0, true, Draw(random, 0, 30), repeatNames);
      break;
    case 2:
      AddRandomNetwork(net, random, Draw(random, 0, 30), Draw(random, 0, 60), Draw(random, 1, 6), repeatNames);
      break;
    case 3:
      // Several pieces and isolated stations.
      AddGrid(net, random, Draw(random, 1, 6), Draw(random, 1, 6), 0, false, 10, repeatNames);
      AddRandomNetwork(net, random, Draw(random, 0, 5), 0, 50, repeatNames);
      AddGrid(net, random, Draw(random, 1, 6), Draw(random, 1, 6), 200, Draw(random, 0, 1) == 1, 20, repeatNames);
      AddRandomNetwork(net, random, Draw(random, 0, 15), Draw(random, 0, 25), 4, repeatNames);
      break;
    case 4:
      AddRandomNetwork(net, random, Draw(random, 0, 3), Draw(random, 0, 4), 2, repeatNames);
      break;
    default:
      AddGrid(net, random, Draw(random, 5, 16), Draw(random, 5, 16), 0, Draw(random, 0, 1) == 1, 5, repeatNames);
      break;
  }
  // Marks and flags left by earlier work must be handled alike too.
  for (size_t k = 0; k < net.Positions.size(); ++k) net.Marks.push_back(Draw(random, 0, 2));
  for (size_t k = 0; k < net.Edges.size(); ++k) net.Flags.push_back(Draw(random, 0, 4) == 0 ? 1 : 0);
  return net;
}

void Fill(TSurveyGraph& graph, const TNetwork& net) {
  graph.Clear();
  for (size_t k = 0; k < net.Positions.size(); ++k) graph.AddStation(net.Names[k], net.Positions[k]);
  for (const auto& [from, to] : net.Edges) graph.AddEdgeByIndex(from, to);
  for (size_t k = 0; k < net.Marks.size(); ++k) graph.Marks.Put(static_cast<int32_t>(k), net.Marks[k]);
  for (size_t k = 0; k < net.Flags.size(); ++k) graph.Edges.Flags.Put(static_cast<int32_t>(k), net.Flags[k]);
}

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

TEST(FastEngine, MatchesTheStepByStepEngineOnGeneratedNetworks) {
  const uint32_t count = NetworkCount();
  int32_t totalLoops = 0;
  for (uint32_t seed = 1; seed <= count; ++seed) {
    SCOPED_TRACE("generator seed " + std::to_string(seed));
    const TNetwork net = MakeNetwork(seed);
    for (const TCommand command : kCommands) {
      SCOPED_TRACE("command " + std::to_string(static_cast<int>(command)));
      const TOutcome expected = RunCommand(net, command, false);
      const TOutcome actual = RunCommand(net, command, true);
      totalLoops += static_cast<int32_t>(expected.Loops.size());
      ASSERT_EQ(actual.TreeEdges, expected.TreeEdges);
      ASSERT_EQ(actual.TreeParents, expected.TreeParents);
      ASSERT_EQ(actual.Loops, expected.Loops);
      ASSERT_EQ(actual.Marks, expected.Marks);
      ASSERT_EQ(actual.Flags, expected.Flags);
      ASSERT_TRUE(actual == expected);
    }
  }
  // The generator must give loops to compare, not only trees.
  EXPECT_GT(totalLoops, static_cast<int32_t>(count));
}

}  // namespace
