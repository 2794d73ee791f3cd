// Loops and station lists kept in their list's pool: contents, swaps and
// ownership across Clear, destruction and foreign references.
#include "core/owned_lists.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include "core/object_pool.h"

namespace {

using ::testing::ElementsAre;

std::vector<int32_t> Items(const THugeInteger& a) { return {a.begin(), a.end()}; }

// Loop i of a test list has i % 9 edges, (i, k) -> (i, k + 1) for k = 0, 1, ...
void FillLoop(TEdgeArray& loop, int32_t i) {
  loop.CommonStation = i;
  for (int32_t k = 0; k < i % 9; ++k) loop.AddEdge({i, k, 0});
}

void ExpectLoop(const TEdgeArray& loop, int32_t i) {
  ASSERT_EQ(loop.Count(), i % 9) << "loop " << i;
  EXPECT_EQ(loop.CommonStation, i);
  for (int32_t k = 0; k < loop.Count(); ++k) ASSERT_EQ(loop.GetEdge(k), (TEdgeRec{i, k, 0})) << "loop " << i;
}

TEST(TLoopList, KeepsManyLoopsApartAcrossItsStorage) {
  TLoopList loops;
  constexpr int32_t kLoops = 20000;
  for (int32_t i = 0; i < kLoops; ++i) FillLoop(loops.AddLoop(), i);
  ASSERT_EQ(loops.Count(), kLoops);
  std::set<const TEdgeArray*> distinct;
  for (int32_t i = 0; i < kLoops; ++i) {
    ExpectLoop(loops.LoopAt(i), i);
    distinct.insert(&loops.LoopAt(i));
  }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kLoops));
  // Loops of up to five edges stay in their slots; longer ones have moved out.
  EXPECT_TRUE(loops.LoopAt(5).Froms.InBorrowedBlock());
  EXPECT_FALSE(loops.LoopAt(6).Froms.InBorrowedBlock());
}

TEST(TLoopList, ClearFreesEveryLoopAndStartsAgain) {
  TLoopList loops(3);
  for (int32_t i = 0; i < 1000; ++i) FillLoop(loops.AddLoop(), i);
  loops.Clear();
  EXPECT_EQ(loops.Count(), 0);
  EXPECT_EQ(loops.Capacity(), 3);
  for (int32_t i = 0; i < 10; ++i) FillLoop(loops.AddLoop(), i);
  for (int32_t i = 0; i < 10; ++i) ExpectLoop(loops.LoopAt(i), i);
}

TEST(TLoopList, ANewListReusesTheStorageOfOneFreedBefore) {
  constexpr int32_t kLoops = 5000;  // several of the largest chunks
  std::set<const TEdgeArray*> before;
  {
    TLoopList loops;
    for (int32_t i = 0; i < kLoops; ++i) FillLoop(loops.AddLoop(), i);
    for (int32_t i = 0; i < kLoops; ++i) before.insert(&loops.LoopAt(i));
  }
  TLoopList loops;
  int32_t reused = 0;
  for (int32_t i = 0; i < kLoops; ++i) {
    TEdgeArray& loop = loops.AddLoop();
    FillLoop(loop, i);
    reused += before.count(&loop) > 0 ? 1 : 0;
  }
  EXPECT_GT(reused, kLoops / 2);
  for (int32_t i = 0; i < kLoops; ++i) ExpectLoop(loops.LoopAt(i), i);
}

TEST(TLoopList, SwapCarriesTheLoopsWithTheirStorage) {
  auto first = std::make_unique<TLoopList>();
  auto second = std::make_unique<TLoopList>();
  for (int32_t i = 0; i < 300; ++i) FillLoop(first->AddLoop(), i);
  FillLoop(second->AddLoop(), 7);
  first->Swap(*second);
  first.reset();
  ASSERT_EQ(second->Count(), 300);
  for (int32_t i = 0; i < 300; ++i) ExpectLoop(second->LoopAt(i), i);
  second->Swap(*second);
  EXPECT_EQ(second->Count(), 300);
  second->Clear();
  FillLoop(second->AddLoop(), 8);
  ExpectLoop(second->LoopAt(0), 8);
}

