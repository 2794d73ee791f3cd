#pragma once
// TTextMeasureCache: label texts measured through a slow measure (a drawing
// toolkit's font metrics) once each. Whole texts are measured once per font,
// for label boxes exactly as the screen sizes them, and each character once
// per font, for the character advances a metafile places its letters by.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "metafile/metafile_canvas.h"

class TTextMeasureCache {
 public:
  explicit TTextMeasureCache(TTextMeasure measure);

  // Width and height of text in font, as the measure gives them.
  TSize Extent(const TFontSpec& font, std::string_view text);
  // The advance of each code point of text in font: each character's own
  // width, the last one taking up what kerning and rounding add, so that the
  // advances add up to Extent(font, text).Width.
  std::vector<int32_t> Advances(const TFontSpec& font, std::string_view text);
  // How often the slow measure was asked.
  int64_t Measured() const { return measured_; }

 private:
  void UseFont(const TFontSpec& font);
  TSize Measure(std::string_view text);

  TTextMeasure measure_;
  TFontSpec font_;
  bool haveFont_ = false;
  std::unordered_map<std::string, TSize> texts_;       // in font_
  std::unordered_map<std::string, int32_t> characters_;  // one code point's bytes, in font_
  int64_t measured_ = 0;
};
