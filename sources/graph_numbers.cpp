#include "sources/graph_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Advances past a run of digits; false when there is none.
bool SkipDigits(std::string_view s, size_t& i) {
  const size_t start = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i > start;
}

}  // namespace

std::string FormatGraphReal(double v) {
  if (v == 0) v = 0;  // negative zero is written like zero
  // Fifteen digits of the reals nearest the largest one round up past it, and
  // such a file could not be read back; those are written rounded down.
  constexpr double kLargestFifteenDigits = 1.79769313486231e308;
  if (std::abs(v) > kLargestFifteenDigits) v = std::copysign(kLargestFifteenDigits, v);
  char digits[48];
  // to_chars is exact and ignores the locale: "-7.50000000000000e+01".
  const auto result = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::scientific, 14);
  const std::string_view text(digits, static_cast<size_t>(result.ptr - digits));
  const size_t e = text.find('e');
  std::string_view mantissa = text.substr(0, e);
  std::string out;
  out.reserve(kGraphRealWidth);
  if (mantissa.front() == '-') {
    out += '-';
    mantissa.remove_prefix(1);
  } else {
    out += ' ';
  }
  out += mantissa;
  out += 'E';
  out += text[e + 1];
  const std::string_view exponent = text.substr(e + 2);
  out.append(4 - std::min<size_t>(4, exponent.size()), '0');
  out += exponent;
  return out;
}

bool ParseGraphReal(std::string_view token, double& value) {
  size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  if (!SkipDigits(token, i)) return false;
  if (i < token.size() && token[i] == '.') {
    ++i;
    if (!SkipDigits(token, i)) return false;
  }
  if (i < token.size() && (token[i] == 'E' || token[i] == 'e')) {
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    if (!SkipDigits(token, i)) return false;
  }
  if (i != token.size()) return false;
  // from_chars takes no leading "+"; the grammar is already checked above.
  const size_t start = token.front() == '+' ? 1 : 0;
  double parsed = 0;
  const auto result = std::from_chars(token.data() + start, token.data() + token.size(), parsed);
  if (result.ec != std::errc() || result.ptr != token.data() + token.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseGraphInteger(std::string_view token, int32_t& value) {
  size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  if (!SkipDigits(token, i) || i != token.size()) return false;
  const size_t start = token.front() == '+' ? 1 : 0;
  int32_t parsed = 0;
  const auto result = std::from_chars(token.data() + start, token.data() + token.size(), parsed);
  if (result.ec != std::errc() || result.ptr != token.data() + token.size()) return false;
  value = parsed;
  return true;
}
