#pragma once
// Text encodings of the metafile formats: labels arrive as UTF-8; enhanced
// metafiles store UTF-16, Windows metafiles one byte per character.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The code points of a UTF-8 text; each byte that does not belong to a valid
// sequence stands for one U+FFFD replacement character.
std::u32string DecodeUtf8(std::string_view text);

// The byte offset at which each code point of DecodeUtf8(text) ends.
std::vector<size_t> CodePointEnds(std::string_view text);

// One code point as UTF-16: one unit, or a surrogate pair above U+FFFF.
std::u16string EncodeUtf16(char32_t codePoint);

// One code point in the Western code page of Windows metafiles: ASCII and
// Latin-1 letters stand for themselves, anything else is "?".
char ToWesternCodePage(char32_t codePoint);
