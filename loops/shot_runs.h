#pragma once
// Loops of the minimal searches as runs of shot indices in one column: a
// loop's first shot, then the shots of its path from that shot's To back to
// its From.

#include <cstddef>
#include <cstdint>
#include <vector>

class TShotRuns {
 public:
  TShotRuns() { start_.push_back(0); }
  // Room for runs and shots up front: growing a column of millions of shots
  // copies it, while room never written is never touched.
  void Reserve(size_t runs, size_t shots) {
    start_.reserve(runs + 1);
    shots_.reserve(shots);
  }
  void Append(int32_t shot) { shots_.push_back(shot); }
  // Ends the run appended since the last Close or Drop.
  void Close() { start_.push_back(shots_.size()); }
  // Removes what was appended since the last Close or Drop.
  void Drop() { shots_.resize(start_.back()); }
  size_t Count() const { return start_.size() - 1; }
  int32_t Length(size_t run) const { return static_cast<int32_t>(start_[run + 1] - start_[run]); }
  // The run's shots; valid until the next Append.
  const int32_t* Run(size_t run) const { return shots_.data() + start_[run]; }

 private:
  std::vector<int32_t> shots_;
  std::vector<size_t> start_;
};

// One loop of a basis: its shots, held by a TShotRuns.
struct TShotRun {
  const int32_t* Shots;
  int32_t Length;
};
