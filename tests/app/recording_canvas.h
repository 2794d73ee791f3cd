#pragma once
// A canvas that remembers the lines drawn and the pen colour of each, so a
// test can tell which loop was drawn on top without looking at pixels.

#include <utility>
#include <vector>

#include "render/canvas.h"

class TRecordingCanvas final : public TCanvas {
 public:
  struct TLine {
    TPoint From, To;
    TColor Pen;
  };

  void SetBrushColor(TColor color) override { brush_ = color; }
  void SetBrushStyle(TBrushStyle) override {}
  void SetPenColor(TColor color) override { pen_ = color; }
  void SetPenWidth(int32_t) override {}
  void SetFont(const TFontSpec&) override {}
  TRect ClipRect() const override { return {0, 0, 1024, 768}; }
  void FillRect(const TRect&) override { Fills.push_back(brush_); }
  TSize TextExtent(std::string_view text) override { return {static_cast<int32_t>(6 * text.size()), 13}; }
  void Rectangle(const TRect&) override {}
  void TextRect(const TRect&, int32_t, int32_t, std::string_view) override {}
  void MoveTo(TPoint point) override { at_ = point; }
  void LineTo(TPoint point) override {
    Lines.push_back({at_, point, pen_});
    at_ = point;
  }
  void Polygon(std::span<const TPoint>) override {}

  // Lines drawn in the given pen colour.
  int CountLines(TColor pen) const {
    int count = 0;
    for (const TLine& line : Lines) count += line.Pen == pen ? 1 : 0;
    return count;
  }

  std::vector<TColor> Fills;
  std::vector<TLine> Lines;

 private:
  TColor brush_, pen_;
  TPoint at_;
};
