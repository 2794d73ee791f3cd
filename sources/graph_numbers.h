#pragma once
// The number forms of graph files, independent of the user's locale: reals in
// a fixed 23-character scientific form, integers in plain decimal.

#include <cstdint>
#include <string>
#include <string_view>

// Width of a written real: sign column, d.dddddddddddddd, "E", sign, 4 digits.
inline constexpr int kGraphRealWidth = 23;

// Writes v with 15 significant digits rounded to nearest, e.g. 75 as
// " 7.50000000000000E+0001"; zero (also negative zero) has a blank sign.
// v must be finite.
std::string FormatGraphReal(double v);

// Reads a whole token of the form [sign] digits ["." digits] [("E"|"e") [sign] digits].
// False for anything else ("75.", ".5", "1e", "inf") and for values a 64-bit
// real cannot hold; value is then unchanged.
bool ParseGraphReal(std::string_view token, double& value);

// Reads a whole token of the form [sign] digits that fits in 32 signed bits.
bool ParseGraphInteger(std::string_view token, int32_t& value);
