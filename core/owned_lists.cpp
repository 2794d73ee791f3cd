#include "core/owned_lists.h"

THugeInteger& TAdjacencyList::AddList() {
  auto list = std::make_unique<THugeInteger>(5);
  Add(list.get());
  return *list.release();
}

void TAdjacencyList::FreeLists() noexcept {
  for (int32_t i = 0; i < Count(); ++i) delete Get(i);
  SetCount(0);
}

void TAdjacencyList::Clear() {
  FreeLists();
  THugeTyped::Clear();
}

TEdgeArray& TLoopList::AddLoop() {
  auto loop = std::make_unique<TEdgeArray>();
  Add(loop.get());
  return *loop.release();
}

void TLoopList::FreeLoops() noexcept {
  for (int32_t i = 0; i < Count(); ++i) delete Get(i);
  SetCount(0);
}

void TLoopList::Clear() {
  FreeLoops();
  THugeTyped::Clear();
}
