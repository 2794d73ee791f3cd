#include "controls/auto_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>

TAutoButton::TAutoButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  // A right press must not open a menu that would swallow the release and leave the timer running.
  setContextMenuPolicy(Qt::PreventContextMenu);
}

TAutoButton::~TAutoButton() = default;

bool TAutoButton::Repeating() const { return repeatTimer != nullptr && repeatTimer->isActive(); }

QSize TAutoButton::sizeHint() const { return {23, 22}; }

void TAutoButton::mousePressEvent(QMouseEvent* event) {
  QAbstractButton::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) leftHeld = isDown();
  // Any mouse button starts the timer; it only clicks while the left one holds the button.
  if (doRepeat) {
    if (repeatTimer == nullptr) {
      repeatTimer = new QTimer(this);
      // A coarse timer fires its first repeat several milliseconds early.
      repeatTimer->setTimerType(Qt::PreciseTimer);
      connect(repeatTimer, &QTimer::timeout, this, &TAutoButton::RepeatTimerFired);
    }
    repeatTimer->start(initialDelay);
  }
  // Keep the press, whatever the button, so that its release comes back here and stops the timer.
  event->accept();
}

void TAutoButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftHeld = false;
  // The base class clicks once more when the pointer is still over the button.
  QAbstractButton::mouseReleaseEvent(event);
  if (repeatTimer != nullptr) repeatTimer->stop();
  event->accept();
}

void TAutoButton::RepeatTimerFired() {
  repeatTimer->setInterval(repeatDelay);
  if (!isDown() || !leftHeld) return;
  try {
    Q_EMIT clicked(false);
  } catch (...) {
    repeatTimer->stop();
    throw;
  }
}

void TAutoButton::PaintFace(QPainter& painter) {
  QStyleOptionToolButton option;
  option.initFrom(this);
  option.features = QStyleOptionToolButton::None;
  option.subControls = QStyle::SC_ToolButton;
  option.activeSubControls = isDown() ? QStyle::SC_ToolButton : QStyle::SC_None;
  option.state |= QStyle::State_AutoRaise;
  option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
  style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, this);
}

void TAutoButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintFace(painter);
}

TArrowButton::TArrowButton(QWidget* parent) : TAutoButton(parent) {}

void TArrowButton::SetUpArrow(bool up) {
  if (up == upArrow) return;
  upArrow = up;
  update();
}

void TArrowButton::SetFocused(bool on) {
  if (on == focused) return;
  focused = on;
  update();
}

QPolygon TArrowButton::ArrowCorners(QSize size, bool up) {
  const int x0 = (size.width() - 7) / 2;
  const int y = (size.height() - 3) / 2;
  if (up) return QPolygon({QPoint(x0, y + 2), QPoint(x0 + 6, y + 2), QPoint(x0 + 3, y - 1)});
  return QPolygon({QPoint(x0, y), QPoint(x0 + 6, y), QPoint(x0 + 3, y + 3)});
}

QColor TArrowButton::ArrowColor() const { return isEnabled() ? QColor(0, 0, 0) : QColor(128, 128, 128); }

void TArrowButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintFace(painter);
  // The triangle stays where it is while the button is pressed.
  const QColor colour = ArrowColor();
  painter.setPen(colour);
  painter.setBrush(colour);
  painter.drawPolygon(ArrowCorners(size(), upArrow));
  if (focused) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(3, 3, -3, -3);
    option.backgroundColor = Qt::white;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}
