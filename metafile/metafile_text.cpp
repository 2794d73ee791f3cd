#include "metafile/metafile_text.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point starting at text[pos]; returns it and its length in
// bytes. Overlong forms, surrogates and values above U+10FFFF are invalid.
std::pair<char32_t, size_t> DecodeOne(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(pos);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return {kReplacement, 1};
  }
  if (pos + length > text.size()) return {kReplacement, 1};
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return {kReplacement, 1};
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {kReplacement, 1};
  return {value, length};
}

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string result;
  for (size_t pos = 0; pos < text.size();) {
    const auto [codePoint, length] = DecodeOne(text, pos);
    result.push_back(codePoint);
    pos += length;
  }
  return result;
}

std::vector<size_t> CodePointEnds(std::string_view text) {
  std::vector<size_t> ends;
  for (size_t pos = 0; pos < text.size();) {
    pos += DecodeOne(text, pos).second;
    ends.push_back(pos);
  }
  return ends;
}

std::u16string EncodeUtf16(char32_t codePoint) {
  if (codePoint < 0x10000) return std::u16string(1, static_cast<char16_t>(codePoint));
  const char32_t offset = codePoint - 0x10000;
  return {static_cast<char16_t>(0xD800 + (offset >> 10)), static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

char ToWesternCodePage(char32_t codePoint) {
  // The Western code page agrees with Latin-1 except in 0x80..0x9F, where it
  // holds other characters; those are left out rather than mistranslated.
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<char>(codePoint);
  return '?';
}
