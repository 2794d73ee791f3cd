#pragma once
// TPositionIndex: the stations of a processed survey file by their position
// in whole centimetres, exactly as the file gives it, so that every item at
// one position names one station. Open addressing in a power-of-two table,
// for files of millions of positions.

#include <cstddef>
#include <cstdint>
#include <vector>

struct TCentimetres {
  int32_t X = 0, Y = 0, Z = 0;
  friend bool operator==(const TCentimetres&, const TCentimetres&) = default;
};

class TPositionIndex {
 public:
  TPositionIndex();

  // The station at p, or -1.
  int32_t Find(TCentimetres p) const;
  // The station at p; when there is none yet, p becomes station `fresh` and
  // `added` is set.
  int32_t FindOrAdd(TCentimetres p, int32_t fresh, bool& added);
  int32_t Count() const { return count_; }
  // Starts fetching the memory FindOrAdd(p) will read, so that a caller
  // that knows its next positions early does not wait for each in turn.
  void Prefetch(TCentimetres p) const { __builtin_prefetch(&slots_[Home(p)]); }

 private:
  struct TSlot {
    TCentimetres Position;
    int32_t Station = -1;  // -1: empty
  };
  size_t Home(TCentimetres p) const;
  void Grow();

  std::vector<TSlot> slots_;
  size_t mask_ = 0;
  int32_t count_ = 0;
};
