#pragma once
// TEdgeArray: an edge list in three parallel columns (From, To, Flag) with
// three loop attributes. It is both a graph's edge list and one loop; a
// loop's edge 0 is its closing edge.

#include "core/huge_array.h"

struct TEdgeRec {
  int32_t From = 0;
  int32_t To = 0;
  int32_t Flag = 0;
  friend bool operator==(const TEdgeRec&, const TEdgeRec&) = default;
};

// True when a and b join the same two stations, in either direction.
inline bool SameEdge(const TEdgeRec& a, const TEdgeRec& b) {
  return (a.From == b.From && a.To == b.To) || (a.From == b.To && a.To == b.From);
}

class TEdgeArray {
 public:
  // Every column starts with room for this many edges.
  static constexpr int32_t kInitialCapacity = 5;
  // Room for the first blocks of all three columns.
  static constexpr size_t kColumnBlockBytes = 3 * kInitialCapacity * sizeof(int32_t);

  TEdgeArray();
  // Starts the columns in columnBlocks (kColumnBlockBytes, int32_t-aligned),
  // which must outlive the array; the columns leave it as they grow.
  explicit TEdgeArray(std::byte* columnBlocks);
  TEdgeArray(const TEdgeArray&) = delete;
  TEdgeArray& operator=(const TEdgeArray&) = delete;

  int32_t Count() const { return Froms.Count(); }
  TEdgeRec GetEdge(int32_t i) const { return {Froms.Get(i), Tos.Get(i), Flags.Get(i)}; }
  void PutEdge(int32_t i, const TEdgeRec& rec);
  // Appends rec's ends with Flag 0 and returns the new index.
  int32_t AddEdge(const TEdgeRec& rec);
  // Removes edge i from all columns; out-of-range i changes nothing.
  void Delete(int32_t i);
  // Empties the columns; the loop attributes keep their values.
  void Clear();
  void SetAllFlags(int32_t v);
  // Lowest index of an edge joining rec's two stations in either direction, or -1.
  int32_t IndexOfEdge(const TEdgeRec& rec) const;
  // Becomes a copy of src: attributes and edges, every Flag 0.
  void AssignLoop(const TEdgeArray& src);
  // Sorts edges lo..hi by ascending To (not stable); returns the exchanges made.
  int32_t SortByTo(int32_t lo, int32_t hi);
  // Turns every edge in lo..hi so From <= To, then sorts the range by To;
  // returns the number of edges reversed.
  int32_t NormalizeEdges(int32_t lo, int32_t hi);
  // Exchanges edges and attributes. Raises EOutOfMemory, and nothing changes,
  // only when a column in a borrowed block cannot move to the heap.
  void Swap(TEdgeArray& other);

  THugeInteger Froms;
  THugeInteger Tos;
  int32_t CommonStation = 0;
  int32_t FirstPathCount = 0;
  int32_t LoopValue = 0;
  THugeInteger Flags;

 private:
  void ExchangeEdges(int32_t i, int32_t j);
};
