#pragma once
// TSpanningHeap: the candidate store of the breadth-first tree. Candidate
// edges are kept in insertion order in four parallel columns and the best one
// is found by a linear scan, so ties always go to the earliest pushed.

#include "core/huge_array.h"
#include "core/vector3.h"

class TSpanningHeap {
 public:
  TSpanningHeap();
  TSpanningHeap(const TSpanningHeap&) = delete;
  TSpanningHeap& operator=(const TSpanningHeap&) = delete;

  int32_t Count() const { return ToStations.Count(); }
  bool Empty() const { return Count() == 0; }
  // Appends the candidate from -> to; its distance is |toPosition - fromPosition|
  // and its order the length of the far station's neighbour list.
  void Push(int32_t from, int32_t to, Vec3 fromPosition, Vec3 toPosition, int32_t order);
  // Index of the candidate to take next: the highest order when favorHighOrder
  // is set, else the shortest distance; ties go to the lowest index. 0 when empty.
  int32_t BestIndex(bool favorHighOrder) const;
  // Deletes entry i from every column; later entries move down by one.
  void Remove(int32_t i);

  THugeInteger FromStations;
  THugeInteger ToStations;
  THugeDouble Distances;
  THugeInteger Orders;
};
