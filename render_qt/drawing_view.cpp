#include "render_qt/drawing_view.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "render_qt/paint_box.h"

TDrawingView::TDrawingView(TPaintBox* box, QWidget* parent) : QScrollArea(parent), box_(box) {
  setWidgetResizable(false);
  setWidget(box);
}

double TDrawingView::Zoom() const { return box_->Zoom(); }

void TDrawingView::ScrollPixelTo(QPointF pixel, QPoint at) {
  // The scroll bars' ranges follow the widget's new size only when its resize
  // event arrives; they are set here at once, as the scroll area sets them.
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, std::max(0, box_->width() - viewport()->width()));
  v->setRange(0, std::max(0, box_->height() - viewport()->height()));
  h->setValue(static_cast<int>(std::lround(pixel.x() - at.x())));
  v->setValue(static_cast<int>(std::lround(pixel.y() - at.y())));
}

void TDrawingView::SetZoom(double zoom, QPoint anchor) {
  const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  const QPointF underAnchor = box_->ToDrawing(scroll + QPointF(anchor));
  box_->SetZoom(std::clamp(zoom, kMinZoom, kMaxZoom));
  ScrollPixelTo(box_->ToPixels(underAnchor), anchor);
}

void TDrawingView::ZoomIn() { SetZoom(Zoom() * kZoomStep, viewport()->rect().center()); }

void TDrawingView::ZoomOut() { SetZoom(Zoom() / kZoomStep, viewport()->rect().center()); }

void TDrawingView::ActualSize() { SetZoom(1, viewport()->rect().center()); }

QRectF TDrawingView::VisibleDrawingRect() const {
  const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  const QPointF topLeft = box_->ToDrawing(scroll);
  const QPointF bottomRight = box_->ToDrawing(scroll + QPointF(viewport()->width(), viewport()->height()));
  return QRectF(topLeft, bottomRight);
}

void TDrawingView::CentreOn(QPointF point) { ScrollPixelTo(box_->ToPixels(point), viewport()->rect().center()); }

void TDrawingView::FitRect(const QRectF& drawing) {
  const QSize view = viewport()->size();
  if (drawing.isEmpty() || view.isEmpty()) {
    CentreOn(drawing.center());
    return;
  }
  const double zoom = std::min(view.width() / drawing.width(), view.height() / drawing.height());
  box_->SetZoom(std::clamp(zoom, kMinZoom, kMaxZoom));
  CentreOn(drawing.center());
}

void TDrawingView::BringIntoView(const QRectF& drawing) {
  if (VisibleDrawingRect().contains(drawing)) return;
  const QSize view = viewport()->size();
  const QSizeF shown = QSizeF(view) / Zoom();
  if (drawing.width() > shown.width() || drawing.height() > shown.height()) {
    FitRect(drawing);
    return;
  }
  CentreOn(drawing.center());
}

void TDrawingView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y();
  if (notches == 0) {
    QScrollArea::wheelEvent(event);
    return;
  }
  // 120 is one notch; finer wheels zoom by part of a step.
  const double factor = std::pow(kZoomStep, notches / 120.0);
  SetZoom(Zoom() * factor, event->position().toPoint());
  event->accept();
}

void TDrawingView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QScrollArea::mousePressEvent(event);
    return;
  }
  pressed_ = true;
  dragging_ = false;
  pressAt_ = event->position().toPoint();
  pressScroll_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
  event->accept();
}

void TDrawingView::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) {
    QScrollArea::mouseMoveEvent(event);
    return;
  }
  const QPoint moved = event->position().toPoint() - pressAt_;
  if (!dragging_ && moved.manhattanLength() >= kDragThreshold) {
    dragging_ = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
  }
  if (dragging_) {
    horizontalScrollBar()->setValue(pressScroll_.x() - moved.x());
    verticalScrollBar()->setValue(pressScroll_.y() - moved.y());
  }
  event->accept();
}

void TDrawingView::mouseReleaseEvent(QMouseEvent* event) {
  if (!pressed_ || event->button() != Qt::LeftButton) {
    QScrollArea::mouseReleaseEvent(event);
    return;
  }
  pressed_ = false;
  if (dragging_) {
    dragging_ = false;
    viewport()->unsetCursor();
  } else {
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    Q_EMIT Clicked(box_->ToDrawing(scroll + event->position()));
  }
  event->accept();
}
