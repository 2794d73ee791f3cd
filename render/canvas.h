#pragma once
// TCanvas: the drawing surface the renderer draws on. It has exactly the
// operations the graph and loop pictures need, so the screen (QPainter), PNG
// and SVG pictures and the metafile recorder all get the same calls.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/vector3.h"

// A colour: red, green and blue, or the system's window-text colour.
class TColor {
 public:
  constexpr TColor() = default;
  static constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b) { return TColor(r, g, b, false); }
  static constexpr TColor WindowText() { return TColor(0, 0, 0, true); }

  constexpr uint8_t R() const { return r_; }
  constexpr uint8_t G() const { return g_; }
  constexpr uint8_t B() const { return b_; }
  constexpr bool IsWindowText() const { return windowText_; }
  friend constexpr bool operator==(const TColor&, const TColor&) = default;

 private:
  constexpr TColor(uint8_t r, uint8_t g, uint8_t b, bool windowText) : r_(r), g_(g), b_(b), windowText_(windowText) {}
  uint8_t r_ = 0, g_ = 0, b_ = 0;
  bool windowText_ = false;
};

inline constexpr TColor clBlack = TColor::Rgb(0, 0, 0);
inline constexpr TColor clGray = TColor::Rgb(128, 128, 128);
inline constexpr TColor clRed = TColor::Rgb(255, 0, 0);
inline constexpr TColor clWhite = TColor::Rgb(255, 255, 255);

// A label font: face, height in pixels (negative: character height, as the
// platform's font height), style and text colour.
struct TFontSpec {
  std::string Face = "MS Sans Serif";
  int32_t Height = -11;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TColor Color = TColor::WindowText();
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// Left, Top inclusive; Right, Bottom exclusive, as the platform's rectangles.
struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TSize {
  int32_t Width = 0, Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

enum class TBrushStyle { bsSolid, bsClear };

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetBrushColor(TColor color) = 0;
  virtual void SetBrushStyle(TBrushStyle style) = 0;
  virtual void SetPenColor(TColor color) = 0;
  virtual void SetPenWidth(int32_t width) = 0;
  virtual void SetFont(const TFontSpec& font) = 0;
  // The part of the surface that drawing can reach.
  virtual TRect ClipRect() const = 0;
  // Fills the rectangle with the brush, no outline.
  virtual void FillRect(const TRect& rect) = 0;
  // Width and height of a text in the current font.
  virtual TSize TextExtent(std::string_view text) = 0;
  // Outline with the pen; interior with the brush unless the brush is clear.
  virtual void Rectangle(const TRect& rect) = 0;
  // Text with its top-left corner at (x, y), clipped to `clip`; the clip
  // rectangle is filled with the brush colour first when the brush is solid.
  virtual void TextRect(const TRect& clip, int32_t x, int32_t y, std::string_view text) = 0;
  virtual void MoveTo(TPoint point) = 0;
  virtual void LineTo(TPoint point) = 0;
  // Closed polygon: outline with the pen, interior with the brush.
  virtual void Polygon(std::span<const TPoint> points) = 0;
};
