#include "loops/fast_loop_searches.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "loops/fast_trees.h"
#include "loops/fundamental_loops.h"
#include "loops/loop_order.h"

namespace {

// A loop with its sort keys, computed once before sorting.
struct TLoopKey {
  TEdgeArray* Loop;
  int32_t Count;
  double Spread;
};

// Depth of every station below the root of its tree (0 for a root).
std::vector<int32_t> TreeDepths(const TSurveyGraph& tree) {
  const int32_t n = tree.StationCount();
  std::vector<int32_t> depth(static_cast<size_t>(n), -1);
  std::vector<int32_t> path;
  for (int32_t s = 0; s < n; ++s) {
    int32_t x = s;
    while (x >= 0 && depth[static_cast<size_t>(x)] < 0) {
      path.push_back(x);
      x = tree.Parents.Get(x);
    }
    int32_t d = x >= 0 ? depth[static_cast<size_t>(x)] : -1;
    while (!path.empty()) {
      depth[static_cast<size_t>(path.back())] = ++d;
      path.pop_back();
    }
  }
  return depth;
}

// FindCommonStation's result: the lowest common ancestor for two distinct
// ends, the parent for an edge from a station to itself, -1 across trees.
int32_t CommonStationByDepth(const TSurveyGraph& tree, const std::vector<int32_t>& depth, int32_t a, int32_t b) {
  if (a == b) return tree.Parents.Get(a);
  while (depth[static_cast<size_t>(a)] > depth[static_cast<size_t>(b)]) a = tree.Parents.Get(a);
  while (depth[static_cast<size_t>(b)] > depth[static_cast<size_t>(a)]) b = tree.Parents.Get(b);
  while (a != b) {
    a = tree.Parents.Get(a);
    b = tree.Parents.Get(b);
    if (a < 0 || b < 0) return -1;
  }
  return a;
}

// Bookkeeping of the detour searches, reused from one search to the next:
// a station belongs to the current search when its stamp is the search's.
struct TDetourSearch {
  std::vector<uint32_t> Stamp;
  std::vector<int32_t> Depth;
  std::vector<int32_t> Predecessor;
  std::vector<int32_t> Queue;
  uint32_t Current = 0;
};

// FindShortestLoop on stamps; see there for the rules of the search.
bool FindDetour(TSurveyGraph& graph, TDetourSearch& search, const TEdgeRec& closing, int32_t maxEdges,
                TEdgeArray& result) {
  const int32_t s = closing.From;
  const int32_t t = closing.To;
  const uint32_t stamp = ++search.Current;
  const int32_t* flags = graph.Edges.Flags.begin();
  search.Stamp[static_cast<size_t>(s)] = stamp;
  search.Depth[static_cast<size_t>(s)] = 1;
  search.Predecessor[static_cast<size_t>(s)] = -1;
  search.Queue.clear();
  search.Queue.push_back(s);
  size_t head = 0;
  bool found = false;
  while (head < search.Queue.size() && !found) {
    const int32_t v = search.Queue[head++];
    const int32_t depth = search.Depth[static_cast<size_t>(v)] + 1;
    if (depth > maxEdges) break;
    const THugeInteger& neighbors = graph.Neighbors.ListOf(v);
    const int32_t* incident = graph.IncidentEdges.ListOf(v).begin();
    const int32_t count = neighbors.Count();
    const int32_t* far = neighbors.begin();
    for (int32_t k = 0; k < count; ++k) {
      const int32_t w = far[k];
      if ((v == s && w == t) || (v == t && w == s)) continue;
      if (flags[incident[k]] != 0) continue;
      if (search.Stamp[static_cast<size_t>(w)] == stamp) continue;
      search.Stamp[static_cast<size_t>(w)] = stamp;
      search.Predecessor[static_cast<size_t>(w)] = v;
      search.Depth[static_cast<size_t>(w)] = depth;
      search.Queue.push_back(w);
      if (w == t) {
        found = true;
        break;
      }
    }
  }
  if (!found) return false;

  result.AddEdge({s, t, 0});
  for (int32_t x = t; search.Predecessor[static_cast<size_t>(x)] != -1; x = search.Predecessor[static_cast<size_t>(x)])
    result.AddEdge({x, search.Predecessor[static_cast<size_t>(x)], 0});
  // The lowest-numbered graph edge joining s and t is among s's incident edges.
  int32_t closingIndex = -1;
  const THugeInteger& neighbors = graph.Neighbors.ListOf(s);
  const THugeInteger& incident = graph.IncidentEdges.ListOf(s);
  for (int32_t k = 0; k < neighbors.Count(); ++k) {
    const int32_t e = incident.Get(k);
    if (neighbors.Get(k) == t && (closingIndex < 0 || e < closingIndex)) closingIndex = e;
  }
  if (closingIndex >= 0) graph.Edges.Flags.Put(closingIndex, 1);
  return true;
}

}  // namespace

