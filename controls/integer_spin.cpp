#include "controls/integer_spin.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>

#include "controls/beep.h"
#include "controls/integer_text.h"
#include "controls/up_down_button.h"

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

// Restores BlockChangeEvent however the write ends.
class TChangeEventBlock {
 public:
  explicit TChangeEventBlock(TCustomSpin& spin) : spin(spin), before(spin.BlockChangeEvent()) {
    spin.SetBlockChangeEvent(true);
  }
  ~TChangeEventBlock() { spin.SetBlockChangeEvent(before); }
  TChangeEventBlock(const TChangeEventBlock&) = delete;
  TChangeEventBlock& operator=(const TChangeEventBlock&) = delete;

 private:
  TCustomSpin& spin;
  bool before;
};

// With Ctrl held a letter types its control character (Ctrl+V is 22), whichever
// way the platform reports the key.
QChar TypedCharacter(QChar key, Qt::KeyboardModifiers modifiers) {
  const char16_t code = key.unicode();
  const bool letter = (code >= u'a' && code <= u'z') || (code >= u'A' && code <= u'Z');
  if ((modifiers & Qt::ControlModifier) && letter) return QChar(static_cast<char16_t>(code & 0x1F));
  return key;
}

}  // namespace

TIntegerSpin::TIntegerSpin(QWidget* parent) : TCustomSpin(parent) {
  connect(UpDownButton(), &TUpDownButton::OnUpClick, this, &TIntegerSpin::StepUp);
  connect(UpDownButton(), &TUpDownButton::OnDownClick, this, &TIntegerSpin::StepDown);
  lastValue = Value();
}

int64_t TIntegerSpin::Value() {
  const std::optional<int64_t> parsed = ParseInteger64(Text().toStdString());
  if (parsed) lastValue = CheckValue(*parsed);
  return lastValue;
}

void TIntegerSpin::SetValue(int64_t v) {
  lastValue = v;
  SetText(QString::number(CheckValue(v)));
}

void TIntegerSpin::SetValueSilently(int64_t v) {
  TChangeEventBlock block(*this);
  SetValue(v);
}

int64_t TIntegerSpin::CheckValue(int64_t v) {
  if (!UseLimit()) return v;
  const TLimitResult limited = LimitValue(v, minValue, maxValue, Wrap());
  if (limited.WrappedDown) Q_EMIT Wrapped(0);
  if (limited.WrappedUp) Q_EMIT Wrapped(1);
  return limited.Value;
}

void TIntegerSpin::StepUp() {
  if (isReadOnly()) {
    Beep();
  } else if (ownerIncrement) {
    DoIncrement(true);
  } else {
    SetValue(WrappingAdd(Value(), increment));
  }
}

void TIntegerSpin::StepDown() {
  if (isReadOnly()) {
    Beep();
  } else if (ownerIncrement) {
    DoIncrement(false);
  } else {
    SetValue(WrappingSubtract(Value(), increment));
  }
}

void TIntegerSpin::DoIncrement(bool inc) {
  int64_t v = Value();
  if (onIncrement) onIncrement(inc, v);
  SetValue(v);
}

bool TIntegerSpin::AcceptsChar(QChar key) const {
  const char16_t code = key.unicode();
  const QString decimalPoint = QLocale().decimalPoint();
  bool accepted = (code >= u'0' && code <= u'9') || code == u'+' || code == u'-' ||
                  (decimalPoint.size() == 1 && key == decimalPoint.front()) || (code < 32 && code != kEnter);
  if (accepted && !EditorEnabled()) accepted = code < 32 && code != kBackspace;
  return accepted;
}

void TIntegerSpin::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    StepUp();
  } else if (event->key() == Qt::Key_Down) {
    StepDown();
  }
  // Delete is a key, not a typed character; every other key that types text passes the filter.
  if (event->key() != Qt::Key_Delete) {
    for (const QChar key : event->text()) {
      if (!AcceptsChar(TypedCharacter(key, event->modifiers()))) {
        Beep();
        // Enter never reaches the text but still presses a dialog's default button.
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        event->setAccepted(!enter);
        return;
      }
    }
  }
  TCustomSpin::keyPressEvent(event);
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) event->accept();
}

void TIntegerSpin::focusOutEvent(QFocusEvent* event) {
  TCustomSpin::focusOutEvent(event);
  // A menu or another window taking the focus does not leave the spin.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  if (Text().isEmpty()) SetValue(lastValue);
  SetValue(Value());
}
