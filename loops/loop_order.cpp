#include "loops/loop_order.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "core/index_quicksort.h"

Vec3 LoopCentroid(const TEdgeArray& loop, const TSurveyGraph& graph) {
  Vec3 sum = MakeVec3(0, 0, 0);
  if (loop.Count() == 0) return sum;
  for (int32_t i = 0; i < loop.Count(); ++i) sum = Add3(sum, graph.Positions.Get(loop.Tos.Get(i)));
  return Div3(sum, static_cast<double>(loop.Count()));
}

double SpreadOfTos(const int32_t* tos, int32_t count, const TSurveyGraph& graph) {
  Vec3 centroid = MakeVec3(0, 0, 0);
  if (count > 0) {
    for (int32_t i = 0; i < count; ++i) centroid = Add3(centroid, graph.Positions.Get(tos[i]));
    centroid = Div3(centroid, static_cast<double>(count));
  }
  double spread = 0;
  for (int32_t i = 0; i < count; ++i) spread += Length3(Sub3(graph.Positions.Get(tos[i]), centroid));
  return spread;
}

double LoopSpread(const TEdgeArray& loop, const TSurveyGraph& graph) {
  return SpreadOfTos(loop.Tos.begin(), loop.Count(), graph);
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

int32_t CompareKeys(const TLoopKey& a, const TLoopKey& b) {
  const int32_t d = b.Count - a.Count;
  if (d != 0) return d;
  const double difference = std::trunc(b.Spread - a.Spread);
  if (difference > 0) return 1;
  if (difference < 0) return -1;
  return 0;
}

}  // namespace

std::vector<int32_t> SortLoopsByKeys(TLoopList& loops, const std::vector<int32_t>& counts,
                                     const std::vector<double>& spreads) {
  const int32_t n = loops.Count();
  std::vector<int32_t> order;
  if (n == 0) return order;
  std::vector<TLoopKey> keys;
  keys.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i)
    keys.push_back({loops.Get(i), i, counts[static_cast<size_t>(i)], spreads[static_cast<size_t>(i)]});
  // Typed swaps of whole keys instead of the array's byte-wise exchanges.
  IndexQuickSort(
      0, n - 1,
      [&keys](int32_t a, int32_t b) { return CompareKeys(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]); },
      [&keys](int32_t a, int32_t b) { std::swap(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]); });
  order.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    loops.Put(i, keys[static_cast<size_t>(i)].Loop);
    order.push_back(keys[static_cast<size_t>(i)].Index);
  }
  return order;
}

void SortLoops(TLoopList& loops, const TSurveyGraph& graph) {
  std::vector<int32_t> counts;
  std::vector<double> spreads;
  counts.reserve(static_cast<size_t>(loops.Count()));
  spreads.reserve(static_cast<size_t>(loops.Count()));
  for (int32_t i = 0; i < loops.Count(); ++i) {
    counts.push_back(loops.LoopAt(i).Count());
    spreads.push_back(LoopSpread(loops.LoopAt(i), graph));
  }
  SortLoopsByKeys(loops, counts, spreads);
}
