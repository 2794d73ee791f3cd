#include "tests/loops/reference/literal_depth_first_tree.h"

#include <vector>

namespace {

// One station under visit: where it came from and how far its neighbour list
// has been scanned, as a recursive visit would hold them in its frame.
struct TVisitFrame {
  int32_t Parent;
  int32_t Station;
  int32_t NextNeighbor;
};

// Adds the tree edge into v and numbers v: the part of a visit that happens
// before its neighbours are scanned.
void EnterStation(TDepthFirstRun& run, int32_t parent, int32_t v) {
  if (parent != -1) run.Tree.AddEdgeByIndex(parent, v);
  ++run.VisitCounter;
  run.Source.Marks.Put(v, run.VisitCounter);
}

}  // namespace

void AddClosingEdge(TLoopList& loops, const TEdgeRec& edge) {
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    if (loop.Count() > 0 && SameEdge(loop.GetEdge(0), edge)) return;
  }
  loops.AddLoop().AddEdge({edge.From, edge.To, 0});
}

void VisitStation(TDepthFirstRun& run, int32_t parent, int32_t v) {
  std::vector<TVisitFrame> stack;
  EnterStation(run, parent, v);
  stack.push_back({parent, v, 0});
  while (!stack.empty()) {
    TVisitFrame& frame = stack.back();
    const THugeInteger& neighbors = run.Source.Neighbors.ListOf(frame.Station);
    if (frame.NextNeighbor >= neighbors.Count()) {
      stack.pop_back();
      continue;
    }
    const int32_t w = neighbors.Get(frame.NextNeighbor);
    ++frame.NextNeighbor;
    if (run.Source.Marks.Get(w) == 0) {
      const int32_t station = frame.Station;
      EnterStation(run, station, w);
      stack.push_back({station, w, 0});  // invalidates frame
    } else if (w != frame.Parent && run.Source.Marks.Get(frame.Station) < run.VisitCounter) {
      AddClosingEdge(run.Loops, {frame.Station, w, 0});
    }
  }
}

void LiteralDepthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops) {
  loops.Clear();
  CopyStations(source, tree);
  source.SetAllMarks(0);
  TDepthFirstRun run{source, tree, loops};
  for (int32_t i = 0; i < source.StationCount(); ++i) {
    if (source.Marks.Get(i) == 0) VisitStation(run, -1, i);
  }
}
