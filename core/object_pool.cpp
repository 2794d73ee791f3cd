#include "core/object_pool.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "core/errors.h"

namespace {

// A small first chunk keeps small lists small; doubling keeps the number of
// chunks low for big ones.
constexpr size_t kFirstChunkBytes = size_t{4} << 10;
constexpr size_t kLargestChunkBytes = size_t{64} << 10;

uintptr_t AddressOf(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Largest chunks given back by pools wait here for the next pool, so the
// loops of the next search or the lists of the next network reuse memory
// already touched: fresh pages cost more to touch than the slots cost to
// fill. At most kCachedChunks wait; the rest are freed at once.
class TChunkCache {
 public:
  static constexpr size_t kCachedChunks = (size_t{256} << 20) / kLargestChunkBytes;

  // Room for every chunk it may keep, so keeping one never allocates.
  TChunkCache() { chunks_.reserve(kCachedChunks); }

  // A kept chunk of kLargestChunkBytes, or nullptr.
  std::byte* Take() {
    const std::lock_guard lock(mutex_);
    if (chunks_.empty()) return nullptr;
    std::byte* chunk = chunks_.back();
    chunks_.pop_back();
    return chunk;
  }
  // False, and the caller frees it, when the cache is full.
  bool Keep(std::byte* chunk) noexcept {
    const std::lock_guard lock(mutex_);
    if (chunks_.size() == kCachedChunks) return false;
    chunks_.push_back(chunk);
    return true;
  }

 private:
  std::mutex mutex_;
  std::vector<std::byte*> chunks_;
};

// Made once and never destroyed, so pools that outlive static destruction
// can still give their chunks back.
TChunkCache& Cache() {
  static TChunkCache* const cache = new TChunkCache;
  return *cache;
}

std::byte* NewChunk(size_t bytes) {
  if (bytes == kLargestChunkBytes)
    if (std::byte* kept = Cache().Take()) return kept;
  return static_cast<std::byte*>(std::malloc(bytes));
}

}  // namespace

TSlotStore::TChunkMemory::TChunkMemory(size_t bytes) : bytes_(NewChunk(bytes)), size_(bytes) {
  if (bytes_ == nullptr) throw EOutOfMemory();
}

TSlotStore::TChunkMemory::~TChunkMemory() {
  if (bytes_ != nullptr && size_ == kLargestChunkBytes && Cache().Keep(bytes_)) return;
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
