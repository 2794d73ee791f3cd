#include "controls/integer_text.h"

#include <limits>

namespace {

int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') {
    digit = c - '0';
  } else if (base == 16 && c >= 'a' && c <= 'f') {
    digit = c - 'a' + 10;
  } else if (base == 16 && c >= 'A' && c <= 'F') {
    digit = c - 'A' + 10;
  }
  return digit < base ? digit : -1;
}

// Offset of v into the cycle that starts at minValue and has the given length,
// computed in unsigned arithmetic so that no difference overflows.
uint64_t CycleOffset(int64_t v, int64_t minValue, uint64_t length) {
  const auto uv = static_cast<uint64_t>(v);
  const auto umin = static_cast<uint64_t>(minValue);
  if (v >= minValue) return (uv - umin) % length;
  const uint64_t below = (umin - uv) % length;
  return below == 0 ? 0 : length - below;
}

}  // namespace

std::optional<int64_t> ParseInteger64(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  // The magnitude may reach 2^63 for the most negative value.
  const uint64_t limit = negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return std::nullopt;
    const auto udigit = static_cast<uint64_t>(digit);
    if (magnitude > (limit - udigit) / static_cast<uint64_t>(base)) return std::nullopt;
    magnitude = magnitude * static_cast<uint64_t>(base) + udigit;
  }
  return static_cast<int64_t>(negative ? uint64_t{0} - magnitude : magnitude);
}

TLimitResult LimitValue(int64_t v, int64_t minValue, int64_t maxValue, bool wrap) {
  TLimitResult result{v, false, false};
  // Wrapping needs a cycle of at least one value; an inverted range is limited.
  const bool wraps = wrap && maxValue > minValue;
  const uint64_t length = static_cast<uint64_t>(maxValue) - static_cast<uint64_t>(minValue);
  if (v >= maxValue) {
    if (wraps) {
      result.Value = WrappingAdd(minValue, static_cast<int64_t>(CycleOffset(v, minValue, length)));
      result.WrappedDown = true;
    } else {
      result.Value = maxValue;
    }
  }
  if (v < minValue) {
    if (wraps) {
      result.Value = WrappingAdd(minValue, static_cast<int64_t>(CycleOffset(v, minValue, length)));
      result.WrappedUp = true;
    } else {
      result.Value = minValue;
    }
  }
  return result;
}

int64_t WrappingAdd(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

int64_t WrappingSubtract(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
