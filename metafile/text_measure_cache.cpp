#include "metafile/text_measure_cache.h"

#include <utility>

#include "metafile/metafile_text.h"

TTextMeasureCache::TTextMeasureCache(TTextMeasure measure) : measure_(std::move(measure)) {}

void TTextMeasureCache::UseFont(const TFontSpec& font) {
  // Pictures use one label font throughout, so one font's measures are kept.
  if (haveFont_ && font == font_) return;
  font_ = font;
  haveFont_ = true;
  texts_.clear();
  characters_.clear();
}

TSize TTextMeasureCache::Measure(std::string_view text) {
  ++measured_;
  return measure_(font_, text);
}

TSize TTextMeasureCache::Extent(const TFontSpec& font, std::string_view text) {
  UseFont(font);
  const std::string key(text);
  if (const auto known = texts_.find(key); known != texts_.end()) return known->second;
  return texts_.emplace(key, Measure(text)).first->second;
}

std::vector<int32_t> TTextMeasureCache::Advances(const TFontSpec& font, std::string_view text) {
  const int32_t width = Extent(font, text).Width;
  std::vector<int32_t> advances;
  int32_t sum = 0;
  size_t start = 0;
  for (const size_t end : CodePointEnds(text)) {
    const std::string character(text.substr(start, end - start));
    auto known = characters_.find(character);
    if (known == characters_.end()) known = characters_.emplace(character, Measure(character).Width).first;
    advances.push_back(known->second);
    sum += known->second;
    start = end;
  }
  if (!advances.empty()) advances.back() += width - sum;
  return advances;
}
