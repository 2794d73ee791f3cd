#include "surveys/position_index.h"

namespace {
constexpr size_t kFirstSlots = 1024;
}  // namespace

TPositionIndex::TPositionIndex() : slots_(kFirstSlots), mask_(kFirstSlots - 1) {}

size_t TPositionIndex::Home(TCentimetres p) const {
  // Each coordinate multiplied by its own odd constant, then mixed so that
  // neighbouring positions of a grid land far apart.
  uint64_t h = static_cast<uint64_t>(static_cast<uint32_t>(p.X)) * 0x9E3779B97F4A7C15u;
  h ^= static_cast<uint64_t>(static_cast<uint32_t>(p.Y)) * 0xC2B2AE3D27D4EB4Fu;
  h ^= static_cast<uint64_t>(static_cast<uint32_t>(p.Z)) * 0x165667B19E3779F9u;
  h ^= h >> 31;
  h *= 0xBF58476D1CE4E5B9u;
  h ^= h >> 29;
  return static_cast<size_t>(h) & mask_;
}

int32_t TPositionIndex::Find(TCentimetres p) const {
  for (size_t i = Home(p);; i = (i + 1) & mask_) {
    const TSlot& slot = slots_[i];
    if (slot.Station < 0) return -1;
    if (slot.Position == p) return slot.Station;
  }
}

int32_t TPositionIndex::FindOrAdd(TCentimetres p, int32_t fresh, bool& added) {
  added = false;
  for (size_t i = Home(p);; i = (i + 1) & mask_) {
    TSlot& slot = slots_[i];
    if (slot.Station < 0) {
      slot = {p, fresh};
      added = true;
      // At most half full, so probes stay short.
      if (static_cast<size_t>(++count_) * 2 > slots_.size()) Grow();
      return fresh;
    }
    if (slot.Position == p) return slot.Station;
  }
}

void TPositionIndex::Grow() {
  std::vector<TSlot> old(slots_.size() * 2);
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const TSlot& slot : old) {
    if (slot.Station < 0) continue;
    size_t i = Home(slot.Position);
    while (slots_[i].Station >= 0) i = (i + 1) & mask_;
    slots_[i] = slot;
  }
}
