#pragma once
// THashTable: station names to station indices. Names are kept in insertion
// order (name i is station i) and chained into 2^HashBits buckets by 32-bit
// FNV-1a. Chains run newest first, so a repeated name finds its newest station.

#include <string>
#include <string_view>

#include "core/huge_string.h"

class THashTable {
 public:
  THashTable(int32_t capacity, int32_t width);
  THashTable(const THashTable&) = delete;
  THashTable& operator=(const THashTable&) = delete;

  int32_t HashBits() const { return hashBits_; }
  int32_t BucketCount() const { return bucketCount_; }
  int32_t HashMask() const { return hashMask_; }
  int32_t LastHash() const { return lastHash_; }

  // Bucket of a name: FNV-1a folded by HashBits, in 0..HashMask.
  int32_t HashOf(std::string_view name) const;
  // Appends a name (no check for an equal one) and links it into its bucket.
  // A name wider than the table is refused with ENameTooLong before hashing.
  void Add(std::string_view name, int32_t tag = 0);
  // Index of the newest name equal to `name`, or -1.
  int32_t Find(std::string_view name);
  std::string GetName(int32_t i) const { return NameList.Get(i); }
  // Rebuilds every chain from NameList, as if each name were added again.
  void Rehash();
  void ClearBuckets();
  // Changes the number of buckets (never below 2^4) and rebuilds.
  void SetHashBits(int32_t n);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool v);
  void Swap(THashTable& other) noexcept;

  THugeString NameList;
  THugeLongInt NextInChain;
  THugeLongInt Buckets;

 private:
  int32_t hashBits_ = 0;
  int32_t bucketCount_ = 0;
  int32_t hashMask_ = 0;
  int32_t lastHash_ = 0;
  bool caseSensitive_ = false;
};
