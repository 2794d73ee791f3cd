#pragma once
// TQtCanvas: the canvas over a QPainter, for the screen, QImage and
// QSvgGenerator alike. Each canvas operation is one painter operation with
// the canvas's own brush, pen and font state; antialiasing is turned off so
// lines and boxes land on whole pixels.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <string>
#include <unordered_map>

#include "render/canvas.h"

class TQtCanvas final : public TCanvas {
 public:
  // Draws on an active painter; the clip rectangle is the painter's clip
  // when it has one, else the whole device (give a QSvgGenerator its size).
  explicit TQtCanvas(QPainter& painter);
  // Draws on an active painter; `clip` is the part to be repainted.
  TQtCanvas(QPainter& painter, const QRect& clip);
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;

  void SetBrushColor(TColor color) override;
  void SetBrushStyle(TBrushStyle style) override;
  void SetPenColor(TColor color) override;
  void SetPenWidth(int32_t width) override;
  void SetFont(const TFontSpec& font) override;
  TRect ClipRect() const override;
  void FillRect(const TRect& rect) override;
  TSize TextExtent(std::string_view text) override;
  void Rectangle(const TRect& rect) override;
  void TextRect(const TRect& clip, int32_t x, int32_t y, std::string_view text) override;
  void MoveTo(TPoint point) override;
  void LineTo(TPoint point) override;
  void Polygon(std::span<const TPoint> points) override;

 private:
  void UsePenAndBrush();
  // Whether something drawn with the pen inside `bounds` can reach the repainted part.
  bool MayShow(const QRect& bounds) const;

  QPainter& painter_;
  QRect clip_;
  QColor brushColor_ = Qt::white;
  TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
  QColor penColor_ = Qt::black;
  int32_t penWidth_ = 1;
  TFontSpec fontSpec_;
  QFont font_;
  QFontMetrics metrics_;
  std::unordered_map<std::string, int32_t> textWidths_;  // in the current font
  QColor fontColor_;
  QPoint position_;
};
