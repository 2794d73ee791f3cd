#pragma once
// TPaintBox: the drawing area. It has no picture of its own: every repaint
// hands a canvas over the widget to the painter it was given, together with
// the part of the area being repainted (the canvas's clip rectangle), in
// drawing units. At a zoom other than 1 the widget is the area's size times
// the zoom and the canvas draws scaled; at zoom 1 one unit is one pixel.

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QWidget>
#include <functional>

class TCanvas;
struct TRect;

class TPaintBox final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TPaintBox)

 public:
  using TPainterFunction = std::function<void(TCanvas& canvas, const TRect& visible)>;
  // The largest side the widget takes (one below a widget's own limit).
  static constexpr int kMaxSide = 16777214;

  explicit TPaintBox(TPainterFunction painter, QWidget* parent = nullptr);

  // The drawing area in drawing units; the widget is this times the zoom.
  // At zoom 1 the widget's size is the area, however it was set.
  QSize AreaSize() const { return zoom_ == 1 ? size() : area_; }
  void SetAreaSize(QSize area);
  double Zoom() const { return zoom_; }
  // Sets the zoom, held so that the widget stays within kMaxSide.
  void SetZoom(double zoom);
  // Widget pixels and drawing units.
  QPointF ToDrawing(QPointF pixel) const { return pixel / zoom_; }
  QPointF ToPixels(QPointF drawing) const { return drawing * zoom_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Sizes the widget to the area at the zoom.
  void ApplySize();

  TPainterFunction painter_;
  QSize area_;
  double zoom_ = 1;
};
