#include "core/huge_array.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "core/errors.h"

namespace {

// Bytes of a block of `elements` elements; every block size must fit an int32_t.
size_t CheckedBytes(int32_t elements, int32_t elementSize) {
  const int64_t bytes = static_cast<int64_t>(elements) * elementSize;
  if (bytes == 0) throw EEmptyArrayAllocation();
  if (bytes < 0 || bytes > std::numeric_limits<int32_t>::max()) throw EOutOfMemory();
  return static_cast<size_t>(bytes);
}

}  // namespace

THugeArray::THugeArray(int32_t capacity, int32_t elementSize)
    : elementSize_(elementSize), initialCapacity_(capacity), capacity_(capacity) {
  const size_t bytes = CheckedBytes(capacity, elementSize);
  data_ = static_cast<std::byte*>(std::malloc(bytes));
  if (data_ == nullptr) throw EOutOfMemory();
}

THugeArray::THugeArray(int32_t capacity, int32_t elementSize, std::byte* block)
    : data_(block), elementSize_(elementSize), initialCapacity_(capacity), capacity_(capacity), borrowed_(true) {
  CheckedBytes(capacity, elementSize);
}

THugeArray::~THugeArray() {
  if (!borrowed_) std::free(data_);
}

void THugeArray::SetCapacity(int32_t n) {
  const size_t bytes = CheckedBytes(n, elementSize_);
  if (borrowed_) {
    if (n == capacity_) return;
    // realloc keeps the first min(old, new) bytes; so does the move out.
    auto* block = static_cast<std::byte*>(std::malloc(bytes));
    if (block == nullptr) throw EOutOfMemory();
    std::memcpy(block, data_, std::min(bytes, static_cast<size_t>(BlockSize())));
    data_ = block;
    borrowed_ = false;
  } else {
    auto* block = static_cast<std::byte*>(std::realloc(data_, bytes));
    if (block == nullptr) throw EOutOfMemory();
    data_ = block;
  }
  capacity_ = n;
}

void THugeArray::Grow() {
  if (capacity_ > count_) return;
  int32_t step;
  if (capacity_ > 64)
    step = capacity_ >> 2;
  else if (capacity_ >= 9)
    step = 16;
  else
    step = 4;
  growBy_ = step;
  if (capacity_ > std::numeric_limits<int32_t>::max() - step) throw EOutOfMemory();
  SetCapacity(capacity_ + step);
}

void THugeArray::Delete(int32_t i) {
  if (i < 0 || i >= count_) return;
  std::memmove(ItemPtr(i), ItemPtr(i + 1), static_cast<size_t>(count_ - i - 1) * static_cast<size_t>(elementSize_));
  --count_;
}

void THugeArray::Clear() {
  count_ = 0;
  SetCapacity(initialCapacity_);
}

void THugeArray::Exchange(int32_t i, int32_t j) {
  std::byte* a = ItemPtr(i);
  std::byte* b = ItemPtr(j);
  for (int32_t k = 0; k < elementSize_; ++k) std::swap(a[k], b[k]);
}

bool THugeArray::ExchangesInPlace(const THugeArray& other) const {
  return borrowed_ && other.borrowed_ && elementSize_ == other.elementSize_ && capacity_ == other.capacity_;
}

void THugeArray::OwnBlock() {
  if (!borrowed_) return;
  const auto bytes = static_cast<size_t>(BlockSize());
  auto* block = static_cast<std::byte*>(std::malloc(bytes));
  if (block == nullptr) throw EOutOfMemory();
  std::memcpy(block, data_, bytes);
  data_ = block;
  borrowed_ = false;
}

void THugeArray::PrepareSwap(THugeArray& other) {
  if (this == &other || ExchangesInPlace(other)) return;
  OwnBlock();
  other.OwnBlock();
}

void THugeArray::SwapBlocks(THugeArray& other) {
  if (this == &other) return;
  PrepareSwap(other);
  if (ExchangesInPlace(other)) {
    // Each block stays with the array whose owner provided it. A count set
    // past the capacity has no elements there to exchange.
    const int32_t elements = std::min(std::max(count_, other.count_), capacity_);
    const auto used = static_cast<ptrdiff_t>(std::max(elements, 0)) * elementSize_;
    std::swap_ranges(data_, data_ + used, other.data_);
  } else {
    std::swap(data_, other.data_);
    std::swap(elementSize_, other.elementSize_);
    std::swap(capacity_, other.capacity_);
  }
  std::swap(growBy_, other.growBy_);
  std::swap(initialCapacity_, other.initialCapacity_);
  std::swap(count_, other.count_);
}
