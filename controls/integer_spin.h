#pragma once
// The spin edit for whole numbers: every numeric input of the windows.

#include <cstdint>
#include <functional>

#include "controls/custom_spin.h"

// Shows a 64-bit signed integer that the arrows and the Up/Down keys step by
// Increment. The value is not stored apart from the text: reading Value parses
// the text each time (falling back to the last good value), writing it rewrites
// the text. With UseLimit on, values are held within MinValue .. MaxValue.
class TIntegerSpin final : public TCustomSpin {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TIntegerSpin)

 public:
  using TIncrementHandler = std::function<void(bool inc, int64_t& value)>;

  explicit TIntegerSpin(QWidget* parent = nullptr);

  // The limited value of the text, or LastValue when the text is no 64-bit integer.
  int64_t Value();
  // Remembers v as LastValue and shows the limited v; raises Change if the text changes.
  void SetValue(int64_t v);
  // Writes the value without raising Change.
  void SetValueSilently(int64_t v);
  // The last value written, or the last good value read from the text.
  int64_t LastValue() const { return lastValue; }

  int64_t MinValue() const { return minValue; }
  void SetMinValue(int64_t v) { minValue = v; }
  int64_t MaxValue() const { return maxValue; }
  void SetMaxValue(int64_t v) { maxValue = v; }
  int64_t Increment() const { return increment; }
  void SetIncrement(int64_t v) { increment = v; }

  // When on, a step asks the OnIncrement handler for the new value instead of adding Increment.
  bool OwnerIncrement() const { return ownerIncrement; }
  void SetOwnerIncrement(bool on) { ownerIncrement = on; }
  void SetOnIncrement(TIncrementHandler handler) { onIncrement = std::move(handler); }

  // The limit rule; raises Wrapped when the value wraps.
  int64_t CheckValue(int64_t v);

  // One step up or down; a read-only spin beeps instead.
  virtual void StepUp();
  // Whether a typed character may reach the text.
  virtual bool AcceptsChar(QChar key) const;
  virtual void StepDown();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void DoIncrement(bool inc);

  int64_t increment = 1;
  int64_t minValue = 0;
  int64_t maxValue = 0;
  int64_t lastValue = 0;
  bool ownerIncrement = false;
  TIncrementHandler onIncrement;
};
