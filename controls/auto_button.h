#pragma once
// Flat push buttons that keep clicking while held: the auto-repeat button and
// the arrow button of the spin edits.

#include <QAbstractButton>
#include <QPolygon>

class QTimer;

// A flat button that shows itself pressed while the left mouse button holds it
// over the button and clicks on release over it. With DoRepeat on, holding it
// clicks again after InitialDelay and then every RepeatDelay milliseconds, but
// only while the pointer is over it; the release adds the usual click.
class TAutoButton : public QAbstractButton {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TAutoButton)

 public:
  explicit TAutoButton(QWidget* parent = nullptr);
  ~TAutoButton() override;

  bool DoRepeat() const { return doRepeat; }
  void SetDoRepeat(bool on) { doRepeat = on; }
  int InitialDelay() const { return initialDelay; }
  void SetInitialDelay(int milliseconds) { initialDelay = milliseconds; }
  int RepeatDelay() const { return repeatDelay; }
  void SetRepeatDelay(int milliseconds) { repeatDelay = milliseconds; }

  // Whether the repeat timer runs (from a press with DoRepeat on to the release).
  bool Repeating() const;

  QSize sizeHint() const override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // Draws the flat button face, sunken while the button is shown pressed.
  void PaintFace(QPainter& painter);
  // One tick of the repeat timer: clicks while the left button holds the button
  // under the pointer; a click that fails stops the repeating and passes the failure on.
  void RepeatTimerFired();

 private:
  bool doRepeat = false;
  int initialDelay = 400;
  int repeatDelay = 100;
  bool leftHeld = false;  // the left button went down on this button and is not yet released
  QTimer* repeatTimer = nullptr;
};

// An auto-repeat button that draws an up or a down triangle, black when enabled
// and grey when disabled, with a dotted focus rectangle when Focused.
class TArrowButton final : public TAutoButton {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TArrowButton)

 public:
  explicit TArrowButton(QWidget* parent = nullptr);

  bool UpArrow() const { return upArrow; }
  void SetUpArrow(bool up);
  bool Focused() const { return focused; }
  void SetFocused(bool on);

  // Corners of the triangle drawn on a button of the given size.
  static QPolygon ArrowCorners(QSize size, bool up);
  // Colour of the triangle: black when enabled, grey (128, 128, 128) when not.
  QColor ArrowColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool upArrow = false;
  bool focused = false;
};
