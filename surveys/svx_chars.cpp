#include "surveys/svx_chars.h"

#include <charconv>
#include <cmath>

TSvxChars::TSvxChars() {
  Set(ccBlank, "\t ,");
  Set(ccComment, ";");
  Set(ccDecimal, ".");
  Set(ccKeyword, "*");
  Set(ccMinus, "-");
  Set(ccPlus, "+");
  Set(ccNames, "_-");
  Set(ccOmit, "-");
  Set(ccSeparator, ".");
  Set(ccRoot, "\\");
}

bool TSvxChars::IsNameChar(char c) const {
  return IsAsciiAlnum(c) || static_cast<uint8_t>(c) >= 0x80 || Is(c, ccNames);
}

void TSvxChars::Set(TSvxCharClass cls, std::string_view chars) {
  for (uint16_t& bits : class_) bits = static_cast<uint16_t>(bits & ~cls);
  for (const char c : chars) class_[static_cast<uint8_t>(c)] |= cls;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool TSvxLine::AtEnd() {
  while (pos_ < text_.size() && chars_->Is(text_[pos_], ccBlank)) ++pos_;
  return pos_ >= text_.size() || chars_->Is(text_[pos_], ccComment);
}

std::string_view TSvxLine::Next(bool quotes) {
  if (AtEnd()) return {};
  if (quotes && text_[pos_] == '"') {
    const size_t start = pos_ + 1;
    size_t end = text_.find('"', start);
    if (end == std::string_view::npos) end = text_.size();
    pos_ = end < text_.size() ? end + 1 : end;
    return text_.substr(start, end - start);
  }
  const size_t start = pos_;
  while (pos_ < text_.size() && !chars_->Is(text_[pos_], ccBlank) && !chars_->Is(text_[pos_], ccComment)) ++pos_;
  return text_.substr(start, pos_ - start);
}

std::string_view TSvxLine::Rest() {
  if (AtEnd()) return {};
  size_t end = pos_;
  while (end < text_.size() && !chars_->Is(text_[end], ccComment)) ++end;
  while (end > pos_ && chars_->Is(text_[end - 1], ccBlank)) --end;
  const std::string_view rest = text_.substr(pos_, end - pos_);
  pos_ = text_.size();
  return rest;
}

bool ParseSvxNumber(std::string_view field, const TSvxChars& chars, double& value) {
  // Rewritten in the standard form, which from_chars reads whatever the locale.
  char buffer[80];
  size_t n = 0;
  size_t i = 0;
  if (i < field.size() && (chars.Is(field[i], ccMinus) || chars.Is(field[i], ccPlus))) {
    if (chars.Is(field[i], ccMinus)) buffer[n++] = '-';
    ++i;
  }
  bool digits = false;
  bool decimal = false;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (!decimal && chars.Is(c, ccDecimal)) {
      decimal = true;
      buffer[n++] = '.';
      continue;
    } else {
      return false;
    }
    if (n >= sizeof buffer - 1) return false;
    buffer[n++] = c;
  }
  if (!digits) return false;
  const auto [end, error] = std::from_chars(buffer, buffer + n, value);
  return error == std::errc() && end == buffer + n && std::isfinite(value);
}

namespace {

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<uint8_t>(text[i]);
    size_t follow = 0;
    uint32_t least = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0) {
      follow = 1;
      least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      follow = 2;
      least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      follow = 3;
      least = 0x10000;
    } else {
      return false;
    }
    if (i + follow >= text.size()) return false;
    uint32_t code = c & (0x3Fu >> follow);
    for (size_t k = 1; k <= follow; ++k) {
      const auto d = static_cast<uint8_t>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += follow + 1;
  }
  return true;
}

}  // namespace

std::string AsUtf8(std::string text) {
  if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  if (IsUtf8(text)) return text;
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}
