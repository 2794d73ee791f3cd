#include "loops/loop_order.h"

#include <cmath>

Vec3 LoopCentroid(const TEdgeArray& loop, const TSurveyGraph& graph) {
  Vec3 sum = MakeVec3(0, 0, 0);
  if (loop.Count() == 0) return sum;
  for (int32_t i = 0; i < loop.Count(); ++i) sum = Add3(sum, graph.Positions.Get(loop.Tos.Get(i)));
  return Div3(sum, static_cast<double>(loop.Count()));
}

double LoopSpread(const TEdgeArray& loop, const TSurveyGraph& graph) {
  const Vec3 centroid = LoopCentroid(loop, graph);
  double spread = 0;
  for (int32_t i = 0; i < loop.Count(); ++i) spread += Length3(Sub3(graph.Positions.Get(loop.Tos.Get(i)), centroid));
  return spread;
}

int32_t CompareLoops(const TEdgeArray& a, const TEdgeArray& b, const TSurveyGraph& graph) {
  const int32_t d = b.Count() - a.Count();
  if (d != 0) return d;
  // Only the sign of the truncated difference matters to the sort; taking the
  // sign directly keeps huge spreads from overflowing an integer.
  const double difference = std::trunc(LoopSpread(b, graph) - LoopSpread(a, graph));
  if (difference > 0) return 1;
  if (difference < 0) return -1;
  return 0;
}

void SortLoops(TLoopList& loops, const TSurveyGraph& graph) {
  loops.SortLoops([&graph](const TEdgeArray& a, const TEdgeArray& b) { return CompareLoops(a, b, graph); });
}
