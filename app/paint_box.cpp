#include "app/paint_box.h"

#include <QPaintEvent>
#include <QPainter>

#include "draw/qt_canvas.h"

TPaintBox::TPaintBox(TPainterFunction painter, QWidget* parent) : QWidget(parent), painter_(std::move(painter)) {
  // Areas the renderer leaves undrawn (the loop view without loops) show the
  // scroll area's own background.
  setAutoFillBackground(false);
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRect(event->rect());
  TQtCanvas canvas(painter);
  painter_(canvas);
}
