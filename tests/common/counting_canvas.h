#pragma once
// A canvas that draws nothing and only counts the calls it gets, for
// measuring the renderer alone and for checking that a drawing was made.
// Texts measure 7 units a character by 13.

#include <cstdint>
#include <span>
#include <string_view>

#include "render/canvas.h"

class TCountingCanvas final : public TCanvas {
 public:
  explicit TCountingCanvas(TRect clip = {0, 0, 1024, 768}) : clip_(clip) {}

  int64_t Operations = 0;

  void SetBrushColor(TColor) override { ++Operations; }
  void SetBrushStyle(TBrushStyle) override { ++Operations; }
  void SetPenColor(TColor) override { ++Operations; }
  void SetPenWidth(int32_t) override { ++Operations; }
  void SetFont(const TFontSpec&) override { ++Operations; }
  TRect ClipRect() const override { return clip_; }
  void FillRect(const TRect&) override { ++Operations; }
  TSize TextExtent(std::string_view text) override {
    ++Operations;
    return {7 * static_cast<int32_t>(text.size()), 13};
  }
  void Rectangle(const TRect&) override { ++Operations; }
  void TextRect(const TRect&, int32_t, int32_t, std::string_view) override { ++Operations; }
  void MoveTo(TPoint) override { ++Operations; }
  void LineTo(TPoint) override { ++Operations; }
  void Polygon(std::span<const TPoint>) override { ++Operations; }

 private:
  TRect clip_;
};
