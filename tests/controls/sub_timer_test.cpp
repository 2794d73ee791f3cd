#include "controls/sub_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const QLocale kFullStop(QLocale::English, QLocale::UnitedStates);
const QLocale kDecimalComma(QLocale::German, QLocale::Germany);

// A stopwatch read from a clock the test sets by hand.
struct TManualTimer {
  TManualTimer() {
    timer.SetClock([this] { return now; });
    timer.SetCaptionLocale(kFullStop);
  }
  uint64_t now = 0;
  TSubTimer timer;
};

QString CaptionFor(uint64_t total, TResolution resolution) {
  TManualTimer manual;
  manual.timer.SetResolution(resolution);
  manual.now = 1000;
  manual.timer.Start();
  manual.now += total;
  manual.timer.Stop();
  manual.timer.ShowElapsed();
  return manual.timer.Caption();
}

TEST(SubTimer, StartsIdleWithEmptyCaptionInMilliseconds) {
  TSubTimer timer;
  EXPECT_EQ(timer.Resolution(), rsMilliSeconds);
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(timer.Total(), 0u);
  EXPECT_TRUE(timer.Caption().isEmpty());
}

TEST(SubTimer, ShowsTheWorkedTotalInEveryResolution) {
  EXPECT_EQ(CaptionFor(75123456, rsMinutes), QStringLiteral("01:15.123 min"));
  EXPECT_EQ(CaptionFor(75123456, rsSeconds), QStringLiteral("75.123 Sec."));
  EXPECT_EQ(CaptionFor(75123456, rsMilliSeconds), QStringLiteral("75123.456 ms."));
  EXPECT_EQ(CaptionFor(75123456, rsAutoScale), QStringLiteral("01:15.123 min"));
}

TEST(SubTimer, ShowsShortSearchesInMilliseconds) {
  EXPECT_EQ(CaptionFor(12345, rsMilliSeconds), QStringLiteral("12.345 ms."));
  EXPECT_EQ(CaptionFor(0, rsMilliSeconds), QStringLiteral("0.000 ms."));
}

TEST(SubTimer, DropsHoursInMinutes) {
  EXPECT_EQ(CaptionFor((61 * 60 + 2) * 1000000ull, rsMinutes), QStringLiteral("01:02.000 min"));
}

TEST(SubTimer, UsesTheLocaleDecimalSeparatorWithoutGrouping) {
  EXPECT_EQ(TSubTimer::FormatElapsed(75123456, rsMinutes, kDecimalComma), QStringLiteral("01:15,123 min"));
  EXPECT_EQ(TSubTimer::FormatElapsed(75123456, rsSeconds, kDecimalComma), QStringLiteral("75,123 Sec."));
  EXPECT_EQ(TSubTimer::FormatElapsed(75123456, rsMilliSeconds, kDecimalComma), QStringLiteral("75123,456 ms."));
  EXPECT_EQ(TSubTimer::FormatElapsed(75123456, rsAutoScale, kDecimalComma), QStringLiteral("01:15,123 min"));
  EXPECT_EQ(TSubTimer::FormatElapsed(1234567890, rsMilliSeconds, kDecimalComma), QStringLiteral("1234567,890 ms."));

  TManualTimer manual;
  manual.timer.SetCaptionLocale(kDecimalComma);
  manual.timer.Start();
  manual.now = 12345;
  manual.timer.Stop();
  manual.timer.ShowElapsed();
  EXPECT_EQ(manual.timer.Caption(), QStringLiteral("12,345 ms."));
}

TEST(SubTimer, FormatsMinutesAndSecondsWithinTheHour) {
  EXPECT_EQ(TSubTimer::FormatMinSec(75123456, kFullStop), QStringLiteral("01:15.123"));
  EXPECT_EQ(TSubTimer::FormatMinSec(5000000, kFullStop), QStringLiteral("00:05.000"));
  EXPECT_EQ(TSubTimer::FormatMinSec(3723000000ull, kFullStop), QStringLiteral("02:03.000"));
  EXPECT_EQ(TSubTimer::FormatMinSec(0, kFullStop), QStringLiteral("00:00.000"));
  EXPECT_EQ(TSubTimer::FormatMinSec(59999000, kFullStop), QStringLiteral("00:59.999"));
  // Whole days drop out as hours do.
  EXPECT_EQ(TSubTimer::FormatMinSec(86400000000ull + 10000000, kFullStop), QStringLiteral("00:10.000"));
}

