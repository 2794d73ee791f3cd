#include "core/owned_lists.h"

namespace {

// Appends an object just made in pool to owner; if the append fails the
// object goes again and owner is as it was.
template <class T, class Owner>
T& AppendMade(TObjectPool<T>& pool, Owner& owner, T* object) {
  try {
    owner.Add(object);
  } catch (...) {
    pool.DestroyLast(object);
    throw;
  }
  return *object;
}

// Deletes the objects in owner that came from elsewhere, then everything the
// pool made, including objects no longer referenced.
template <class T, class Owner>
void FreeAll(TObjectPool<T>& pool, Owner& owner) noexcept {
  for (int32_t i = 0; i < owner.Count(); ++i)
    if (T* object = owner.Get(i); !pool.Holds(object)) delete object;
  pool.Clear();
  owner.SetCount(0);
}

}  // namespace

TAdjacencyList::TAdjacencyList() : THugeTyped(1), pool_(kListCapacity * sizeof(int32_t)) {}

THugeInteger& TAdjacencyList::AddList() { return AppendMade(pool_, *this, pool_.Emplace(kListCapacity)); }

void TAdjacencyList::FreeLists() noexcept { FreeAll(pool_, *this); }

void TAdjacencyList::Clear() {
  FreeLists();
  THugeTyped::Clear();
}

void TAdjacencyList::Swap(TAdjacencyList& other) noexcept {
  // Arrays of references always hold heap blocks, so this cannot fail.
  THugeTyped::Swap(other);
  pool_.Swap(other.pool_);
}

TLoopList::TLoopList(int32_t capacity) : THugeTyped(capacity), pool_(TEdgeArray::kColumnBlockBytes) {}

TEdgeArray& TLoopList::AddLoop() { return AppendMade(pool_, *this, pool_.Emplace()); }

void TLoopList::FreeLoops() noexcept { FreeAll(pool_, *this); }

void TLoopList::Clear() {
  FreeLoops();
  THugeTyped::Clear();
}

void TLoopList::Swap(TLoopList& other) noexcept {
  THugeTyped::Swap(other);
  pool_.Swap(other.pool_);
}
