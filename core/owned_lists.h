#pragma once
// Arrays of owned objects: the per-station integer lists of a graph
// (TAdjacencyList) and the loops of a search (TLoopList). Each frees what it
// holds in Clear and on destruction.

#include <memory>

#include "core/edge_array.h"
#include "core/huge_array.h"

class TAdjacencyList : public THugeTyped<THugeInteger*> {
 public:
  TAdjacencyList() : THugeTyped(1) {}
  ~TAdjacencyList() override { FreeLists(); }

  // Appends a new empty list (capacity 5) and returns it.
  THugeInteger& AddList();
  THugeInteger& ListOf(int32_t i) const { return *Get(i); }
  // Frees every list, then count 0 and capacity back to 1.
  void Clear() override;

 private:
  void FreeLists() noexcept;
};

class TLoopList : public THugeTyped<TEdgeArray*> {
 public:
  explicit TLoopList(int32_t capacity = 5) : THugeTyped(capacity) {}
  ~TLoopList() override { FreeLoops(); }

  // Appends a new empty loop and returns it.
  TEdgeArray& AddLoop();
  TEdgeArray& LoopAt(int32_t i) const { return *Get(i); }
  // Frees every loop, then the base Clear.
  void Clear() override;
  // Sorts the loop references with the array quicksort;
  // compare(a, b) < 0 when loop a belongs before loop b.
  template <class Compare>
  void SortLoops(Compare&& compare) {
    Sort([&compare](const void* item, const void* pivot) {
      TEdgeArray* a;
      TEdgeArray* b;
      std::memcpy(&a, item, sizeof a);
      std::memcpy(&b, pivot, sizeof b);
      return compare(*a, *b);
    });
  }

 private:
  void FreeLoops() noexcept;
};