TEST(SubTimer, RoundsMinutesAndSecondsToWholeMillisecondsHalvesToEven) {
  EXPECT_EQ(TSubTimer::FormatMinSec(1499, kFullStop), QStringLiteral("00:00.001"));
  EXPECT_EQ(TSubTimer::FormatMinSec(1500, kFullStop), QStringLiteral("00:00.002"));
  EXPECT_EQ(TSubTimer::FormatMinSec(2500, kFullStop), QStringLiteral("00:00.002"));
  EXPECT_EQ(TSubTimer::FormatMinSec(2501, kFullStop), QStringLiteral("00:00.003"));
  EXPECT_EQ(TSubTimer::FormatMinSec(9999600, kFullStop), QStringLiteral("00:10.000"));
}

TEST(SubTimer, RoundsSecondsToThreeDecimals) {
  EXPECT_EQ(TSubTimer::FormatElapsed(1234499, rsSeconds, kFullStop), QStringLiteral("1.234 Sec."));
  EXPECT_EQ(TSubTimer::FormatElapsed(1234500, rsSeconds, kFullStop), QStringLiteral("1.235 Sec."));
  EXPECT_EQ(TSubTimer::FormatElapsed(999, rsSeconds, kFullStop), QStringLiteral("0.001 Sec."));
}

TEST(SubTimer, ScalesAutomaticallyAtOneAndSixtySeconds) {
  EXPECT_EQ(TSubTimer::FormatAutoScale(999999, kFullStop), QStringLiteral("999.999 ms."));
  EXPECT_EQ(TSubTimer::FormatAutoScale(1000000, kFullStop), QStringLiteral("1.000 Sec."));
  EXPECT_EQ(TSubTimer::FormatAutoScale(60000000, kFullStop), QStringLiteral("60.000 Sec."));
  EXPECT_EQ(TSubTimer::FormatAutoScale(60000001, kFullStop), QStringLiteral("01:00.000 min"));
  EXPECT_EQ(CaptionFor(999999, rsAutoScale), QStringLiteral("999.999 ms."));
  EXPECT_EQ(CaptionFor(60000000, rsAutoScale), QStringLiteral("60.000 Sec."));
}

TEST(SubTimer, SecondStartKeepsTheFirstStamp) {
  TManualTimer manual;
  manual.now = 100;
  manual.timer.Start();
  manual.now = 400;
  manual.timer.Start();
  EXPECT_EQ(manual.timer.StartStamp(), 100u);
  manual.now = 1100;
  manual.timer.Stop();
  EXPECT_EQ(manual.timer.Total(), 1000u);
  EXPECT_FALSE(manual.timer.Running());
}

TEST(SubTimer, StoppingTwiceCountsFromTheStartBothTimes) {
  TManualTimer manual;
  manual.now = 100;
  manual.timer.Start();
  manual.now = 300;
  manual.timer.Stop();
  manual.now = 700;
  manual.timer.Stop();
  EXPECT_EQ(manual.timer.Total(), 200u + 600u);
}

TEST(SubTimer, AddsSeveralMeasurementsUntilReset) {
  TManualTimer manual;
  manual.timer.Start();
  manual.now = 5000;
  manual.timer.Stop();
  manual.now = 9000;
  manual.timer.Start();
  manual.now = 10000;
  manual.timer.Stop();
  EXPECT_EQ(manual.timer.Total(), 6000u);
  manual.timer.ShowElapsed();
  EXPECT_EQ(manual.timer.Caption(), QStringLiteral("6.000 ms."));

  manual.timer.Start();
  manual.timer.Reset();
  EXPECT_EQ(manual.timer.Total(), 0u);
  EXPECT_EQ(manual.timer.StartStamp(), 0u);
  EXPECT_FALSE(manual.timer.Running());
  // The caption keeps the last reading until the next ShowElapsed.
  EXPECT_EQ(manual.timer.Caption(), QStringLiteral("6.000 ms."));
}

TEST(SubTimer, ShowsMeasurementsOfSeventyOneMinutesAndMoreAsTheyAre) {
  EXPECT_EQ(CaptionFor(4294967296ull, rsMilliSeconds), QStringLiteral("4294967.296 ms."));
  EXPECT_EQ(CaptionFor(4294967296ull, rsSeconds), QStringLiteral("4294.967 Sec."));

  TManualTimer manual;
  manual.now = 4294967000ull;  // the clock passes 2^32 microseconds during the measurement
  manual.timer.Start();
  manual.now += 5000000000ull;
  manual.timer.Stop();
  EXPECT_EQ(manual.timer.Total(), 5000000000ull);
}

TEST(SubTimer, ReadsTheSteadyClockInMicroseconds) {
  const uint64_t before = MicrosecondCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const uint64_t after = MicrosecondCount();
  EXPECT_GE(after - before, 20000u);
  EXPECT_LT(after - before, 20000000u);

  TSubTimer timer;
  timer.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  timer.Stop();
  EXPECT_GE(timer.Total(), 5000u);
}

}  // namespace
