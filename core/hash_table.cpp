#include "core/hash_table.h"

#include <utility>

THashTable::THashTable(int32_t capacity, int32_t width) : NameList(capacity, width), NextInChain(capacity), Buckets(5) {
  SetCaseSensitive(true);
  SetHashBits(11);
}

int32_t THashTable::HashOf(std::string_view name) const {
  uint32_t h = 2166136261u;
  for (char c : name) {
    const char b = caseSensitive_ ? c : FoldAsciiCase(c);
    h ^= static_cast<uint8_t>(b);
    h *= 16777619u;
  }
  return static_cast<int32_t>((h ^ (h >> hashBits_)) & static_cast<uint32_t>(hashMask_));
}

void THashTable::Add(std::string_view name, int32_t tag) {
  if (static_cast<int64_t>(name.size()) > NameList.Width()) {
    NameList.Add(name, tag);  // raises ENameTooLong, nothing changes
    return;
  }
  const int32_t hash = HashOf(name);
  NameList.Add(name, tag);
  lastHash_ = hash;
  NextInChain.Add(Buckets.Get(lastHash_));
  Buckets.Put(lastHash_, NextInChain.Count() - 1);
}

int32_t THashTable::Find(std::string_view name) {
  lastHash_ = HashOf(name);
  int32_t i = Buckets.Get(lastHash_);
  while (i != -1 && !NameList.Matches(name, i)) i = NextInChain.Get(i);
  return i;
}

void THashTable::ClearBuckets() {
  for (int32_t b = 0; b < Buckets.Count(); ++b) Buckets.Put(b, -1);
}

void THashTable::Rehash() {
  ClearBuckets();
  if (NextInChain.Capacity() < NameList.Count()) NextInChain.SetCapacity(NameList.Count());
  NextInChain.SetCount(NameList.Count());
  for (int32_t i = 0; i < NameList.Count(); ++i) {
    const int32_t h = HashOf(NameList.View(i));
    lastHash_ = h;
    NextInChain.Put(i, Buckets.Get(h));
    Buckets.Put(h, i);
  }
}

void THashTable::SetHashBits(int32_t n) {
  if (n == hashBits_) return;
  hashBits_ = n >= 4 ? n : 4;
  bucketCount_ = 1 << hashBits_;
  hashMask_ = bucketCount_ - 1;
  Buckets.SetCapacity(bucketCount_);
  Buckets.SetCount(bucketCount_);
  ClearBuckets();
  Rehash();
}

void THashTable::SetCaseSensitive(bool v) {
  if (v == caseSensitive_) return;
  caseSensitive_ = v;
  NameList.CaseSensitive = v;
  Rehash();
}

void THashTable::Swap(THashTable& other) noexcept {
  NameList.Swap(other.NameList);
  NextInChain.Swap(other.NextInChain);
  Buckets.Swap(other.Buckets);
  std::swap(hashBits_, other.hashBits_);
  std::swap(bucketCount_, other.bucketCount_);
  std::swap(hashMask_, other.hashMask_);
  std::swap(lastHash_, other.lastHash_);
  std::swap(caseSensitive_, other.caseSensitive_);
}
