#include "loops/shortest_loops.h"

#include <vector>

#include "loops/breadth_first_tree.h"
#include "loops/fundamental_loops.h"
#include "loops/loop_order.h"
#include "loops/search_stop.h"

namespace {

// Bookkeeping of the detour searches, reused from one search to the next: a
// station belongs to the current search when its stamp is the search's, so
// nothing needs clearing between searches.
struct TDetourSearch {
  explicit TDetourSearch(size_t stations) : Stamp(stations, 0), Depth(stations, 0), Predecessor(stations, -1) {
    Queue.reserve(stations);
  }
  std::vector<uint32_t> Stamp;
  std::vector<int32_t> Depth;
  std::vector<int32_t> Predecessor;
  std::vector<int32_t> Queue;
  uint32_t Current = 0;
};

// Lowest index of a graph edge joining s and t; every such edge is incident to s.
int32_t FirstEdgeBetween(const TSurveyGraph& graph, int32_t s, int32_t t) {
  int32_t first = -1;
  const THugeInteger& neighbors = graph.Neighbors.ListOf(s);
  const THugeInteger& incident = graph.IncidentEdges.ListOf(s);
  for (int32_t k = 0; k < neighbors.Count(); ++k) {
    const int32_t e = incident.Get(k);
    if (neighbors.Get(k) == t && (first < 0 || e < first)) first = e;
  }
  return first;
}

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
    const int32_t* far = neighbors.begin();
    const int32_t* incident = graph.IncidentEdges.ListOf(v).begin();
    for (int32_t k = 0; k < neighbors.Count(); ++k) {
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
  const int32_t closingIndex = FirstEdgeBetween(graph, s, t);
  if (closingIndex >= 0) graph.Edges.Flags.Put(closingIndex, 1);
  return true;
}

}  // namespace

namespace {

// Offers each loop, in list order, a detour at least two edges shorter;
// edgeCount(i) is loop i's edge count, and build(i) completes loop i when it
// keeps its own edges.
template <class EdgeCount, class Build>
void ShortenLoops(TLoopList& loops, TSurveyGraph& graph, EdgeCount&& edgeCount, Build&& build) {
  const auto n = static_cast<size_t>(graph.StationCount());
  TDetourSearch search(n);
  TEdgeArray shorter;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    ReportSearchProgress(i, loops.Count());
    TEdgeArray& loop = loops.LoopAt(i);
    shorter.Clear();
    if (FindDetour(graph, search, loop.GetEdge(0), edgeCount(i) - 2, shorter))
      loop.AssignLoop(shorter);
    else
      build(i);
  }
  // The marks the last search leaves after clearing them all.
  for (size_t v = 0; v < n; ++v)
    graph.Marks.Put(static_cast<int32_t>(v), search.Stamp[v] == search.Current ? search.Depth[v] : 0);
}

}  // namespace

void OptimizeShortest(TLoopList& loops, TSurveyGraph& graph, bool optimize) {
  SortLoops(loops, graph);
  graph.Edges.SetAllFlags(0);
  if (!optimize || loops.Count() == 0) return;
  ShortenLoops(
      loops, graph, [&loops](int32_t i) { return loops.LoopAt(i).Count(); }, [](int32_t) {});
}

void FindLoopsShortest(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  const TFundamentalLoops fundamental(BreadthFirstParents(graph, loops, true));
  if (!optimize || loops.Count() == 0) {
    for (int32_t i = 0; i < loops.Count(); ++i) fundamental.Build(loops.LoopAt(i));
    OptimizeShortest(loops, graph, optimize);
    return;
  }
  // Most fundamental loops give way to a detour, so each is built only when
  // it keeps its own edges; its size and spread order the list without it.
  const std::vector<int32_t> counts = SortFundamentalLoops(loops, fundamental, graph);
  graph.Edges.SetAllFlags(0);
  ShortenLoops(
      loops, graph, [&](int32_t i) { return counts[static_cast<size_t>(i)]; },
      [&](int32_t i) { fundamental.Build(loops.LoopAt(i)); });
}