void FastBuildLoops(const TSurveyGraph& tree, TLoopList& loops) {
  if (loops.Count() == 0) return;
  const std::vector<int32_t> depth = TreeDepths(tree);
  for (int32_t i = 0; i < loops.Count(); ++i) {
    TEdgeArray& loop = loops.LoopAt(i);
    const TEdgeRec closing = loop.GetEdge(0);
    loop.CommonStation = CommonStationByDepth(tree, depth, closing.From, closing.To);
    AddTreePath(tree, loop, closing.From, loop.CommonStation);
    loop.FirstPathCount = loop.Count();
    AddTreePath(tree, loop, closing.To, loop.CommonStation);
  }
}

void FastSortLoops(TLoopList& loops, const TSurveyGraph& graph) {
  const int32_t n = loops.Count();
  if (n == 0) return;
  THugeTyped<TLoopKey> keys(n);
  for (int32_t i = 0; i < n; ++i) {
    TEdgeArray* loop = loops.Get(i);
    keys.Add({loop, loop->Count(), LoopSpread(*loop, graph)});
  }
  keys.Sort([](const void* item, const void* pivot) {
    TLoopKey a;
    TLoopKey b;
    std::memcpy(&a, item, sizeof a);
    std::memcpy(&b, pivot, sizeof b);
    const int32_t d = b.Count - a.Count;
    if (d != 0) return d;
    const double difference = std::trunc(b.Spread - a.Spread);
    if (difference > 0) return 1;
    if (difference < 0) return -1;
    return 0;
  });
  for (int32_t i = 0; i < n; ++i) loops.Put(i, keys.Get(i).Loop);
}

void FastOptimizeShortest(TLoopList& loops, TSurveyGraph& graph, bool optimize) {
  FastSortLoops(loops, graph);
  graph.Edges.SetAllFlags(0);
  if (!optimize || loops.Count() == 0) return;
  const auto n = static_cast<size_t>(graph.StationCount());
  TDetourSearch search;
  search.Stamp.assign(n, 0);
  search.Depth.assign(n, 0);
  search.Predecessor.assign(n, -1);
  search.Queue.reserve(n);
  TEdgeArray shorter;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    TEdgeArray& loop = loops.LoopAt(i);
    shorter.Clear();
    if (FindDetour(graph, search, loop.GetEdge(0), loop.Count() - 2, shorter)) loop.AssignLoop(shorter);
  }
  // Leave the marks the last search would have left after clearing them all.
  for (size_t v = 0; v < n; ++v)
    graph.Marks.Put(static_cast<int32_t>(v), search.Stamp[v] == search.Current ? search.Depth[v] : 0);
}

void FastFindLoopsShortest(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  TSurveyGraph tree;
  FastBreadthFirstTree(graph, tree, loops, true);
  FastBuildLoops(tree, loops);
  FastOptimizeShortest(loops, graph, optimize);
}

void FastFindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  TSurveyGraph tree;
  FastBreadthFirstTree(graph, tree, loops, true);
  FastBuildLoops(tree, loops);
  FastOptimizeOverlap(loops, graph, optimize);
}
