#include "tests/controls/hold_button.h"

#include <QTest>
#include <algorithm>

bool ProcessEventsUntil(qint64 milliseconds, const QElapsedTimer& clock) {
  qint64 last = clock.elapsed();
  qint64 longestStall = 0;
  while (clock.elapsed() < milliseconds) {
    QTest::qWait(static_cast<int>(std::clamp<qint64>(milliseconds - clock.elapsed(), 1, 5)));
    const qint64 now = clock.elapsed();
    longestStall = std::max(longestStall, now - last);
    last = now;
  }
  return longestStall <= 30;
}

bool HoldButton(QWidget* widget, Qt::MouseButton button, qint64 milliseconds, const QElapsedTimer& clock,
                QPoint position) {
  QTest::mousePress(widget, button, {}, position);
  const bool clean = ProcessEventsUntil(milliseconds, clock);
  QTest::mouseRelease(widget, button, {}, position);
  return clean;
}

bool RetryUntilClean(const std::function<bool()>& attempt) {
  for (int i = 0; i < 5; ++i) {
    if (attempt()) return true;
  }
  return false;
}
