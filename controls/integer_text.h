#pragma once
// The text and limit rules of the integer spin, free of any widget: reading a
// 64-bit integer from text and holding a value within its limits.

#include <cstdint>
#include <optional>
#include <string_view>

// Reads a 64-bit signed integer: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$" or "0x"; nothing may follow. Empty
// digits, other characters and values outside the 64-bit range give nothing.
std::optional<int64_t> ParseInteger64(std::string_view text);

// Outcome of the limit rule: the limited value and which wraps happened.
struct TLimitResult {
  int64_t Value = 0;
  bool WrappedDown = false;  // wrapped past the upper limit (wrap mode 0)
  bool WrappedUp = false;    // wrapped past the lower limit (wrap mode 1)
};

// Holds v within [minValue, maxValue]: the upper limit is tested first and the
// lower one second, both against the incoming v, so an inverted range (max
// below min) ends at max for v >= min and at min for v < min. With wrap on and
// max above min, values outside wrap round the cycle min .. max - 1.
TLimitResult LimitValue(int64_t v, int64_t minValue, int64_t maxValue, bool wrap);

// Sum and difference in 64-bit two's-complement arithmetic that wraps on overflow.
int64_t WrappingAdd(int64_t a, int64_t b);
int64_t WrappingSubtract(int64_t a, int64_t b);
