#pragma once
// Arrays of owned objects: the per-station integer lists of a graph
// (TAdjacencyList) and the loops of a search (TLoopList). The objects a list
// makes live in its own pool, packed with their first blocks; a list frees
// every object it made, and every other object put into it, in Clear and on
// destruction. An object made by one list must not be put into another.

#include <memory>

#include "core/edge_array.h"
#include "core/huge_array.h"
#include "core/object_pool.h"

class TAdjacencyList : public THugeTyped<THugeInteger*> {
 public:
  // Every list starts with room for this many entries.
  static constexpr int32_t kListCapacity = 5;

  TAdjacencyList();
  ~TAdjacencyList() override { FreeLists(); }

  // Appends a new empty list (capacity 5) and returns it.
  THugeInteger& AddList();
  THugeInteger& ListOf(int32_t i) const { return *Get(i); }
  // Frees every list, then count 0 and capacity back to 1.
  void Clear() override;
  // Exchanges the lists and their storage with other.
  void Swap(TAdjacencyList& other) noexcept;

 private:
  void FreeLists() noexcept;

  TObjectPool<THugeInteger> pool_;
};

class TLoopList : public THugeTyped<TEdgeArray*> {
 public:
  explicit TLoopList(int32_t capacity = 5);
  ~TLoopList() override { FreeLoops(); }

  // Appends a new empty loop and returns it.
  TEdgeArray& AddLoop();
  TEdgeArray& LoopAt(int32_t i) const { return *Get(i); }
  // Frees every loop, then the base Clear.
  void Clear() override;
  // Exchanges the loops and their storage with other.
  void Swap(TLoopList& other) noexcept;
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

  TObjectPool<TEdgeArray> pool_;
};
