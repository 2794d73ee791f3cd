#pragma once
// Small survey networks and readers shared by the loop engine's tests.

#include <string>
#include <utility>
#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"

using TStationPair = std::pair<int32_t, int32_t>;

inline std::vector<int32_t> Items(const THugeInteger& column) { return {column.begin(), column.end()}; }

// The (From, To) of every edge, in order.
inline std::vector<TStationPair> EdgePairs(const TEdgeArray& edges) {
  std::vector<TStationPair> pairs;
  for (int32_t i = 0; i < edges.Count(); ++i) pairs.emplace_back(edges.Froms.Get(i), edges.Tos.Get(i));
  return pairs;
}

// Edge 0 of every loop, in list order.
inline std::vector<TStationPair> ClosingEdges(const TLoopList& loops) {
  std::vector<TStationPair> pairs;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    pairs.emplace_back(loop.Froms.Get(0), loop.Tos.Get(0));
  }
  return pairs;
}

// Every loop's edges and attributes, so two results can be compared whole.
struct TLoopSnapshot {
  std::vector<TStationPair> Edges;
  std::vector<int32_t> Flags;
  int32_t CommonStation, FirstPathCount, LoopValue;
  friend bool operator==(const TLoopSnapshot&, const TLoopSnapshot&) = default;
};

inline std::vector<TLoopSnapshot> Snapshot(const TLoopList& loops) {
  std::vector<TLoopSnapshot> all;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    all.push_back({EdgePairs(loop), Items(loop.Flags), loop.CommonStation, loop.FirstPathCount, loop.LoopValue});
  }
  return all;
}

// Stations named S0, S1, ... at the given positions, then the edges in order.
inline void FillGraph(TSurveyGraph& g, const std::vector<Vec3>& positions, const std::vector<TStationPair>& edges) {
  g.Clear();
  for (size_t i = 0; i < positions.size(); ++i) g.AddStation("S" + std::to_string(i), positions[i]);
  for (const auto& [from, to] : edges) g.AddEdgeByIndex(from, to);
}

// Stations 0 (0, 0), 1 (10, 0), 2 (10, 10), 3 (0, 10) and the edges (0, 1),
// (1, 2), (2, 3), (3, 0).
inline void FillSquare(TSurveyGraph& g) {
  FillGraph(g, {MakeVec3(0, 0, 0), MakeVec3(10, 0, 0), MakeVec3(10, 10, 0), MakeVec3(0, 10, 0)},
            {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
}

// A columns x rows grid: station k = columns * j + i at (10i, 10j, 0); the
// edges along the rows first, then along the columns.
inline void FillGrid(TSurveyGraph& g, int32_t columns, int32_t rows) {
  std::vector<Vec3> positions;
  std::vector<TStationPair> edges;
  for (int32_t j = 0; j < rows; ++j)
    for (int32_t i = 0; i < columns; ++i) positions.push_back(MakeVec3(10.0 * i, 10.0 * j, 0));
  for (int32_t j = 0; j < rows; ++j)
    for (int32_t i = 0; i + 1 < columns; ++i) edges.emplace_back(columns * j + i, columns * j + i + 1);
  for (int32_t j = 0; j + 1 < rows; ++j)
    for (int32_t i = 0; i < columns; ++i) edges.emplace_back(columns * j + i, columns * j + i + columns);
  FillGraph(g, positions, edges);
}
