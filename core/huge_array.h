#pragma once
// THugeArray: a growable array of fixed-size elements in one contiguous block.
// Every column of the survey model is one. Growth steps, the quicksort and
// the order it gives to equal elements are part of the system's behaviour:
// the loop ordering depends on them.
//
// An array may start in a block its owner provides (an object pool places a
// small object and its first block side by side). Such a borrowed block is
// never freed by the array and never handed to another array: the first
// change of capacity moves the elements into a heap block of the array's own.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/index_quicksort.h"

class THugeArray {
 public:
  // Raises "Empty Array Allocation" when capacity x elementSize is 0.
  THugeArray(int32_t capacity, int32_t elementSize);
  // Starts in block, which holds capacity x elementSize bytes and outlives the
  // array; raises "Empty Array Allocation" when that size is 0.
  THugeArray(int32_t capacity, int32_t elementSize, std::byte* block);
  virtual ~THugeArray();
  THugeArray(const THugeArray&) = delete;
  THugeArray& operator=(const THugeArray&) = delete;

  int32_t Count() const { return count_; }
  // Owners may set the count directly; this never reallocates.
  void SetCount(int32_t count) { count_ = count; }
  int32_t Capacity() const { return capacity_; }
  int32_t InitialCapacity() const { return initialCapacity_; }
  int32_t ElementSize() const { return elementSize_; }
  int32_t BlockSize() const { return capacity_ * elementSize_; }
  int32_t GrowBy() const { return growBy_; }

  // Address of element i; indices are not checked.
  std::byte* ItemPtr(int32_t i) const { return data_ + static_cast<std::ptrdiff_t>(i) * elementSize_; }

  // True while the elements are in a block the owner provided.
  bool InBorrowedBlock() const { return borrowed_; }

  // Reallocates for n elements; the count is kept. On failure nothing changes.
  void SetCapacity(int32_t n);
  // Makes room for one more element: +4 up to 8, +16 up to 64, then +capacity/4.
  void Grow();
  // Removes element i, moving later ones down; out-of-range i changes nothing.
  void Delete(int32_t i);
  // Count 0 and the block back to the initial capacity.
  virtual void Clear();
  // Swaps the bytes of elements i and j.
  virtual void Exchange(int32_t i, int32_t j);
  // Makes a later SwapBlocks with other unable to fail: a borrowed block that
  // would pass to the other array moves to the heap first. Raises
  // EOutOfMemory when it cannot; the contents stay as they were either way.
  void PrepareSwap(THugeArray& other);

  // Sorts elements lo..hi with a Hoare partition whose pivot follows its
  // element; compare(item, pivot) < 0 when item sorts before the pivot.
  template <class Compare>
  void QuickSort(int32_t lo, int32_t hi, Compare&& compare);
  template <class Compare>
  void Sort(Compare&& compare) {
    if (count_ > 0) QuickSort(0, count_ - 1, compare);
  }

 protected:
  // Exchanges the whole contents with another array of the same element size.
  // Two borrowed blocks of one size exchange their bytes; otherwise borrowed
  // blocks move to the heap first, which may raise EOutOfMemory (nothing
  // changes then). Arrays in heap blocks only swap pointers and cannot fail.
  void SwapBlocks(THugeArray& other);

 private:
  bool ExchangesInPlace(const THugeArray& other) const;
  // Moves a borrowed block's elements into a heap block of the same size.
  void OwnBlock();

  std::byte* data_ = nullptr;
  int32_t elementSize_ = 0;
  int32_t growBy_ = 4;
  int32_t initialCapacity_ = 0;
  int32_t capacity_ = 0;
  int32_t count_ = 0;
  bool borrowed_ = false;
};

template <class Compare>
void THugeArray::QuickSort(int32_t lo, int32_t hi, Compare&& compare) {
  IndexQuickSort(
      lo, hi, [this, &compare](int32_t a, int32_t b) { return compare(ItemPtr(a), ItemPtr(b)); },
      [this](int32_t a, int32_t b) { Exchange(a, b); });
}

// A typed column: Add, Get, Put by value.
template <class T>
class THugeTyped : public THugeArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  explicit THugeTyped(int32_t capacity) : THugeArray(capacity, static_cast<int32_t>(sizeof(T))) {}
  // Starts in block, room for capacity elements that outlives the column.
  THugeTyped(int32_t capacity, std::byte* block) : THugeArray(capacity, static_cast<int32_t>(sizeof(T)), block) {}

  // Appends v and returns its index.
  int32_t Add(const T& v) {
    Grow();
    const int32_t index = Count();
    Put(index, v);
    SetCount(index + 1);
    return index;
  }
  T Get(int32_t i) const {
    T v;
    std::memcpy(&v, ItemPtr(i), sizeof(T));
    return v;
  }
  void Put(int32_t i, const T& v) { std::memcpy(ItemPtr(i), &v, sizeof(T)); }
  // The elements as a typed range, for loops that read a whole column.
  const T* begin() const { return reinterpret_cast<const T*>(ItemPtr(0)); }
  const T* end() const { return begin() + Count(); }
  // See SwapBlocks: fails only when a borrowed block must move to the heap.
  void Swap(THugeTyped& other) { SwapBlocks(other); }
};

using THugeInteger = THugeTyped<int32_t>;
using THugeLongInt = THugeTyped<int32_t>;
using THugeDouble = THugeTyped<double>;
