#include "core/object_pool.h"

#include <algorithm>
#include <cstdlib>

#include "core/errors.h"
#include "core/huge_pages.h"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace {

// A small first chunk keeps small lists small; doubling keeps the number of
// chunks low for big ones.
constexpr size_t kFirstChunkBytes = size_t{4} << 10;
constexpr size_t kLargestChunkBytes = size_t{8} << 20;

uintptr_t AddressOf(const void* p) { return reinterpret_cast<uintptr_t>(p); }

#if defined(MAP_ANONYMOUS)
// Chunks of whole huge pages are mapped on huge-page boundaries and offered
// huge pages: they are filled front to back soon after, and one fault per
// 2 MiB instead of one per 4 KiB is most of the cost of making millions of
// objects. Mapping them apart from the heap also keeps them from changing
// how the heap places everything else. Where huge pages are not offered
// (sanitizer builds among them) every chunk comes from malloc: the leak
// checker looks for references to heap blocks only in the heap, and a grown
// column's block is referenced from its object's slot.
bool IsMapped(size_t bytes) { return HugePagesOffered() && bytes % kHugePageBytes == 0; }

std::byte* MapChunk(size_t bytes) {
  void* mapped = mmap(nullptr, bytes + kHugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  auto* start = static_cast<std::byte*>(mapped);
  const size_t lead = (kHugePageBytes - AddressOf(start) % kHugePageBytes) % kHugePageBytes;
  // Keeps the aligned middle; the spare huge page was split before and after it.
  if (lead > 0) munmap(start, lead);
  munmap(start + lead + bytes, kHugePageBytes - lead);
  OfferHugePages(start + lead, bytes);
  return start + lead;
}

void UnmapChunk(std::byte* bytes, size_t size) { munmap(bytes, size); }
#else
bool IsMapped(size_t) { return false; }
std::byte* MapChunk(size_t) { return nullptr; }
void UnmapChunk(std::byte*, size_t) {}
#endif

}  // namespace

TSlotStore::TChunkMemory::TChunkMemory(size_t bytes)
    : bytes_(IsMapped(bytes) ? MapChunk(bytes) : static_cast<std::byte*>(std::malloc(bytes))), size_(bytes) {
  if (bytes_ == nullptr) throw EOutOfMemory();
}

TSlotStore::TChunkMemory::~TChunkMemory() {
  if (bytes_ == nullptr) return;
  if (IsMapped(size_))
    UnmapChunk(bytes_, size_);
  else
    std::free(bytes_);
}

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
