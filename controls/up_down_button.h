#pragma once
// A pair of auto-repeat arrow buttons stacked on top of each other, as used at
// the right edge of the spin edits.

#include <QPointer>
#include <QWidget>

class TArrowButton;

// Up arrow above, down arrow below, the halves overlapping by one pixel; never
// narrower than 15 pixels. A click of an arrow raises OnUpClick or OnDownClick;
// pressing an arrow moves the keyboard focus to FocusControl.
class TUpDownButton final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TUpDownButton)

 public:
  explicit TUpDownButton(QWidget* parent = nullptr);

  TArrowButton* UpButton() const { return upButton; }
  TArrowButton* DownButton() const { return downButton; }
  // The arrow that shows the focus rectangle while this control has the focus.
  TArrowButton* FocusedButton() const { return focusedButton; }

  QWidget* FocusControl() const { return focusControl; }
  void SetFocusControl(QWidget* control) { focusControl = control; }

  // Whether the control takes the focus by the Tab key (off after creation).
  bool TabStop() const;
  void SetTabStop(bool on);

  QSize sizeHint() const override { return {17, 23}; }

 Q_SIGNALS:
  void OnUpClick();
  void OnDownClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void LayoutArrows();
  void ArrowPressed(TArrowButton* arrow);
  void SetFocusedButton(TArrowButton* arrow);
  void ClickArrow(TArrowButton* arrow);

  TArrowButton* upButton;
  TArrowButton* downButton;
  TArrowButton* focusedButton;
  QPointer<QWidget> focusControl;
};
