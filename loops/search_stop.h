#pragma once
// Stopping a long loop search from another thread, and counting its
// progress. The thread that runs a search lends it a TSearchStop for as long
// as a TSearchStopScope lives; the searches call CheckSearchStop() (or
// ReportSearchProgress()) between steps, which raises ESearchStopped once
// Request() was called. A search without a scope never stops and counts
// nothing. A stopped search leaves its graph and loop list half done: run it
// on copies that the caller drops.

#include <atomic>
#include <cstdint>
#include <exception>

class ESearchStopped final : public std::exception {
 public:
  const char* what() const noexcept override { return "The search was stopped"; }
};

class TSearchStop {
 public:
  // May be called from any thread.
  void Request() { requested_.store(true, std::memory_order_relaxed); }
  bool Requested() const { return requested_.load(std::memory_order_relaxed); }
  // The counted work of the step running now: done of total (total 0: not counted).
  int64_t Done() const { return done_.load(std::memory_order_relaxed); }
  int64_t Total() const { return total_.load(std::memory_order_relaxed); }
  void SetProgress(int64_t done, int64_t total) {
    total_.store(total, std::memory_order_relaxed);
    done_.store(done, std::memory_order_relaxed);
  }

 private:
  std::atomic<bool> requested_{false};
  std::atomic<int64_t> done_{0};
  std::atomic<int64_t> total_{0};
};

// Lends `stop` to the searches this thread runs while it lives.
class TSearchStopScope {
 public:
  explicit TSearchStopScope(TSearchStop& stop);
  ~TSearchStopScope();
  TSearchStopScope(const TSearchStopScope&) = delete;
  TSearchStopScope& operator=(const TSearchStopScope&) = delete;

 private:
  TSearchStop* previous_;
};

// Raises ESearchStopped when this thread's search was asked to stop.
void CheckSearchStop();
// Counts progress (done of total) and checks for a stop.
void ReportSearchProgress(int64_t done, int64_t total);
