#include "metafile/metafile_canvas.h"

#include <algorithm>
#include <utility>

#include "core/errors.h"
#include "metafile/text_measure_cache.h"

TMetafileCanvas::TMetafileCanvas(int32_t width, int32_t height, TTextMeasure measure) : width_(width), height_(height) {
  if (width < 1 || height < 1) {
    throw ECyclornError("A metafile picture needs a size of at least 1 x 1 pixels, not " + std::to_string(width) +
                        " x " + std::to_string(height));
  }
  if (!measure) throw ECyclornError("A metafile picture needs a text measure");
  measure_ = std::make_unique<TTextMeasureCache>(std::move(measure));
}

TMetafileCanvas::~TMetafileCanvas() = default;
TMetafileCanvas::TMetafileCanvas(TMetafileCanvas&&) noexcept = default;
TMetafileCanvas& TMetafileCanvas::operator=(TMetafileCanvas&&) noexcept = default;

int64_t TMetafileCanvas::TextsMeasured() const { return measure_->Measured(); }

void TMetafileCanvas::SetBrushColor(TColor color) { brushColor_ = color; }
void TMetafileCanvas::SetBrushStyle(TBrushStyle style) { brushStyle_ = style; }
void TMetafileCanvas::SetPenColor(TColor color) { penColor_ = color; }
// A negative width means nothing sensible; the device's thinnest line is the
// nearest meaning it can have.
void TMetafileCanvas::SetPenWidth(int32_t width) { penWidth_ = std::max<int32_t>(width, 0); }
void TMetafileCanvas::SetFont(const TFontSpec& font) { font_ = font; }

TRect TMetafileCanvas::ClipRect() const { return TRect{0, 0, width_, height_}; }

TMetafileBrush TMetafileCanvas::CurrentBrush() const {
  if (brushStyle_ == TBrushStyle::bsClear) return std::nullopt;
  return brushColor_;
}

void TMetafileCanvas::FillRect(const TRect& rect) {
  operations_.emplace_back(std::in_place_type<TFillRectOp>, TFillRectOp{rect, brushColor_});
}

TSize TMetafileCanvas::TextExtent(std::string_view text) { return measure_->Extent(font_, text); }

void TMetafileCanvas::Rectangle(const TRect& rect) {
  operations_.emplace_back(std::in_place_type<TRectangleOp>, TRectangleOp{rect, CurrentPen(), CurrentBrush()});
}

void TMetafileCanvas::TextRect(const TRect& clip, int32_t x, int32_t y, std::string_view text) {
  // The advances add up to the text's measured width, so the file places
  // the characters within the box the screen measured for them.
  operations_.emplace_back(std::in_place_type<TTextOp>, TTextOp{clip, TPoint{x, y}, std::string(text), font_,
                                                                CurrentBrush(), measure_->Advances(font_, text)});
}

void TMetafileCanvas::MoveTo(TPoint point) {
  operations_.emplace_back(std::in_place_type<TMoveToOp>, TMoveToOp{point});
}

void TMetafileCanvas::LineTo(TPoint point) {
  operations_.emplace_back(std::in_place_type<TLineToOp>, TLineToOp{point, CurrentPen()});
}

void TMetafileCanvas::Polygon(std::span<const TPoint> points) {
  operations_.emplace_back(std::in_place_type<TPolygonOp>,
                           TPolygonOp{std::vector<TPoint>(points.begin(), points.end()), CurrentPen(), CurrentBrush()});
}
