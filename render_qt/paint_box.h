#pragma once
// TPaintBox: the drawing area. It has no picture of its own: every repaint
// hands a canvas over the widget to the painter it was given, together with
// the part of the area being repainted (the canvas's clip rectangle).

#include <QWidget>
#include <functional>

class TCanvas;
struct TRect;

class TPaintBox final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TPaintBox)

 public:
  using TPainterFunction = std::function<void(TCanvas& canvas, const TRect& visible)>;

  explicit TPaintBox(TPainterFunction painter, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TPainterFunction painter_;
};
