#pragma once
// TRecordingCanvas: a test double that logs every canvas operation as one
// line of text with its numbers, e.g. "Rectangle 7 13 30 33", so tests
// compare what the renderer drew exactly. Texts measure CharWidth per
// character by TextHeight.

#include <algorithm>
#include <string>
#include <vector>

#include "render/canvas.h"

class TRecordingCanvas final : public TCanvas {
 public:
  int32_t CharWidth = 7;
  int32_t TextHeight = 13;
  TRect Clip{0, 0, 1024, 768};
  std::vector<std::string> Log;

  void SetBrushColor(TColor color) override { Log.push_back("BrushColor " + Name(color)); }
  void SetBrushStyle(TBrushStyle style) override {
    Log.push_back(style == TBrushStyle::bsSolid ? "BrushStyle solid" : "BrushStyle clear");
  }
  void SetPenColor(TColor color) override { Log.push_back("PenColor " + Name(color)); }
  void SetPenWidth(int32_t width) override { Log.push_back("PenWidth " + std::to_string(width)); }
  void SetFont(const TFontSpec& font) override {
    Log.push_back("Font " + font.Face + " " + std::to_string(font.Height) + " " + Name(font.Color));
  }
  TRect ClipRect() const override { return Clip; }
  void FillRect(const TRect& rect) override { Log.push_back("FillRect " + Numbers(rect)); }
  TSize TextExtent(std::string_view text) override {
    Log.push_back("TextExtent " + std::string(text));
    return {CharWidth * static_cast<int32_t>(text.size()), TextHeight};
  }
  void Rectangle(const TRect& rect) override { Log.push_back("Rectangle " + Numbers(rect)); }
  void TextRect(const TRect& clip, int32_t x, int32_t y, std::string_view text) override {
    Log.push_back("TextRect " + Numbers(clip) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                  std::string(text));
  }
  void MoveTo(TPoint point) override { Log.push_back("MoveTo " + Numbers(point)); }
  void LineTo(TPoint point) override { Log.push_back("LineTo " + Numbers(point)); }
  void Polygon(std::span<const TPoint> points) override {
    std::string line = "Polygon";
    for (const TPoint& p : points) line += " " + Numbers(p);
    Log.push_back(line);
  }

  // The logged lines that begin with `operation` (a whole word).
  std::vector<std::string> Only(const std::string& operation) const {
    std::vector<std::string> result;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(result),
                 [&](const std::string& line) { return line == operation || line.starts_with(operation + " "); });
    return result;
  }

  static std::string Name(TColor c) {
    if (c.IsWindowText()) return "windowtext";
    return std::to_string(c.R()) + "," + std::to_string(c.G()) + "," + std::to_string(c.B());
  }

 private:
  static std::string Numbers(const TRect& r) {
    return std::to_string(r.Left) + " " + std::to_string(r.Top) + " " + std::to_string(r.Right) + " " +
           std::to_string(r.Bottom);
  }
  static std::string Numbers(TPoint p) { return std::to_string(p.X) + " " + std::to_string(p.Y); }
};
