#include "controls/sub_timer.h"

#include <chrono>

namespace {

constexpr uint64_t kMicrosecondsPerMillisecond = 1000;
constexpr uint64_t kMicrosecondsPerSecond = 1000000;
constexpr uint64_t kMillisecondsPerDay = 86400000;

// Text of units / 1000 with exactly three decimals, the locale's decimal
// separator and no thousands separators.
QString FixedThousandths(uint64_t thousandths, const QLocale& locale) {
  return QString::number(thousandths / 1000) + locale.decimalPoint() +
         QStringLiteral("%1").arg(thousandths % 1000, 3, 10, QLatin1Char('0'));
}

// Divides by 1000, rounding halves away from zero, as fixed notation rounds.
uint64_t RoundedThousandth(uint64_t value) { return value / 1000 + (value % 1000 >= 500 ? 1 : 0); }

QString ZeroPad(uint64_t value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

}  // namespace

uint64_t MicrosecondCount() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(sinceStart).count());
}

TSubTimer::TSubTimer(QWidget* parent) : QLabel(parent), readClock(MicrosecondCount) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAlignment(Qt::AlignCenter);
  setTextFormat(Qt::PlainText);
}

void TSubTimer::Reset() {
  startStamp = 0;
  total = 0;
  running = false;
}

void TSubTimer::Start() {
  if (!running) startStamp = readClock();
  running = true;
}

void TSubTimer::Stop() {
  total += readClock() - startStamp;
  running = false;
}

void TSubTimer::ShowElapsed() { setText(FormatElapsed(total, resolution, captionLocale)); }

QString TSubTimer::FormatElapsed(uint64_t microseconds, TResolution resolution, const QLocale& locale) {
  switch (resolution) {
    case rsMinutes:
      return FormatMinSec(microseconds, locale) + QStringLiteral(" min");
    case rsSeconds:
      return FixedThousandths(RoundedThousandth(microseconds), locale) + QStringLiteral(" Sec.");
    case rsMilliSeconds:
      return FixedThousandths(microseconds, locale) + QStringLiteral(" ms.");
    case rsAutoScale:
      break;
  }
  return FormatAutoScale(microseconds, locale);
}

QString TSubTimer::FormatMinSec(uint64_t microseconds, const QLocale& locale) {
  // Whole milliseconds, halves to even; whole days and hours are dropped.
  uint64_t milliseconds = microseconds / kMicrosecondsPerMillisecond;
  const uint64_t rest = microseconds % kMicrosecondsPerMillisecond;
  if (rest > 500 || (rest == 500 && milliseconds % 2 == 1)) ++milliseconds;
  milliseconds %= kMillisecondsPerDay;
  const uint64_t minutes = milliseconds / 60000 % 60;
  const uint64_t secondsInThousandths = milliseconds % 60000;
  const QString seconds = FixedThousandths(secondsInThousandths, locale);
  const QString secondsText = secondsInThousandths < 10000 ? QStringLiteral("0") + seconds : seconds;
  return ZeroPad(minutes, 2) + QStringLiteral(":") + secondsText;
}

QString TSubTimer::FormatAutoScale(uint64_t microseconds, const QLocale& locale) {
  if (microseconds < kMicrosecondsPerSecond) return FormatElapsed(microseconds, rsMilliSeconds, locale);
  if (microseconds > 60 * kMicrosecondsPerSecond) return FormatElapsed(microseconds, rsMinutes, locale);
  return FormatElapsed(microseconds, rsSeconds, locale);
}
