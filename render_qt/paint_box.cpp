#include "render_qt/paint_box.h"

#include <QPaintEvent>
#include <QPainter>

#include "render_qt/qt_canvas.h"

TPaintBox::TPaintBox(TPainterFunction painter, QWidget* parent) : QWidget(parent), painter_(std::move(painter)) {
  // Areas the renderer leaves undrawn (the loop view without loops) show the
  // scroll area's own background.
  setAutoFillBackground(false);
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  // Scrolling a large drawing repaints a strip at a time; only what reaches
  // that strip is drawn.
  const QRect part = event->rect() & rect();
  QPainter painter(this);
  painter.setClipRect(part);
  TQtCanvas canvas(painter, part);
  painter_(canvas, canvas.ClipRect());
}
