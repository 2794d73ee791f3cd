#pragma once
// The characters of Survex raw data that "*set" can change, the splitting of
// a line into fields, and Survex's numbers. Letters and digits are never
// special; bytes above 127 (UTF-8) count as letters.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

enum TSvxCharClass : uint16_t {
  ccBlank = 1 << 0,
  ccComment = 1 << 1,
  ccDecimal = 1 << 2,
  ccKeyword = 1 << 3,
  ccMinus = 1 << 4,
  ccPlus = 1 << 5,
  ccNames = 1 << 6,
  ccOmit = 1 << 7,
  ccSeparator = 1 << 8,
  ccRoot = 1 << 9,
};

// Which classes each byte is in.
class TSvxChars {
 public:
  // Blanks tab, space and comma; ';' comments; '.' decimal and separator;
  // '*' keyword; '-' minus and omit; '+' plus; '_' and '-' in names; '\' root.
  TSvxChars();
  bool Is(char c, TSvxCharClass cls) const { return (class_[static_cast<uint8_t>(c)] & cls) != 0; }
  // Letters, digits, bytes above 127 and the NAMES characters.
  bool IsNameChar(char c) const;
  // Makes `chars` the only members of cls.
  void Set(TSvxCharClass cls, std::string_view chars);

 private:
  std::array<uint16_t, 256> class_{};
};

inline bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }
std::string AsciiLower(std::string_view text);
// Case-blind equality of ASCII words.
bool SameWord(std::string_view a, std::string_view b);

// One line being split into fields: blanks separate them, a comment
// character ends the line.
class TSvxLine {
 public:
  TSvxLine(std::string_view text, const TSvxChars& chars) : text_(text), chars_(&chars) {}
  // Skips blanks; true when nothing but blanks and a comment remains.
  bool AtEnd();
  // The next field, "" at the end. With quotes, a field that starts with '"'
  // runs to the next '"' (without the quotes), blanks included.
  std::string_view Next(bool quotes = false);
  // What is left of the line after blanks, up to a comment.
  std::string_view Rest();

 private:
  std::string_view text_;
  size_t pos_ = 0;
  const TSvxChars* chars_;
};

// A Survex number: an optional PLUS or MINUS, digits with an optional
// DECIMAL character anywhere among them (at least one digit). False for
// anything else, and for a value out of range.
bool ParseSvxNumber(std::string_view field, const TSvxChars& chars, double& value);

// The text as UTF-8: unchanged when it already is valid UTF-8 (a leading
// byte-order mark dropped), else read as Latin-1.
std::string AsUtf8(std::string text);
