#include "core/huge_array.h"

#include <cstdlib>
#include <limits>
#include <utility>

#include "core/errors.h"

namespace {

int64_t BytesFor(int64_t elements, int32_t elementSize) { return elements * elementSize; }

}  // namespace

THugeArray::THugeArray(int32_t capacity, int32_t elementSize)
    : elementSize_(elementSize), initialCapacity_(capacity), capacity_(capacity) {
  const int64_t bytes = BytesFor(capacity, elementSize);
  if (bytes == 0) throw EEmptyArrayAllocation();
  if (bytes < 0 || bytes > std::numeric_limits<int32_t>::max()) throw EOutOfMemory();
  blockSize_ = static_cast<int32_t>(bytes);
  data_ = static_cast<std::byte*>(std::malloc(static_cast<size_t>(bytes)));
  if (data_ == nullptr) throw EOutOfMemory();
}

THugeArray::~THugeArray() { std::free(data_); }

void THugeArray::SetCapacity(int32_t n) {
  const int64_t bytes = BytesFor(n, elementSize_);
  if (bytes == 0) throw EEmptyArrayAllocation();
  if (bytes < 0 || bytes > std::numeric_limits<int32_t>::max()) throw EOutOfMemory();
  auto* block = static_cast<std::byte*>(std::realloc(data_, static_cast<size_t>(bytes)));
  if (block == nullptr) throw EOutOfMemory();
  data_ = block;
  blockSize_ = static_cast<int32_t>(bytes);
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

void THugeArray::SwapBlocks(THugeArray& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(elementSize_, other.elementSize_);
  std::swap(blockSize_, other.blockSize_);
  std::swap(growBy_, other.growBy_);
  std::swap(initialCapacity_, other.initialCapacity_);
  std::swap(capacity_, other.capacity_);
  std::swap(count_, other.count_);
}
