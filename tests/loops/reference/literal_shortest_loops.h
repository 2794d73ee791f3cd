#pragma once
// The "Shortest" loop search step by step, clearing every mark before each
// detour search (the reference for the stamped search): fundamental loops sorted longest first, each
// then offered a detour found breadth-first in the work graph that is at least
// two edges shorter and avoids the closing edges already re-routed in the pass.

#include <cstdint>
#include <deque>

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"

// A first-in first-out queue of station indices.
class TFIFOList {
 public:
  void Push(int32_t item) { items_.push_back(item); }
  // Takes the item at the head; 0, and no change, when the queue is empty.
  int32_t Pop();
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }

 private:
  std::deque<int32_t> items_;
};

// Searches graph breadth-first from s for t, skipping edges that join s and t,
// edges whose Flag is set and stations already reached, and giving up past a
// depth of maxEdges. When found, appends to the (empty) result the closing edge
// (s, t) and then the path from t back to s, sets the Flag of the first graph
// edge joining s and t (when there is one) and returns true. The graph's marks
// keep the depth of each station reached (1 for s).
bool FindShortestLoop(TSurveyGraph& graph, const TEdgeRec& closingEdge, int32_t maxEdges, TEdgeArray& result);

// Sorts the loops, resets every edge Flag of the graph, and when optimize is
// set replaces each loop, in list order, by a shorter one where one exists.
// A replaced loop's attributes are all 0.
void LiteralOptimizeShortest(TLoopList& loops, TSurveyGraph& graph, bool optimize);

// Replaces loops by the fundamental loops of graph's breadth-first tree
// (highest order first), ordered and optionally shortened by OptimizeShortest.
void LiteralFindLoopsShortest(TSurveyGraph& graph, TLoopList& loops, bool optimize);