TEST(TLoopList, SwappedListsCanEachBeClearedAlone) {
  TLoopList first, second;
  FillLoop(first.AddLoop(), 3);
  FillLoop(second.AddLoop(), 17);
  first.Swap(second);
  second.Clear();
  ExpectLoop(first.LoopAt(0), 17);
  EXPECT_EQ(second.Count(), 0);
}

TEST(TLoopList, APooledLoopSwappedWithAStandaloneOneLeavesNothingBehind) {
  TEdgeArray standalone;
  FillLoop(standalone, 8);
  {
    TLoopList loops;
    TEdgeArray& pooled = loops.AddLoop();
    FillLoop(pooled, 3);
    pooled.LoopValue = 4;
    pooled.Swap(standalone);
    ExpectLoop(pooled, 8);
    loops.Clear();
  }
  // The standalone loop outlives the list whose storage it came from.
  ExpectLoop(standalone, 3);
  EXPECT_EQ(standalone.LoopValue, 4);
  standalone.AddEdge({9, 9, 0});
  EXPECT_EQ(standalone.Froms.Capacity(), 5);
  EXPECT_EQ(standalone.GetEdge(3), (TEdgeRec{9, 9, 0}));
}

TEST(TLoopList, LoopsOfOneListSwapInPlace) {
  TLoopList loops;
  FillLoop(loops.AddLoop(), 2);
  FillLoop(loops.AddLoop(), 4);
  FillLoop(loops.AddLoop(), 7);
  loops.LoopAt(0).Swap(loops.LoopAt(1));
  loops.LoopAt(1).Swap(loops.LoopAt(2));
  ExpectLoop(loops.LoopAt(0), 4);
  ExpectLoop(loops.LoopAt(1), 7);
  ExpectLoop(loops.LoopAt(2), 2);
  EXPECT_TRUE(loops.LoopAt(0).Tos.InBorrowedBlock());
}

TEST(TLoopList, OwnsAForeignLoopPutInAndStillFreesTheOneItReplaced) {
  TLoopList loops;
  FillLoop(loops.AddLoop(), 8);
  FillLoop(loops.AddLoop(), 1);
  // The replaced loop has grown onto the heap and must still be freed (the
  // leak checker of the sanitizer build sees it otherwise).
  loops.Put(0, new TEdgeArray);
  FillLoop(loops.LoopAt(0), 5);
  loops.Delete(1);
  ASSERT_EQ(loops.Count(), 1);
  ExpectLoop(loops.LoopAt(0), 5);
  loops.Clear();
  EXPECT_EQ(loops.Count(), 0);
}

TEST(TLoopList, SortingKeepsEveryLoopWithItsEdges) {
  TLoopList loops;
  for (int32_t i = 0; i < 50; ++i) FillLoop(loops.AddLoop(), i);
  loops.SortLoops([](const TEdgeArray& a, const TEdgeArray& b) { return b.CommonStation - a.CommonStation; });
  for (int32_t i = 0; i < 50; ++i) ExpectLoop(loops.LoopAt(i), 49 - i);
}

TEST(TAdjacencyList, ListsGrowOutOfTheirSlotsAndSwapWithTheirStorage) {
  auto lists = std::make_unique<TAdjacencyList>();
  for (int32_t s = 0; s < 3000; ++s) lists->AddList();
  for (int32_t k = 0; k < 7; ++k) lists->ListOf(1).Add(k);
  lists->ListOf(2999).Add(5);
  EXPECT_EQ(lists->ListOf(1).Capacity(), 9);
  EXPECT_EQ(lists->ListOf(0).Capacity(), 5);
  TAdjacencyList other;
  other.AddList().Add(3);
  other.Swap(*lists);
  lists.reset();
  ASSERT_EQ(other.Count(), 3000);
  EXPECT_THAT(Items(other.ListOf(1)), ElementsAre(0, 1, 2, 3, 4, 5, 6));
  EXPECT_THAT(Items(other.ListOf(2999)), ElementsAre(5));
  other.Clear();
  EXPECT_EQ(other.Count(), 0);
  EXPECT_EQ(other.Capacity(), 1);
  EXPECT_EQ(other.AddList().Capacity(), 5);
}

