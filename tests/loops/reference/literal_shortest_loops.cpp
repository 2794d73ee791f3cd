#include "tests/loops/reference/literal_shortest_loops.h"

#include <algorithm>

#include "tests/loops/reference/literal_breadth_first_tree.h"
#include "tests/loops/reference/literal_fundamental_loops.h"
#include "tests/loops/reference/literal_loop_order.h"

int32_t TFIFOList::Pop() {
  if (items_.empty()) return 0;
  const int32_t item = items_.front();
  items_.pop_front();
  return item;
}

bool FindShortestLoop(TSurveyGraph& graph, const TEdgeRec& closingEdge, int32_t maxEdges, TEdgeArray& result) {
  const int32_t s = closingEdge.From;
  const int32_t t = closingEdge.To;
  const int32_t n = graph.StationCount();
  // A column cannot be created empty; one slot more than needed is harmless.
  THugeInteger predecessors(std::max(n, 1));
  for (int32_t i = 0; i < n; ++i) predecessors.Add(-1);
  TFIFOList queue;

  graph.SetAllMarks(0);
  graph.Marks.Put(s, 1);
  queue.Push(s);
  bool found = false;
  while (!queue.Empty() && !found) {
    const int32_t v = queue.Pop();
    const int32_t depth = graph.Marks.Get(v) + 1;
    if (depth > maxEdges) break;
    const THugeInteger& neighbors = graph.Neighbors.ListOf(v);
    const THugeInteger& incident = graph.IncidentEdges.ListOf(v);
    for (int32_t k = 0; k < neighbors.Count(); ++k) {
      const int32_t w = neighbors.Get(k);
      const int32_t e = incident.Get(k);
      if (SameEdge({v, w, 0}, closingEdge)) continue;
      if (graph.Edges.Flags.Get(e) != 0) continue;
      if (graph.Marks.Get(w) != 0) continue;
      predecessors.Put(w, v);
      graph.Marks.Put(w, depth);
      queue.Push(w);
      if (w == t) {
        found = true;
        break;
      }
    }
  }
  if (!found) return false;

  result.AddEdge({s, t, 0});
  for (int32_t x = t; predecessors.Get(x) != -1; x = predecessors.Get(x)) result.AddEdge({x, predecessors.Get(x), 0});
  const int32_t closingIndex = graph.Edges.IndexOfEdge(closingEdge);
  if (closingIndex >= 0) graph.Edges.Flags.Put(closingIndex, 1);
  return true;
}

void LiteralOptimizeShortest(TLoopList& loops, TSurveyGraph& graph, bool optimize) {
  TEdgeArray shorter;
  LiteralSortLoops(loops, graph);
  graph.Edges.SetAllFlags(0);
  if (!optimize) return;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    TEdgeArray& loop = loops.LoopAt(i);
    shorter.Clear();
    if (FindShortestLoop(graph, loop.GetEdge(0), loop.Count() - 2, shorter)) loop.AssignLoop(shorter);
  }
}

void LiteralFindLoopsShortest(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  TSurveyGraph tree;
  LiteralBreadthFirstTree(graph, tree, loops, true);
  for (int32_t i = 0; i < loops.Count(); ++i) BuildLoop(tree, loops.LoopAt(i));
  LiteralOptimizeShortest(loops, graph, optimize);
}
