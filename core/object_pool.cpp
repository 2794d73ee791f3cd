#include "core/object_pool.h"

#include <algorithm>
#include <cstdlib>

#include "core/errors.h"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace {

// A small first chunk keeps small lists small; doubling keeps the number of
// chunks low for big ones.
constexpr size_t kFirstChunkBytes = size_t{4} << 10;
constexpr size_t kLargestChunkBytes = size_t{8} << 20;

constexpr size_t kHugePageBytes = size_t{2} << 20;

uintptr_t AddressOf(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Large chunks are laid on huge-page boundaries and offered huge pages: the
// chunks are filled front to back at once, and one fault per 2 MiB instead of
// one per 4 KiB is most of the cost of making millions of objects.
std::byte* AllocateChunk(size_t bytes) {
  if (bytes < kHugePageBytes || bytes % kHugePageBytes != 0) return static_cast<std::byte*>(std::malloc(bytes));
  auto* block = static_cast<std::byte*>(std::aligned_alloc(kHugePageBytes, bytes));
#if defined(MADV_HUGEPAGE)
  if (block != nullptr) madvise(block, bytes, MADV_HUGEPAGE);
#endif
  return block;
}

}  // namespace

void TSlotStore::TFree::operator()(std::byte* p) const noexcept { std::free(p); }

TSlotStore::TSlotStore(size_t slotSize) : slotSize_(slotSize) {}

std::byte* TSlotStore::Next() {
  if (chunks_.empty() || chunks_.back().Used == chunks_.back().Slots) {
    const size_t previous = chunks_.empty() ? 0 : chunks_.back().Size;
    const size_t bytes = std::max(std::clamp(previous * 2, kFirstChunkBytes, kLargestChunkBytes), slotSize_);
    // Both vectors get their room before the chunk exists, so a failure
    // anywhere leaves them as they were.
    chunks_.reserve(chunks_.size() + 1);
    ranges_.reserve(ranges_.size() + 1);
    std::unique_ptr<std::byte, TFree> block(AllocateChunk(bytes));
    if (block == nullptr) throw EOutOfMemory();
    const TRange range{AddressOf(block.get()), AddressOf(block.get()) + bytes};
    ranges_.insert(std::upper_bound(ranges_.begin(), ranges_.end(), range.Begin,
                                    [](uintptr_t at, const TRange& r) { return at < r.Begin; }),
                   range);
    chunks_.push_back({std::move(block), bytes, bytes / slotSize_, 0});
  }
  TChunk& chunk = chunks_.back();
  return chunk.Bytes.get() + chunk.Used * slotSize_;
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
