#include "tests/loops/reference/literal_overlap_loops.h"

#include "loops/loop_order.h"
#include "tests/loops/reference/literal_breadth_first_tree.h"
#include "tests/loops/reference/literal_fundamental_loops.h"
#include "tests/loops/reference/literal_loop_order.h"

bool EdgeInLoop(const TEdgeRec& edge, const TEdgeArray& loop) {
  for (int32_t i = 0; i < loop.Count(); ++i) {
    if (SameEdge(loop.GetEdge(i), edge)) return true;
  }
  return false;
}

void RemoveSharedEdges(TEdgeArray& a, const TEdgeArray& b) {
  for (int32_t i = a.Count() - 1; i >= 0; --i) {
    if (EdgeInLoop(a.GetEdge(i), b)) a.Delete(i);
  }
}

void KeepSharedEdges(TEdgeArray& a, const TEdgeArray& b) {
  for (int32_t i = a.Count() - 1; i >= 0; --i) {
    if (!EdgeInLoop(a.GetEdge(i), b)) a.Delete(i);
  }
}

void AppendEdges(TEdgeArray& a, const TEdgeArray& b) {
  // Read the count once: appending a loop to itself doubles it and ends.
  const int32_t count = b.Count();
  for (int32_t i = 0; i < count; ++i) a.AddEdge(b.GetEdge(i));
}

bool SharedPartFarther(const TEdgeArray& shared, const TEdgeArray& own, const TEdgeArray& earlier,
                       const TSurveyGraph& graph) {
  const Vec3 earlierCentre = LoopCentroid(earlier, graph);
  const Vec3 ownCentre = LoopCentroid(own, graph);
  const Vec3 sharedCentre = LoopCentroid(shared, graph);
  return Length3(Sub3(sharedCentre, earlierCentre)) > Length3(Sub3(ownCentre, earlierCentre));
}

bool OverlapsEnough(const TEdgeArray& earlier, const TEdgeArray& later, const TSurveyGraph& graph) {
  TEdgeArray shared;
  shared.AssignLoop(later);
  KeepSharedEdges(shared, earlier);
  TEdgeArray own;
  own.AssignLoop(later);
  RemoveSharedEdges(own, earlier);
  if (shared.Count() == own.Count()) return SharedPartFarther(shared, own, earlier, graph);
  return shared.Count() > own.Count();
}

void MergeLoops(const TEdgeArray& later, TEdgeArray& earlier) {
  TEdgeArray own;
  own.AssignLoop(later);
  RemoveSharedEdges(own, earlier);
  RemoveSharedEdges(earlier, later);
  AppendEdges(earlier, own);
}

void LiteralOptimizeOverlap(TLoopList& loops, const TSurveyGraph& graph, bool optimize) {
  LiteralSortLoops(loops, graph);
  if (!optimize || loops.Count() < 2) return;
  for (int32_t i = 0; i + 1 < loops.Count(); ++i) {
    TEdgeArray& earlier = loops.LoopAt(i);
    for (int32_t j = i + 1; j < loops.Count(); ++j) {
      const TEdgeArray& later = loops.LoopAt(j);
      if (OverlapsEnough(earlier, later, graph)) MergeLoops(later, earlier);
    }
  }
}

void LiteralFindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  TSurveyGraph tree;
  LiteralBreadthFirstTree(graph, tree, loops, true);
  for (int32_t i = 0; i < loops.Count(); ++i) BuildLoop(tree, loops.LoopAt(i));
  LiteralOptimizeOverlap(loops, graph, optimize);
}