// An object whose construction can be made to fail, and which counts the
// live ones so the pool's destruction of them shows.
struct TCounted {
  static inline int32_t Live = 0;
  TCounted(int32_t value, bool fail, std::byte* extra) : Value(value), Extra(extra) {
    if (fail) throw std::runtime_error("refused");
    ++Live;
  }
  ~TCounted() { --Live; }
  int32_t Value;
  std::byte* Extra;
};

TEST(TObjectPool, PlacesEachObjectBeforeItsOwnRoom) {
  TObjectPool<TCounted> pool(24);
  std::vector<TCounted*> made;
  for (int32_t i = 0; i < 5000; ++i) made.push_back(pool.Emplace(i, false));
  for (int32_t i = 0; i < 5000; ++i) {
    TCounted* object = made[static_cast<size_t>(i)];
    ASSERT_EQ(object->Value, i);
    ASSERT_EQ(object->Extra, reinterpret_cast<std::byte*>(object) + sizeof(TCounted));
    ASSERT_EQ(reinterpret_cast<uintptr_t>(object) % alignof(TCounted), 0U);
    // Each object's room must not reach into the next object.
    std::fill(object->Extra, object->Extra + 24, std::byte{0xff});
  }
  for (int32_t i = 0; i < 5000; ++i) ASSERT_EQ(made[static_cast<size_t>(i)]->Value, i);
  EXPECT_EQ(pool.Count(), 5000U);
  EXPECT_EQ(TCounted::Live, 5000);
  pool.Clear();
  EXPECT_EQ(TCounted::Live, 0);
  EXPECT_EQ(pool.Count(), 0U);
}

TEST(TObjectPool, AFailedConstructionGivesTheSlotBack) {
  TObjectPool<TCounted> pool(0);
  TCounted* first = pool.Emplace(1, false);
  EXPECT_THROW(pool.Emplace(2, true), std::runtime_error);
  EXPECT_EQ(pool.Count(), 1U);
  TCounted* second = pool.Emplace(3, false);
  EXPECT_EQ(reinterpret_cast<std::byte*>(second), reinterpret_cast<std::byte*>(first) + sizeof(TCounted));
  pool.DestroyLast(second);
  EXPECT_EQ(pool.Count(), 1U);
  EXPECT_EQ(TCounted::Live, 1);
  pool.Clear();
  EXPECT_EQ(TCounted::Live, 0);
}

TEST(TObjectPool, HoldsOnlyItsOwnObjects) {
  TObjectPool<TCounted> pool(0);
  TObjectPool<TCounted> other(0);
  std::vector<TCounted*> made;
  for (int32_t i = 0; i < 3000; ++i) made.push_back(pool.Emplace(i, false));
  const TCounted* foreign = other.Emplace(0, false);
  const TCounted local(0, false, nullptr);
  for (const TCounted* object : made) ASSERT_TRUE(pool.Holds(object));
  EXPECT_FALSE(pool.Holds(foreign));
  EXPECT_FALSE(pool.Holds(&local));
  EXPECT_FALSE(pool.Holds(nullptr));
  pool.Swap(other);
  EXPECT_TRUE(pool.Holds(foreign));
  EXPECT_FALSE(pool.Holds(made[0]));
  EXPECT_TRUE(other.Holds(made.back()));
  EXPECT_EQ(other.Count(), 3000U);
}

}  // namespace
