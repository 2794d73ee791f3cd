#pragma once
// TMetafileCanvas: a drawing surface that records what is drawn on it, with
// the pen, brush and font each operation uses, so that the recording can be
// written as an enhanced or a placeable Windows metafile.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "render/canvas.h"

// Width and height of a text drawn in a font. The metafile has no fonts of
// its own, so the caller supplies the screen's measure and the file's text
// positions match the screen.
using TTextMeasure = std::function<TSize(const TFontSpec& font, std::string_view text)>;

class TTextMeasureCache;

// A solid pen; width 0 is the thinnest line the device draws.
struct TMetafilePen {
  TColor Color;
  int32_t Width = 1;
  friend bool operator==(const TMetafilePen&, const TMetafilePen&) = default;
};

// A brush colour, or no brush at all (clear brush: outlines only).
using TMetafileBrush = std::optional<TColor>;

// Fills Rect (right and bottom exclusive) with Color, no outline.
struct TFillRectOp {
  TRect Rect;
  TColor Color;
};

// Outline with Pen, interior with Brush unless the brush is clear.
struct TRectangleOp {
  TRect Rect;
  TMetafilePen Pen;
  TMetafileBrush Brush;
};

// Text with its top-left corner at Origin, clipped to Clip; Clip is filled
// with Background first unless that is clear. Advances holds the width of
// each character (code point) of the text in the font, as measured.
struct TTextOp {
  TRect Clip;
  TPoint Origin;
  std::string Text;
  TFontSpec Font;
  TMetafileBrush Background;
  std::vector<int32_t> Advances;
};

struct TMoveToOp {
  TPoint Point;
};

// A line from the current position to Point, which becomes the current one.
struct TLineToOp {
  TPoint Point;
  TMetafilePen Pen;
};

// A closed polygon: outline with Pen, interior with Brush unless clear.
struct TPolygonOp {
  std::vector<TPoint> Points;
  TMetafilePen Pen;
  TMetafileBrush Brush;
};

using TMetafileOp = std::variant<TFillRectOp, TRectangleOp, TTextOp, TMoveToOp, TLineToOp, TPolygonOp>;

class TMetafileCanvas : public TCanvas {
 public:
  // A picture of width x height pixels whose texts are measured by `measure`,
  // each text and each character once per font. Raises ECyclornError for a
  // size below 1 x 1 or a missing measure.
  TMetafileCanvas(int32_t width, int32_t height, TTextMeasure measure);
  ~TMetafileCanvas() override;
  TMetafileCanvas(TMetafileCanvas&&) noexcept;
  TMetafileCanvas& operator=(TMetafileCanvas&&) noexcept;

  void SetBrushColor(TColor color) override;
  void SetBrushStyle(TBrushStyle style) override;
  void SetPenColor(TColor color) override;
  void SetPenWidth(int32_t width) override;
  void SetFont(const TFontSpec& font) override;
  // The whole picture: (0, 0, width, height).
  TRect ClipRect() const override;
  void FillRect(const TRect& rect) override;
  TSize TextExtent(std::string_view text) override;
  void Rectangle(const TRect& rect) override;
  void TextRect(const TRect& clip, int32_t x, int32_t y, std::string_view text) override;
  void MoveTo(TPoint point) override;
  void LineTo(TPoint point) override;
  void Polygon(std::span<const TPoint> points) override;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // What was drawn, in drawing order.
  const std::vector<TMetafileOp>& Operations() const { return operations_; }
  // How often the measure was asked so far.
  int64_t TextsMeasured() const;

 private:
  TMetafileBrush CurrentBrush() const;
  TMetafilePen CurrentPen() const { return TMetafilePen{penColor_, penWidth_}; }

  int32_t width_;
  int32_t height_;
  std::unique_ptr<TTextMeasureCache> measure_;
  std::vector<TMetafileOp> operations_;
  // A fresh surface: white solid brush, black pen of width 1, default font.
  TColor brushColor_ = clWhite;
  TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
  TColor penColor_ = clBlack;
  int32_t penWidth_ = 1;
  TFontSpec font_;
};
