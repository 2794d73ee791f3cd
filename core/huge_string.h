#pragma once
// THugeString: a column of short strings of at most `width` characters, each
// stored as a length byte and its characters, with one integer tag per string
// that stays with its string when the column is sorted.

#include <string>
#include <string_view>

#include "core/huge_array.h"

class THugeString : public THugeArray {
 public:
  THugeString(int32_t capacity, int32_t width);

  int32_t Width() const { return ElementSize() - 1; }
  // Appends s with its tag; raises ENameTooLong when s is wider than Width().
  int32_t Add(std::string_view s, int32_t tag = 0);
  std::string Get(int32_t i) const;
  std::string_view View(int32_t i) const;
  int32_t TagOf(int32_t i) const { return Tags.Get(i); }
  // Equal length and bytes; without case sensitivity A-Z and a-z are folded.
  bool Matches(std::string_view s, int32_t i) const;

  void Clear() override;
  void Exchange(int32_t i, int32_t j) override;
  void Swap(THugeString& other) noexcept;

  bool CaseSensitive = true;
  THugeInteger Tags;
};

// Folds the ASCII letters A-Z to a-z; every other byte is kept.
char FoldAsciiCase(char c);
