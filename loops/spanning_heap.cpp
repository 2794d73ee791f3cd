#include "loops/spanning_heap.h"

namespace {
constexpr int32_t kColumnCapacity = 5;
}  // namespace

TSpanningHeap::TSpanningHeap()
    : FromStations(kColumnCapacity), ToStations(kColumnCapacity), Distances(kColumnCapacity), Orders(kColumnCapacity) {}

void TSpanningHeap::Push(int32_t from, int32_t to, Vec3 fromPosition, Vec3 toPosition, int32_t order) {
  Distances.Add(Length3(Sub3(toPosition, fromPosition)));
  Orders.Add(order);
  FromStations.Add(from);
  ToStations.Add(to);
}

int32_t TSpanningHeap::BestIndex(bool favorHighOrder) const {
  int32_t best = 0;
  for (int32_t i = 0; i < Count(); ++i) {
    // Strict comparisons keep the earliest pushed among equals.
    if (favorHighOrder) {
      if (Orders.Get(i) > Orders.Get(best)) best = i;
    } else {
      if (Distances.Get(best) > Distances.Get(i)) best = i;
    }
  }
  return best;
}

void TSpanningHeap::Remove(int32_t i) {
  Distances.Delete(i);
  Orders.Delete(i);
  FromStations.Delete(i);
  ToStations.Delete(i);
}
