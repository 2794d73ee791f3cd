#include "core/object_pool.h"

#include <algorithm>
#include <cstdlib>

#include "core/errors.h"

namespace {

// A small first chunk keeps small lists small; doubling keeps the number of
// chunks low for big ones. Chunks stay small enough for the ordinary heap to
// keep them when they are freed, so a network loaded after another, or the
// loops of the next search, reuse that memory instead of fresh pages, which
// cost more to touch than the slots cost to fill.
constexpr size_t kFirstChunkBytes = size_t{4} << 10;
constexpr size_t kLargestChunkBytes = size_t{64} << 10;

uintptr_t AddressOf(const void* p) { return reinterpret_cast<uintptr_t>(p); }

}  // namespace

TSlotStore::TChunkMemory::TChunkMemory(size_t bytes)
    : bytes_(static_cast<std::byte*>(std::malloc(bytes))), size_(bytes) {
  if (bytes_ == nullptr) throw EOutOfMemory();
}

TSlotStore::TChunkMemory::~TChunkMemory() { std::free(bytes_); }

TSlotStore::TSlotStore(size_t slotSize) : slotSize_(slotSize) {}

std::byte* TSlotStore::Next() {
  if (chunks_.empty() || chunks_.back().Used == chunks_.back().Slots) {
    const size_t previous = chunks_.empty() ? 0 : chunks_.back().Memory.Size();
    const size_t bytes = std::max(std::clamp(previous * 2, kFirstChunkBytes, kLargestChunkBytes), slotSize_);
    // Both vectors get their room before the chunk exists, so a failure
    // anywhere leaves them as they were.
    chunks_.reserve(chunks_.size() + 1);
    ranges_.reserve(ranges_.size() + 1);
    TChunkMemory memory(bytes);
    const TRange range{AddressOf(memory.Bytes()), AddressOf(memory.Bytes()) + bytes};
    ranges_.insert(std::upper_bound(ranges_.begin(), ranges_.end(), range.Begin,
                                    [](uintptr_t at, const TRange& r) { return at < r.Begin; }),
                   range);
    chunks_.push_back({std::move(memory), bytes / slotSize_, 0});
  }
  TChunk& chunk = chunks_.back();
  return chunk.Memory.Bytes() + chunk.Used * slotSize_;
}

bool TSlotStore::Holds(const void* p) const noexcept {
  const uintptr_t at = AddressOf(p);
  auto after =
      std::upper_bound(ranges_.begin(), ranges_.end(), at, [](uintptr_t a, const TRange& r) { return a < r.Begin; });
  if (after == ranges_.begin()) return false;
  return at < std::prev(after)->End;
}

void TSlotStore::Clear() noexcept {
  chunks_.clear();
  ranges_.clear();
  count_ = 0;
}

void TSlotStore::Swap(TSlotStore& other) noexcept {
  std::swap(slotSize_, other.slotSize_);
  std::swap(count_, other.count_);
  chunks_.swap(other.chunks_);
  ranges_.swap(other.ranges_);
}
