#include "tests/loops/reference/literal_breadth_first_tree.h"

void AddCandidates(const TSurveyGraph& source, TSpanningHeap& heap, int32_t v) {
  const THugeInteger& neighbors = source.Neighbors.ListOf(v);
  for (int32_t k = 0; k < neighbors.Count(); ++k) {
    const int32_t w = neighbors.Get(k);
    if (source.Marks.Get(w) != 0) continue;
    heap.Push(v, w, source.Positions.Get(v), source.Positions.Get(w), source.Neighbors.ListOf(w).Count());
  }
}

void LiteralBreadthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops, bool favorHighOrder) {
  TSpanningHeap heap;
  tree.Clear();
  loops.Clear();
  source.SetAllMarks(0);
  // Station i of the tree is station i of the source from here on.
  CopyStations(source, tree);
  if (source.StationCount() == 0) return;

  const int32_t start = favorHighOrder ? MostConnectedStation(source) : 0;
  AddCandidates(source, heap, start);
  source.Marks.Put(start, 1);
  while (!heap.Empty()) {
    const int32_t k = heap.BestIndex(favorHighOrder);
    const int32_t from = heap.FromStations.Get(k);
    const int32_t to = heap.ToStations.Get(k);
    heap.Remove(k);
    if (source.Marks.Get(to) == 0) {
      tree.AddEdgeByIndex(from, to);
      AddCandidates(source, heap, to);
      source.Marks.Put(to, 1);
    } else {
      loops.AddLoop().AddEdge({from, to, 0});
    }
  }
}
