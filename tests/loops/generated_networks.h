#pragma once
// Generated survey networks for the tests that run the loop engine over many
// networks: holed and jittered grids, random networks with self-loops and
// repeated shots, several pieces, isolated stations and repeated names.

#include <random>
#include <string>
#include <vector>

#include "core/survey_graph.h"
#include "loop_test_graphs.h"

// A network as a list of stations and edges, so it can be filled twice.
struct TNetwork {
  std::vector<std::string> Names;
  std::vector<Vec3> Positions;
  std::vector<TStationPair> Edges;
  std::vector<int32_t> Marks;
  std::vector<int32_t> Flags;
};

using TRandom = std::mt19937;

inline int32_t Draw(TRandom& random, int32_t lo, int32_t hi) {
  return std::uniform_int_distribution<int32_t>(lo, hi)(random);
}

inline std::string DrawName(TRandom& random, int32_t k, bool repeat) {
  // Repeated names: a small pool, so many stations share one.
  return repeat ? "R" + std::to_string(Draw(random, 0, 3)) : "S" + std::to_string(k);
}

// A grid with holes, optionally jittered off the lattice; edges in a random
// direction, some doubled.
inline void AddGrid(TNetwork& net, TRandom& random, int32_t rows, int32_t columns, double offsetX, bool jitter,
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
inline void AddRandomNetwork(TNetwork& net, TRandom& random, int32_t stations, int32_t edges, int32_t span,
                             bool repeatNames) {
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

inline TNetwork MakeNetwork(uint32_t seed) {
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

// Networks that stress the merging pass and the ordering: few stations
// joined many times (many loops holding the same station pairs, merges that
// empty loops, every station on one or two spots so spreads tie), and
// jittered grids far from the origin, where sums of positions round and only
// the same order of additions gives the same spreads.
inline TNetwork MakeStressNetwork(uint32_t seed) {
  TRandom random(seed);
  TNetwork net;
  const bool repeatNames = Draw(random, 0, 7) == 0;
  if (seed % 2 == 0)
    AddRandomNetwork(net, random, Draw(random, 2, 8), Draw(random, 8, 40), 0, repeatNames);
  else
    AddGrid(net, random, Draw(random, 3, 12), Draw(random, 3, 12), 1e15 + Draw(random, 0, 999) * 0.37, true,
            Draw(random, 0, 20), repeatNames);
  for (size_t k = 0; k < net.Positions.size(); ++k) net.Marks.push_back(Draw(random, 0, 2));
  for (size_t k = 0; k < net.Edges.size(); ++k) net.Flags.push_back(Draw(random, 0, 4) == 0 ? 1 : 0);
  return net;
}

inline void Fill(TSurveyGraph& graph, const TNetwork& net) {
  graph.Clear();
  for (size_t k = 0; k < net.Positions.size(); ++k) graph.AddStation(net.Names[k], net.Positions[k]);
  for (const auto& [from, to] : net.Edges) graph.AddEdgeByIndex(from, to);
  for (size_t k = 0; k < net.Marks.size(); ++k) graph.Marks.Put(static_cast<int32_t>(k), net.Marks[k]);
  for (size_t k = 0; k < net.Flags.size(); ++k) graph.Edges.Flags.Put(static_cast<int32_t>(k), net.Flags[k]);
}
