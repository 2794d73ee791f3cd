#pragma once
// The elapsed-time panel: a stopwatch that shows its reading as its caption.

#include <QLabel>
#include <QLocale>
#include <cstdint>
#include <functional>

enum TResolution { rsMinutes, rsSeconds, rsMilliSeconds, rsAutoScale };

// Microseconds of the steady clock, read anew at every call.
uint64_t MicrosecondCount();

// A stopwatch panel: Reset, Start, the timed work, Stop, ShowElapsed. Several
// Start/Stop pairs add up; the caption changes only in ShowElapsed. The stamp
// and the total are 64-bit microseconds, so long measurements never wrap.
class TSubTimer final : public QLabel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSubTimer)

 public:
  using TClock = std::function<uint64_t()>;

  explicit TSubTimer(QWidget* parent = nullptr);

  // Clears the stamp and the total and stops; the caption stays.
  void Reset();
  // Takes the stamp unless already running; a second Start keeps the first stamp.
  void Start();
  // Adds the time since the stamp to the total and stops; stopping twice adds it twice.
  void Stop();
  // Adds a duration measured elsewhere (a search on another thread) to the total.
  void Add(uint64_t microseconds) { total += microseconds; }
  // Shows the total as the caption, formatted by Resolution.
  void ShowElapsed();

  QString Caption() const { return text(); }
  TResolution Resolution() const { return resolution; }
  void SetResolution(TResolution value) { resolution = value; }
  bool Running() const { return running; }
  uint64_t StartStamp() const { return startStamp; }
  uint64_t Total() const { return total; }
  // The locale whose decimal separator the caption uses (the user's after creation).
  void SetCaptionLocale(const QLocale& value) { captionLocale = value; }
  // The clock read by Start and Stop (MicrosecondCount after creation).
  void SetClock(TClock clock) { readClock = std::move(clock); }

  // The caption of a total in the given resolution.
  static QString FormatElapsed(uint64_t microseconds, TResolution resolution, const QLocale& locale = QLocale());
  // Minutes within the hour and seconds with three decimals: "01:15.123".
  static QString FormatMinSec(uint64_t microseconds, const QLocale& locale = QLocale());
  // Milliseconds below 1 second, seconds up to 60 seconds, minutes above.
  static QString FormatAutoScale(uint64_t microseconds, const QLocale& locale = QLocale());

 private:
  TResolution resolution = rsMilliSeconds;
  bool running = false;
  uint64_t startStamp = 0;
  uint64_t total = 0;
  QLocale captionLocale;
  TClock readClock;
};
