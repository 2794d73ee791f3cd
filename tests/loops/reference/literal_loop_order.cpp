#include "tests/loops/reference/literal_loop_order.h"

#include "loops/loop_order.h"

void LiteralSortLoops(TLoopList& loops, const TSurveyGraph& graph) {
  loops.SortLoops([&graph](const TEdgeArray& a, const TEdgeArray& b) { return CompareLoops(a, b, graph); });
}
