#include "loops/search_stop.h"

namespace {

thread_local TSearchStop* currentStop = nullptr;

}  // namespace

TSearchStopScope::TSearchStopScope(TSearchStop& stop) : previous_(currentStop) { currentStop = &stop; }

TSearchStopScope::~TSearchStopScope() { currentStop = previous_; }

void CheckSearchStop() {
  if (currentStop != nullptr && currentStop->Requested()) throw ESearchStopped();
}

void ReportSearchProgress(int64_t done, int64_t total) {
  if (currentStop == nullptr) return;
  currentStop->SetProgress(done, total);
  if (currentStop->Requested()) throw ESearchStopped();
}
