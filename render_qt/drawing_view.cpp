#include "render_qt/drawing_view.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "render/scale_bar.h"
#include "render_qt/paint_box.h"

namespace {

constexpr int kScaleBarMaxPixels = 150;
constexpr int kCornerMargin = 10;

// The scale bar, in the view's bottom left corner; it stays where it is
// while the drawing scrolls beneath. Kept small, so that redrawing it
// redraws only a little of the drawing under it.
class TScaleBarBox final : public QWidget {
 public:
  TScaleBarBox(const TDrawingView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("ScaleBar"));
    setFixedSize(kScaleBarMaxPixels + 12, QFontMetrics(font()).height() + 16);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const TScaleBar bar = RoundScaleBar(view_.MetresPerUnit() / view_.Zoom(), kScaleBarMaxPixels);
    if (bar.Metres <= 0) return;
    QPainter painter(this);
    const QString label = QString::fromStdString(ScaleBarText(bar.Metres));
    const QFontMetrics metrics(font());
    const int barPixels = static_cast<int>(std::lround(bar.Pixels));
    painter.fillRect(QRect(0, 0, std::max(barPixels, metrics.horizontalAdvance(label)) + 12, height()),
                     QColor(255, 255, 255, 200));
    painter.setPen(QPen(Qt::black, 2));
    const int y = height() - 6;
    const int left = 6;
    painter.drawLine(left, y, left + barPixels, y);
    painter.drawLine(left, y - 4, left, y + 2);
    painter.drawLine(left + barPixels, y - 4, left + barPixels, y + 2);
    painter.drawText(QPoint(left, y - 6), label);
  }

 private:
  const TDrawingView& view_;
};

// The north arrow, in the view's top right corner: the plan view is drawn north up.
class TNorthArrowBox final : public QWidget {
 public:
  explicit TNorthArrowBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("NorthArrow"));
    setFixedSize(24, 26 + QFontMetrics(font()).height());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 255, 255, 200));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    const QPoint tip(width() / 2, 3);
    painter.drawPolygon(QPolygon({tip, tip + QPoint(-7, 20), tip + QPoint(7, 20)}));
    painter.drawText(QRect(0, 24, width(), height() - 24), Qt::AlignCenter, QStringLiteral("N"));
  }
};

}  // namespace

TDrawingView::TDrawingView(TPaintBox* box, QWidget* parent) : QScrollArea(parent), box_(box) {
  setWidgetResizable(false);
  setWidget(box);
  scaleBar_ = new TScaleBarBox(*this, viewport());
  northArrow_ = new TNorthArrowBox(viewport());
  PlaceCorners();
}

void TDrawingView::PlaceCorners() {
  const QRect view = viewport()->rect();
  scaleBar_->move(kCornerMargin, view.height() - kCornerMargin - scaleBar_->height());
  northArrow_->move(view.width() - kCornerMargin - northArrow_->width(), kCornerMargin);
  for (QWidget* corner : {scaleBar_, northArrow_}) {
    corner->setVisible(metresPerUnit_ > 0);
    corner->raise();
  }
}

void TDrawingView::SetMetresPerUnit(double metres) {
  metresPerUnit_ = metres > 0 && std::isfinite(metres) ? metres : 0;
  PlaceCorners();
  scaleBar_->update();
}

void TDrawingView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  PlaceCorners();
}

void TDrawingView::scrollContentsBy(int dx, int dy) {
  QScrollArea::scrollContentsBy(dx, dy);
  // Scrolling moves the viewport's pixels, the corners' too: they are drawn anew.
  if (metresPerUnit_ > 0) {
    scaleBar_->update();
    northArrow_->update();
  }
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
  scaleBar_->update();
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
  scaleBar_->update();
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
