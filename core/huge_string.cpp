#include "core/huge_string.h"

#include <utility>

#include "core/errors.h"

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

THugeString::THugeString(int32_t capacity, int32_t width) : THugeArray(capacity, width + 1), Tags(capacity) {}

int32_t THugeString::Add(std::string_view s, int32_t tag) {
  if (static_cast<int64_t>(s.size()) > Width())
    throw ENameTooLong("Station name longer than " + std::to_string(Width()) + " bytes: \"" + std::string(s) + "\"");
  Grow();
  const int32_t index = Count();
  std::byte* slot = ItemPtr(index);
  slot[0] = static_cast<std::byte>(s.size());
  if (!s.empty()) std::memcpy(slot + 1, s.data(), s.size());
  Tags.Add(tag);
  SetCount(index + 1);
  return index;
}

std::string_view THugeString::View(int32_t i) const {
  const std::byte* slot = ItemPtr(i);
  return {reinterpret_cast<const char*>(slot + 1), static_cast<size_t>(slot[0])};
}

std::string THugeString::Get(int32_t i) const { return std::string(View(i)); }

bool THugeString::Matches(std::string_view s, int32_t i) const {
  const std::string_view stored = View(i);
  if (stored.size() != s.size()) return false;
  if (CaseSensitive) return stored == s;
  for (size_t k = 0; k < s.size(); ++k)
    if (FoldAsciiCase(stored[k]) != FoldAsciiCase(s[k])) return false;
  return true;
}

void THugeString::Clear() {
  Tags.Clear();
  THugeArray::Clear();
}

void THugeString::Exchange(int32_t i, int32_t j) {
  Tags.Exchange(i, j);
  THugeArray::Exchange(i, j);
}

void THugeString::Swap(THugeString& other) noexcept {
  SwapBlocks(other);
  Tags.Swap(other.Tags);
  std::swap(CaseSensitive, other.CaseSensitive);
}
