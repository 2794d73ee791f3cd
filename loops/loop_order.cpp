#include "loops/loop_order.h"

#include <cmath>
#include <cstring>

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

namespace {

// A loop's sort keys and its position before sorting.
struct TLoopKey {
  TEdgeArray* Loop;
  int32_t Index;
  int32_t Count;
  double Spread;
};

}  // namespace

std::vector<int32_t> SortLoopsByKeys(TLoopList& loops, const std::vector<int32_t>& counts,
                                     const std::vector<double>& spreads) {
  const int32_t n = loops.Count();
  std::vector<int32_t> order;
  if (n == 0) return order;
  // The same quicksort over the keys moves them exactly as it would move the
  // loops, so equal loops end in the same order.
  THugeTyped<TLoopKey> keys(n);
  for (int32_t i = 0; i < n; ++i)
    keys.Add({loops.Get(i), i, counts[static_cast<size_t>(i)], spreads[static_cast<size_t>(i)]});
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
  order.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    loops.Put(i, keys.Get(i).Loop);
    order.push_back(keys.Get(i).Index);
  }
  return order;
}

void SortLoops(TLoopList& loops, const TSurveyGraph& graph) {
  std::vector<int32_t> counts;
  std::vector<double> spreads;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    counts.push_back(loops.LoopAt(i).Count());
    spreads.push_back(LoopSpread(loops.LoopAt(i), graph));
  }
  SortLoopsByKeys(loops, counts, spreads);
}
