#include "controls/auto_button.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>
#include <vector>

#include "controls/up_down_button.h"
#include "tests/controls/hold_button.h"

namespace {

using testing::ElementsAre;

// Records when each click of a button happens, in milliseconds after the press.
struct TClickLog {
  explicit TClickLog(TAutoButton& button) {
    QObject::connect(&button, &TAutoButton::clicked, &button, [this] { times.push_back(clock.elapsed()); });
  }
  std::vector<qint64> times;
  QElapsedTimer clock;
};

struct TShownArrow {
  TShownArrow() {
    arrow.SetDoRepeat(true);
    arrow.resize(20, 12);
    arrow.show();
  }
  TArrowButton arrow;
};

TEST(AutoButton, StartsWithoutRepeatAndTheUsualDelays) {
  TAutoButton button;
  EXPECT_FALSE(button.DoRepeat());
  EXPECT_EQ(button.InitialDelay(), 400);
  EXPECT_EQ(button.RepeatDelay(), 100);
  EXPECT_FALSE(button.Repeating());
}

TEST(AutoButton, QuickClickClicksOnceOnRelease) {
  TShownArrow shown;
  TClickLog log(shown.arrow);
  QTest::mousePress(&shown.arrow, Qt::LeftButton);
  EXPECT_TRUE(shown.arrow.Repeating());
  EXPECT_TRUE(log.times.empty());
  QTest::mouseRelease(&shown.arrow, Qt::LeftButton);
  EXPECT_EQ(log.times.size(), 1u);
  EXPECT_FALSE(shown.arrow.Repeating());
  QTest::qWait(500);
  EXPECT_EQ(log.times.size(), 1u);
}

TEST(AutoButton, HoldingRepeatsAfterTheInitialDelayThenEveryRepeatDelayAndOnceOnRelease) {
  TShownArrow shown;
  TClickLog log(shown.arrow);
  ASSERT_TRUE(RetryUntilClean([&] {
    log.times.clear();
    log.clock.start();
    return HoldButton(&shown.arrow, Qt::LeftButton, 950, log.clock);
  })) << "the machine was too busy for a clean hold";
  // Repeats near 400, 500, ..., 900 ms, then the release.
  ASSERT_EQ(log.times.size(), 7u);
  EXPECT_GE(log.times[0], 400);
  EXPECT_LT(log.times[0], 450);
  for (std::size_t i = 1; i < 6; ++i) EXPECT_GE(log.times[i] - log.times[i - 1], 95) << i;
  EXPECT_GE(log.times[6], 950);
}

TEST(AutoButton, WithoutRepeatHoldingClicksOnlyOnRelease) {
  TShownArrow shown;
  shown.arrow.SetDoRepeat(false);
  TClickLog log(shown.arrow);
  log.clock.start();
  QTest::mousePress(&shown.arrow, Qt::LeftButton);
  EXPECT_FALSE(shown.arrow.Repeating());
  ProcessEventsUntil(550, log.clock);
  QTest::mouseRelease(&shown.arrow, Qt::LeftButton);
  EXPECT_EQ(log.times.size(), 1u);
}

TEST(AutoButton, RightButtonNeverClicks) {
  TShownArrow shown;
  TClickLog log(shown.arrow);
  log.clock.start();
  QTest::mousePress(&shown.arrow, Qt::RightButton);
  EXPECT_TRUE(shown.arrow.Repeating());
  ProcessEventsUntil(650, log.clock);
  QTest::mouseRelease(&shown.arrow, Qt::RightButton);
  EXPECT_TRUE(log.times.empty());
  EXPECT_FALSE(shown.arrow.Repeating());
}

TEST(AutoButton, DoesNotClickWhileThePointerIsOffTheButton) {
  TShownArrow shown;
  TClickLog log(shown.arrow);
  std::size_t repeats = 0;
  ASSERT_TRUE(RetryUntilClean([&] {
    log.times.clear();
    log.clock.start();
    QTest::mousePress(&shown.arrow, Qt::LeftButton, {}, QPoint(10, 6));
    QTest::mouseMove(&shown.arrow, QPoint(60, 40));
    EXPECT_FALSE(shown.arrow.isDown());
    bool clean = ProcessEventsUntil(650, log.clock);
    EXPECT_TRUE(log.times.empty());
    EXPECT_TRUE(shown.arrow.Repeating());
    // Back over the button the repeats resume; releasing off it adds no click.
    QTest::mouseMove(&shown.arrow, QPoint(10, 6));
    clean = ProcessEventsUntil(750, log.clock) && clean;
    repeats = log.times.size();
    QTest::mouseMove(&shown.arrow, QPoint(60, 40));
    QTest::mouseRelease(&shown.arrow, Qt::LeftButton, {}, QPoint(60, 40));
    return clean;
  })) << "the machine was too busy for a clean hold";
  EXPECT_EQ(repeats, 1u);
  EXPECT_EQ(log.times.size(), repeats);
  EXPECT_FALSE(shown.arrow.Repeating());
}

// Reaches the repeat timer's tick without waiting for it.
class TTickableButton final : public TAutoButton {
 public:
  using TAutoButton::RepeatTimerFired;
};

TEST(AutoButton, FailingRepeatedClickStopsTheRepeating) {
  TTickableButton button;
  button.SetDoRepeat(true);
  button.resize(20, 12);
  button.show();
  int clicks = 0;
  QObject::connect(&button, &TAutoButton::clicked, &button, [&clicks] {
    if (++clicks == 2) throw std::runtime_error("step refused");
  });
  QTest::mousePress(&button, Qt::LeftButton);
  button.RepeatTimerFired();
  EXPECT_TRUE(button.Repeating());
  EXPECT_THROW(button.RepeatTimerFired(), std::runtime_error);
  EXPECT_FALSE(button.Repeating());
  EXPECT_EQ(clicks, 2);
  QTest::mouseRelease(&button, Qt::LeftButton);
}

TEST(ArrowButton, PlacesTheTriangleCornersByTheButtonSize) {
  EXPECT_THAT(TArrowButton::ArrowCorners(QSize(15, 10), false), ElementsAre(QPoint(4, 3), QPoint(10, 3), QPoint(7, 6)));
  EXPECT_THAT(TArrowButton::ArrowCorners(QSize(15, 10), true), ElementsAre(QPoint(4, 5), QPoint(10, 5), QPoint(7, 2)));
  // Division truncates toward zero on buttons narrower than the triangle.
  EXPECT_THAT(TArrowButton::ArrowCorners(QSize(4, 2), false), ElementsAre(QPoint(-1, 0), QPoint(5, 0), QPoint(2, 3)));
}

TEST(ArrowButton, DrawsBlackWhenEnabledAndGreyWhenDisabled) {
  TArrowButton arrow;
  arrow.SetUpArrow(true);
  arrow.resize(15, 11);
  arrow.show();
  const QPoint inside(7, 4);  // within the up triangle (4,6) (10,6) (7,3)
  EXPECT_EQ(arrow.grab().toImage().pixelColor(inside), QColor(0, 0, 0));
  arrow.setEnabled(false);
  EXPECT_EQ(arrow.ArrowColor(), QColor(128, 128, 128));
  EXPECT_EQ(arrow.grab().toImage().pixelColor(inside), QColor(128, 128, 128));
}

struct TShownUpDown {
  TShownUpDown() {
    QObject::connect(&pair, &TUpDownButton::OnUpClick, &pair, [this] { clicks.push_back(+1); });
    QObject::connect(&pair, &TUpDownButton::OnDownClick, &pair, [this] { clicks.push_back(-1); });
    pair.show();
  }
  TUpDownButton pair;
  std::vector<int> clicks;
};

TEST(UpDownButton, StartsAsTwoRepeatingArrowsSeventeenByTwentyThree) {
  TUpDownButton pair;
  EXPECT_EQ(pair.size(), QSize(17, 23));
  EXPECT_TRUE(pair.UpButton()->UpArrow());
  EXPECT_FALSE(pair.DownButton()->UpArrow());
  EXPECT_TRUE(pair.UpButton()->DoRepeat());
  EXPECT_TRUE(pair.DownButton()->DoRepeat());
  EXPECT_EQ(pair.FocusedButton(), pair.UpButton());
  EXPECT_FALSE(pair.TabStop());
  EXPECT_EQ(pair.UpButton()->geometry(), QRect(0, 0, 17, 11));
  EXPECT_EQ(pair.DownButton()->geometry(), QRect(0, 10, 17, 13));
}

TEST(UpDownButton, IsAtLeastFifteenWideAndItsHalvesOverlapByOnePixel) {
  TShownUpDown shown;
  shown.pair.resize(10, 20);
  EXPECT_EQ(shown.pair.size(), QSize(15, 20));
  EXPECT_EQ(shown.pair.UpButton()->geometry(), QRect(0, 0, 15, 10));
  EXPECT_EQ(shown.pair.DownButton()->geometry(), QRect(0, 9, 15, 11));
  shown.pair.resize(30, 7);
  EXPECT_EQ(shown.pair.UpButton()->geometry(), QRect(0, 0, 30, 3));
  EXPECT_EQ(shown.pair.DownButton()->geometry(), QRect(0, 2, 30, 5));
}

TEST(UpDownButton, RaisesTheEventOfTheArrowClicked) {
  TShownUpDown shown;
  QTest::mouseClick(shown.pair.UpButton(), Qt::LeftButton);
  QTest::mouseClick(shown.pair.DownButton(), Qt::LeftButton);
  QTest::mouseClick(shown.pair.DownButton(), Qt::LeftButton);
  EXPECT_THAT(shown.clicks, ElementsAre(+1, -1, -1));
}

TEST(UpDownButton, StepsByKeysWhileItHasTheFocus) {
  TShownUpDown shown;
  shown.pair.SetTabStop(true);
  shown.pair.activateWindow();
  shown.pair.setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shown.pair.hasFocus(); }, 2000));
  EXPECT_TRUE(shown.pair.UpButton()->Focused());
  QTest::keyClick(&shown.pair, Qt::Key_Space);
  QTest::keyClick(&shown.pair, Qt::Key_Down);
  EXPECT_EQ(shown.pair.FocusedButton(), shown.pair.DownButton());
  EXPECT_TRUE(shown.pair.DownButton()->Focused());
  EXPECT_FALSE(shown.pair.UpButton()->Focused());
  QTest::keyClick(&shown.pair, Qt::Key_Space);
  QTest::keyClick(&shown.pair, Qt::Key_Up);
  EXPECT_THAT(shown.clicks, ElementsAre(+1, -1, -1, +1));
  shown.pair.clearFocus();
  EXPECT_FALSE(shown.pair.UpButton()->Focused());
}

TEST(UpDownButton, DisablingDisablesBothArrows) {
  TShownUpDown shown;
  shown.pair.setEnabled(false);
  EXPECT_FALSE(shown.pair.UpButton()->isEnabled());
  EXPECT_FALSE(shown.pair.DownButton()->isEnabled());
  QTest::mouseClick(shown.pair.UpButton(), Qt::LeftButton);
  EXPECT_TRUE(shown.clicks.empty());
}

}  // namespace
