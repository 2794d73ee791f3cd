#include "render_qt/paint_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "render_qt/qt_canvas.h"

TPaintBox::TPaintBox(TPainterFunction painter, QWidget* parent) : QWidget(parent), painter_(std::move(painter)) {
  // Areas the renderer leaves undrawn (the loop view without loops) show the
  // scroll area's own background.
  setAutoFillBackground(false);
}

void TPaintBox::SetAreaSize(QSize area) {
  area_ = area;
  ApplySize();
}

void TPaintBox::SetZoom(double zoom) {
  if (!(zoom > 0) || !std::isfinite(zoom)) return;
  area_ = AreaSize();
  const int side = std::max({area_.width(), area_.height(), 1});
  zoom_ = std::min(zoom, static_cast<double>(kMaxSide) / side);
  ApplySize();
  update();
}

void TPaintBox::ApplySize() {
  const auto scaled = [this](int side) {
    return static_cast<int>(std::clamp(std::ceil(side * zoom_), 1.0, static_cast<double>(kMaxSide)));
  };
  setFixedSize(zoom_ == 1 ? area_ : QSize(scaled(area_.width()), scaled(area_.height())));
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  // Scrolling a large drawing repaints a strip at a time; only what reaches
  // that strip is drawn.
  const QRect part = event->rect() & rect();
  QPainter painter(this);
  painter.setClipRect(part);
  if (zoom_ == 1) {
    TQtCanvas canvas(painter, part);
    painter_(canvas, canvas.ClipRect());
    return;
  }
  // The strip in drawing units, grown to whole units so that its edge pixels are drawn.
  painter.scale(zoom_, zoom_);
  const QRectF units(QPointF(part.topLeft()) / zoom_, QSizeF(part.size()) / zoom_);
  const QRect drawing(QPoint(static_cast<int>(std::floor(units.left())), static_cast<int>(std::floor(units.top()))),
                      QPoint(static_cast<int>(std::ceil(units.right())), static_cast<int>(std::ceil(units.bottom()))));
  TQtCanvas canvas(painter, drawing);
  painter_(canvas, canvas.ClipRect());
}
