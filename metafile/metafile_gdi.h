#pragma once
// Both metafile formats are lists of the calls a Windows drawing device
// receives. TGdiPlayer turns a recording into those calls once, creating,
// selecting and deleting pens, brushes and fonts as the operations need
// them; each format only encodes the calls.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "metafile/metafile_canvas.h"
#include "metafile/metafile_export.h"

inline constexpr uint32_t kPenSolid = 0;
inline constexpr uint32_t kPenNull = 5;
inline constexpr uint32_t kBrushSolid = 0;
inline constexpr uint32_t kBrushNull = 1;
inline constexpr int32_t kFontWeightNormal = 400;
inline constexpr int32_t kFontWeightBold = 700;
// Text drawing option: clip to the rectangle.
inline constexpr uint16_t kTextClipped = 0x0004;
// Background mode: text leaves what lies between its letters alone.
inline constexpr uint16_t kBackgroundTransparent = 1;

struct TGdiPen {
  uint32_t Style = kPenSolid;
  int32_t Width = 1;
  uint32_t Color = 0;
  friend bool operator==(const TGdiPen&, const TGdiPen&) = default;
};

struct TGdiBrush {
  uint32_t Style = kBrushSolid;
  uint32_t Color = 0;
  friend bool operator==(const TGdiBrush&, const TGdiBrush&) = default;
};

struct TGdiFont {
  int32_t Height = 0;
  int32_t Weight = kFontWeightNormal;
  bool Italic = false, Underline = false, StrikeOut = false;
  std::string Face;
  friend bool operator==(const TGdiFont&, const TGdiFont&) = default;
};

struct TGdiText {
  TPoint Origin;
  TRect Clip;
  uint16_t Options = kTextClipped;
  std::u32string Text;
  std::vector<int32_t> Advances;  // one per code point of Text
};

// Receives the device calls in order. Object slots are numbered from 0 and
// handed out lowest free first, as a Windows metafile player does.
class TGdiSink {
 public:
  virtual ~TGdiSink() = default;
  virtual void CreatePen(uint16_t slot, const TGdiPen& pen) = 0;
  virtual void CreateBrush(uint16_t slot, const TGdiBrush& brush) = 0;
  virtual void CreateFont(uint16_t slot, const TGdiFont& font) = 0;
  virtual void SelectObject(uint16_t slot) = 0;
  virtual void DeleteObject(uint16_t slot) = 0;
  virtual void SetBackgroundMode(uint16_t mode) = 0;
  virtual void SetTextColor(uint32_t color) = 0;
  // Outline with the pen covers Left..Right-1 and Top..Bottom-1.
  virtual void Rectangle(const TRect& rect) = 0;
  virtual void Text(const TGdiText& text) = 0;
  virtual void MoveTo(TPoint point) = 0;
  virtual void LineTo(TPoint point) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
};

// The colour as a Windows colour value 0x00BBGGRR; the window-text colour
// becomes options.WindowTextColor.
uint32_t ColorRef(TColor color, const TMetafileOptions& options);

// The smallest rectangle, inclusive on all sides, holding every pixel the
// recording draws; (0, 0, -1, -1) when it draws nothing.
TRect DrawingBounds(const TMetafileCanvas& recording);

// Sends the recording to the sink, every pen, brush and font deleted again
// by the end. Returns the number of object slots the calls needed at most.
uint16_t PlayRecording(const TMetafileCanvas& recording, const TMetafileOptions& options, TGdiSink& sink);
