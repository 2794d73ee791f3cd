#include "controls/up_down_button.h"

#include <QKeyEvent>

#include "controls/auto_button.h"

namespace {

constexpr int kMinimumWidth = 15;

// Whether the widget may take the keyboard focus now.
bool CanFocus(const QWidget* widget) {
  return widget->isEnabled() && widget->isVisible() && widget->focusPolicy() != Qt::NoFocus;
}

bool IsTabStop(const QWidget* widget) { return (widget->focusPolicy() & Qt::TabFocus) != 0; }

}  // namespace

TUpDownButton::TUpDownButton(QWidget* parent)
    : QWidget(parent), upButton(new TArrowButton(this)), downButton(new TArrowButton(this)), focusedButton(upButton) {
  setFocusPolicy(Qt::ClickFocus);
  setMinimumWidth(kMinimumWidth);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(true);
  upButton->SetUpArrow(true);
  for (TArrowButton* arrow : {upButton, downButton}) {
    arrow->SetDoRepeat(true);
    connect(arrow, &TArrowButton::pressed, this, [this, arrow] { ArrowPressed(arrow); });
  }
  connect(upButton, &TArrowButton::clicked, this, &TUpDownButton::OnUpClick);
  connect(downButton, &TArrowButton::clicked, this, &TUpDownButton::OnDownClick);
  resize(17, 23);
  LayoutArrows();
}

bool TUpDownButton::TabStop() const { return IsTabStop(this); }

void TUpDownButton::SetTabStop(bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); }

void TUpDownButton::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutArrows();
}

void TUpDownButton::LayoutArrows() {
  const int w = std::max(width(), kMinimumWidth);
  const int h = height();
  if (w != width()) resize(w, h);
  upButton->setGeometry(0, 0, w, h / 2);
  // The halves share one pixel row.
  downButton->setGeometry(0, upButton->height() - 1, w, h - upButton->height() + 1);
}

void TUpDownButton::ArrowPressed(TArrowButton* arrow) {
  if (TabStop() && CanFocus(this)) SetFocusedButton(arrow);
  if (focusControl != nullptr && IsTabStop(focusControl) && CanFocus(focusControl) && !focusControl->hasFocus()) {
    focusControl->setFocus(Qt::OtherFocusReason);
  } else if (TabStop() && !hasFocus() && CanFocus(this)) {
    setFocus(Qt::OtherFocusReason);
  }
}

void TUpDownButton::SetFocusedButton(TArrowButton* arrow) {
  if (arrow == focusedButton) return;
  focusedButton->SetFocused(false);
  focusedButton = arrow;
  if (hasFocus()) focusedButton->SetFocused(true);
}

// A key click raises the arrow's event without a press, so the focus stays here.
void TUpDownButton::ClickArrow(TArrowButton* arrow) {
  if (!arrow->isEnabled()) return;
  if (arrow == upButton) {
    Q_EMIT OnUpClick();
  } else {
    Q_EMIT OnDownClick();
  }
}

void TUpDownButton::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
      ClickArrow(focusedButton);
      break;
    case Qt::Key_Up:
      SetFocusedButton(upButton);
      ClickArrow(upButton);
      break;
    case Qt::Key_Down:
      SetFocusedButton(downButton);
      ClickArrow(downButton);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TUpDownButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  focusedButton->SetFocused(true);
}

void TUpDownButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  focusedButton->SetFocused(false);
}
