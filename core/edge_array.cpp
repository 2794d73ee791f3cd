#include "core/edge_array.h"

#include <utility>

namespace {
constexpr size_t kColumnBytes = TEdgeArray::kColumnBlockBytes / 3;
}

TEdgeArray::TEdgeArray() : Froms(kInitialCapacity), Tos(kInitialCapacity), Flags(kInitialCapacity) {}

TEdgeArray::TEdgeArray(std::byte* columnBlocks)
    : Froms(kInitialCapacity, columnBlocks),
      Tos(kInitialCapacity, columnBlocks + kColumnBytes),
      Flags(kInitialCapacity, columnBlocks + 2 * kColumnBytes) {}

void TEdgeArray::PutEdge(int32_t i, const TEdgeRec& rec) {
  Froms.Put(i, rec.From);
  Tos.Put(i, rec.To);
  Flags.Put(i, rec.Flag);
}

int32_t TEdgeArray::AddEdge(const TEdgeRec& rec) {
  // Grow every column first so a failed allocation leaves them equal.
  Froms.Grow();
  Tos.Grow();
  Flags.Grow();
  Froms.Add(rec.From);
  Tos.Add(rec.To);
  return Flags.Add(0);
}

void TEdgeArray::Delete(int32_t i) {
  Froms.Delete(i);
  Tos.Delete(i);
  Flags.Delete(i);
}

void TEdgeArray::Clear() {
  Froms.Clear();
  Tos.Clear();
  Flags.Clear();
}

void TEdgeArray::SetAllFlags(int32_t v) {
  for (int32_t i = 0; i < Flags.Count(); ++i) Flags.Put(i, v);
}

int32_t TEdgeArray::IndexOfEdge(const TEdgeRec& rec) const {
  const int32_t n = Count();
  const int32_t* from = Froms.begin();
  const int32_t* to = Tos.begin();
  for (int32_t i = 0; i < n; ++i)
    if ((from[i] == rec.From && to[i] == rec.To) || (from[i] == rec.To && to[i] == rec.From)) return i;
  return -1;
}

void TEdgeArray::AssignLoop(const TEdgeArray& src) {
  if (&src == this) {
    SetAllFlags(0);
    return;
  }
  Clear();
  CommonStation = src.CommonStation;
  FirstPathCount = src.FirstPathCount;
  LoopValue = src.LoopValue;
  for (int32_t i = 0; i < src.Count(); ++i) AddEdge(src.GetEdge(i));
}

void TEdgeArray::ExchangeEdges(int32_t i, int32_t j) {
  const TEdgeRec a = GetEdge(i);
  PutEdge(i, GetEdge(j));
  PutEdge(j, a);
}

int32_t TEdgeArray::SortByTo(int32_t lo, int32_t hi) {
  int32_t count = 0;
  int32_t i;
  do {
    i = lo;
    int32_t j = hi;
    const auto middle = static_cast<int32_t>((static_cast<uint32_t>(lo) + static_cast<uint32_t>(hi)) >> 1);
    const TEdgeRec pivot = GetEdge(middle);
    do {
      while (Tos.Get(i) < pivot.To) ++i;
      while (Tos.Get(j) > pivot.To) --j;
      if (i <= j) {
        ExchangeEdges(i, j);
        ++i;
        --j;
        ++count;
      }
    } while (i <= j);
    if (lo < j) count += SortByTo(lo, j);
    lo = i;
  } while (i < hi);
  return count;
}

int32_t TEdgeArray::NormalizeEdges(int32_t lo, int32_t hi) {
  int32_t reversed = 0;
  for (int32_t k = lo; k <= hi; ++k) {
    TEdgeRec e = GetEdge(k);
    if (e.From > e.To) {
      std::swap(e.From, e.To);
      PutEdge(k, e);
      ++reversed;
    }
  }
  if (lo <= hi) SortByTo(lo, hi);
  return reversed;
}

void TEdgeArray::Swap(TEdgeArray& other) {
  // Every column is made ready first, so a failure leaves both arrays whole.
  Froms.PrepareSwap(other.Froms);
  Tos.PrepareSwap(other.Tos);
  Flags.PrepareSwap(other.Flags);
  Froms.Swap(other.Froms);
  Tos.Swap(other.Tos);
  Flags.Swap(other.Flags);
  std::swap(CommonStation, other.CommonStation);
  std::swap(FirstPathCount, other.FirstPathCount);
  std::swap(LoopValue, other.LoopValue);
}
