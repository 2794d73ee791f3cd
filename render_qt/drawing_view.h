#pragma once
// TDrawingView: the scroll area around the drawing area, with zoom and pan.
// The mouse wheel zooms about the pointer, dragging pans, and a click that
// does not drag is reported with the point it hit in drawing units. Zoom 1
// shows the drawing as specified, one unit a pixel.

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QScrollArea>

class TPaintBox;

class TDrawingView final : public QScrollArea {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDrawingView)

 public:
  static constexpr double kMinZoom = 1.0 / 256;
  static constexpr double kMaxZoom = 32;
  static constexpr double kZoomStep = 1.25;  // one wheel notch, one Zoom In
  // A press that moves less than this many pixels before its release is a click.
  static constexpr int kDragThreshold = 4;

  // Takes the drawing area as its widget.
  explicit TDrawingView(TPaintBox* box, QWidget* parent = nullptr);

  TPaintBox* Box() const { return box_; }
  double Zoom() const;
  // Sets the zoom (held within kMinZoom .. kMaxZoom) so that the drawing
  // point under viewport pixel `anchor` stays under it.
  void SetZoom(double zoom, QPoint anchor);
  // One step in or out about the middle of the view; zoom 1 about the middle.
  void ZoomIn();
  void ZoomOut();
  void ActualSize();
  // Zooms so that `drawing` (in drawing units) fills the view, and centres it.
  void FitRect(const QRectF& drawing);
  // Centres `drawing` unless it is wholly in view already; zooms out first
  // when it does not fit the view at the zoom it has.
  void BringIntoView(const QRectF& drawing);
  // The part of the drawing in view, in drawing units.
  QRectF VisibleDrawingRect() const;
  // Scrolls so that drawing point `point` is at the middle of the view.
  void CentreOn(QPointF point);
  // A survey's drawing: how many metres a drawing unit stands for, for the
  // scale bar and north arrow in the view's corners; 0 shows neither.
  void SetMetresPerUnit(double metres);
  double MetresPerUnit() const { return metresPerUnit_; }

 Q_SIGNALS:
  // A click (press and release without dragging) at a point of the drawing.
  void Clicked(QPointF drawing);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  // Keeps the scale bar and the north arrow in their corners, shown for a survey only.
  void PlaceCorners();
  // Sets both scroll bars so that the widget's pixel `pixel` is at viewport pixel `at`.
  void ScrollPixelTo(QPointF pixel, QPoint at);

  TPaintBox* box_;
  QWidget* scaleBar_;    // in the bottom left corner, over the drawing
  QWidget* northArrow_;  // in the top right corner
  double metresPerUnit_ = 0;
  QPoint pressAt_;
  QPoint pressScroll_;
  bool pressed_ = false;
  bool dragging_ = false;
};
