#include "controls/integer_spin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <limits>
#include <stdexcept>

#include "controls/auto_button.h"
#include "controls/beep.h"
#include "controls/up_down_button.h"
#include "tests/controls/hold_button.h"

namespace {

using testing::ElementsAre;

// A window with one spin and another edit to move the focus to.
struct TSpinForm {
  TSpinForm(int64_t minValue, int64_t maxValue, int64_t increment, int64_t value) {
    auto* layout = new QVBoxLayout(&window);
    spin = new TIntegerSpin(&window);
    other = new QLineEdit(&window);
    layout->addWidget(spin);
    layout->addWidget(other);
    spin->SetUseLimit(true);
    spin->SetMinValue(minValue);
    spin->SetMaxValue(maxValue);
    spin->SetIncrement(increment);
    spin->SetValue(value);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  void Enter() {
    spin->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(spin->hasFocus());
  }
  void Leave() {
    other->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(spin->hasFocus());
  }
  void Type(const QString& text) {
    Enter();
    spin->selectAll();
    QTest::keyClicks(spin, text);
  }
  void ClickUp() { QTest::mouseClick(spin->UpDownButton()->UpButton(), Qt::LeftButton); }
  void ClickDown() { QTest::mouseClick(spin->UpDownButton()->DownButton(), Qt::LeftButton); }

  QWidget window;
  TIntegerSpin* spin;
  QLineEdit* other;
};

TEST(IntegerSpin, StartsAtZeroWithStepOneAndNoLimit) {
  TIntegerSpin spin;
  EXPECT_EQ(spin.Text(), QStringLiteral("0"));
  EXPECT_EQ(spin.Value(), 0);
  EXPECT_EQ(spin.LastValue(), 0);
  EXPECT_EQ(spin.Increment(), 1);
  EXPECT_EQ(spin.MinValue(), 0);
  EXPECT_EQ(spin.MaxValue(), 0);
  EXPECT_FALSE(spin.UseLimit());
  EXPECT_FALSE(spin.Wrap());
  EXPECT_TRUE(spin.EditorEnabled());
  EXPECT_TRUE(spin.AutoSelect());
  EXPECT_FALSE(spin.BlockChangeEvent());
  EXPECT_EQ(spin.Alignment(), taLeftJustify);
  EXPECT_EQ(spin.PanelWidth(), 0);
  EXPECT_TRUE(spin.UnitsString().isEmpty());
  spin.SetValue(123456789012345);
  EXPECT_EQ(spin.Text(), QStringLiteral("123456789012345"));
}

TEST(IntegerSpin, ColumnSpinReadsTypedValuesWithinItsLimitsAndShowsThemOnLeaving) {
  TSpinForm form(1, 50, 1, 3);
  form.Type(QStringLiteral("75"));
  EXPECT_EQ(form.spin->Text(), QStringLiteral("75"));
  EXPECT_EQ(form.spin->Value(), 50);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("75"));
  form.Leave();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("50"));

  // Hexadecimal text comes only by paste: "x" and "$" are not typed.
  form.Enter();
  form.spin->SetText(QStringLiteral("0x10"));
  EXPECT_EQ(form.spin->Value(), 16);
  form.Leave();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("16"));
}

TEST(IntegerSpin, LeavingAnEmptySpinBringsBackTheLastValue) {
  TSpinForm form(1, 50, 1, 3);
  form.Type(QStringLiteral("12"));
  EXPECT_EQ(form.spin->Value(), 12);
  form.spin->selectAll();
  QTest::keyClick(form.spin, Qt::Key_Backspace);
  EXPECT_TRUE(form.spin->Text().isEmpty());
  EXPECT_EQ(form.spin->Value(), 12);
  form.Leave();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("12"));
}

TEST(IntegerSpin, LettersAndEnterBeepAndChangeNothing) {
  TSpinForm form(1, 50, 1, 3);
  QSignalSpy changes(form.spin, &TIntegerSpin::Change);
  form.Enter();
  form.spin->end(false);
  const uint64_t beeps = BeepCount();
  QTest::keyClick(form.spin, Qt::Key_A);
  QTest::keyClick(form.spin, Qt::Key_Return);
  QTest::keyClick(form.spin, Qt::Key_Space);
  EXPECT_EQ(BeepCount(), beeps + 3);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("3"));
  EXPECT_EQ(changes.count(), 0);
  // Digits, signs and Backspace pass without a beep.
  QTest::keyClicks(form.spin, QStringLiteral("-+5"));
  QTest::keyClick(form.spin, Qt::Key_Backspace);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("3-+"));
  EXPECT_EQ(BeepCount(), beeps + 3);
}

TEST(IntegerSpin, EnterBeepsAndStillPressesTheDefaultButton) {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* spin = new TIntegerSpin(&dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  layout->addWidget(spin);
  layout->addWidget(ok);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  spin->SetValue(4);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  spin->setFocus(Qt::TabFocusReason);
  const uint64_t beeps = BeepCount();
  QTest::keyClick(spin, Qt::Key_Return);
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(spin->Text(), QStringLiteral("4"));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(IntegerSpin, DeleteIsAKeyNotARefusedCharacter) {
  TSpinForm form(1, 500, 1, 123);
  form.Enter();
  form.spin->home(false);
  const uint64_t beeps = BeepCount();
  QTest::keyClick(form.spin, Qt::Key_Delete);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("23"));
  EXPECT_EQ(BeepCount(), beeps);
}

TEST(IntegerSpin, TakesTheLocaleDecimalSeparatorButDoesNotConvertIt) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TSpinForm form(1, 5, 1, 2);
  const uint64_t beeps = BeepCount();
  form.Type(QStringLiteral("1,5"));
  QTest::keyClicks(form.spin, QStringLiteral("."));
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(form.spin->Text(), QStringLiteral("1,5"));
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(form.spin->Value(), 2);
}

TEST(IntegerSpin, DensitySpinStopsAtItsLimits) {
  TSpinForm form(0, 100, 5, 100);
  form.spin->SetUnitsString(QStringLiteral("%"));
  QSignalSpy changes(form.spin, &TIntegerSpin::Change);
  form.ClickUp();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("100"));
  EXPECT_EQ(changes.count(), 0);
  form.ClickDown();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("95"));
  EXPECT_EQ(changes.count(), 1);
  form.spin->SetValue(0);
  form.ClickDown();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("0"));
  EXPECT_EQ(form.spin->Value(), 0);
}

TEST(IntegerSpin, RandomSpinStepsTypedValuesIntoItsRange) {
  TSpinForm form(0, 75, 5, 0);
  form.Type(QStringLiteral("73"));
  form.ClickUp();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("75"));
  form.ClickDown();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("70"));
}

TEST(IntegerSpin, LineWidthSpinReadsTextThatDoesNotConvertAsTheLastGoodWidth) {
  TSpinForm form(1, 5, 1, 1);
  form.Type(QStringLiteral("3"));
  EXPECT_EQ(form.spin->Value(), 3);
  form.Type(QStringLiteral("1.5"));
  EXPECT_EQ(form.spin->Text(), QStringLiteral("1.5"));
  EXPECT_EQ(form.spin->Value(), 3);
  form.Type(QStringLiteral("1-2"));
  EXPECT_EQ(form.spin->Value(), 3);
  form.Leave();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("3"));
}

TEST(IntegerSpin, LoopSpinWithNoLoopsShowsMinusOneAndReadsZero) {
  TSpinForm form(0, 0, 1, 0);
  form.spin->SetMaxValue(-1);
  form.spin->SetValue(0);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("-1"));
  EXPECT_EQ(form.spin->Value(), 0);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("-1"));
}

TEST(IntegerSpin, StepsByTheUpAndDownKeys) {
  TSpinForm form(1, 50, 1, 7);
  form.Enter();
  QTest::keyClick(form.spin, Qt::Key_Up);
  QTest::keyClick(form.spin, Qt::Key_Up);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("9"));
  QTest::keyClick(form.spin, Qt::Key_Down);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("8"));
}

TEST(IntegerSpin, ArrowPressPutsTheFocusIntoTheSpin) {
  TSpinForm form(1, 50, 1, 7);
  form.Leave();
  form.ClickUp();
  EXPECT_TRUE(form.spin->hasFocus());
  EXPECT_EQ(form.spin->Text(), QStringLiteral("8"));
}

TEST(IntegerSpin, ReadOnlySpinBeepsOnStepsAndKeepsItsValue) {
  TSpinForm form(1, 50, 1, 7);
  form.spin->SetReadOnly(true);
  const uint64_t beeps = BeepCount();
  form.ClickUp();
  form.ClickDown();
  form.Enter();
  QTest::keyClick(form.spin, Qt::Key_Up);
  QTest::keyClick(form.spin, Qt::Key_Down);
  EXPECT_EQ(BeepCount(), beeps + 4);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("7"));
  EXPECT_EQ(form.spin->Value(), 7);
}

TEST(IntegerSpin, OwnerIncrementWithoutHandlerLeavesTheValue) {
  TSpinForm form(0, 100, 5, 40);
  form.spin->SetOwnerIncrement(true);
  form.ClickUp();
  form.ClickDown();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("40"));
}

TEST(IntegerSpin, OwnerIncrementAsksTheHandlerAndLimitsItsAnswer) {
  TSpinForm form(0, 100, 5, 40);
  form.spin->SetOwnerIncrement(true);
  std::vector<std::pair<bool, int64_t>> asked;
  form.spin->SetOnIncrement([&asked](bool inc, int64_t& value) {
    asked.emplace_back(inc, value);
    value = inc ? value * 2 : value - 1;
  });
  form.ClickUp();
  form.ClickUp();
  form.ClickDown();
  EXPECT_THAT(asked,
              ElementsAre(std::pair(true, int64_t{40}), std::pair(true, int64_t{80}), std::pair(false, int64_t{100})));
  EXPECT_EQ(form.spin->Text(), QStringLiteral("99"));
}

TEST(IntegerSpin, WritingRaisesChangeOnlyWhenTheTextChanges) {
  TIntegerSpin spin;
  QSignalSpy changes(&spin, &TIntegerSpin::Change);
  spin.SetValue(5);
  spin.SetValue(5);
  EXPECT_EQ(changes.count(), 1);
  spin.SetBlockChangeEvent(true);
  spin.SetValue(6);
  EXPECT_EQ(changes.count(), 1);
  spin.SetBlockChangeEvent(false);
  spin.SetText(QStringLiteral("12"));
  EXPECT_EQ(changes.count(), 2);
}

TEST(IntegerSpin, SilentWriteRaisesNoChangeAndRestoresTheBlock) {
  TIntegerSpin spin;
  QSignalSpy changes(&spin, &TIntegerSpin::Change);
  spin.SetValueSilently(9);
  EXPECT_EQ(spin.Text(), QStringLiteral("9"));
  EXPECT_EQ(changes.count(), 0);
  EXPECT_FALSE(spin.BlockChangeEvent());
  spin.SetBlockChangeEvent(true);
  spin.SetValueSilently(10);
  EXPECT_TRUE(spin.BlockChangeEvent());

  // A wrap handler that fails leaves the block as it was.
  spin.SetBlockChangeEvent(false);
  spin.SetUseLimit(true);
  spin.SetWrap(true);
  spin.SetMaxValue(10);
  QObject::connect(&spin, &TIntegerSpin::Wrapped, &spin, [](int) { throw std::runtime_error("wrap refused"); });
  EXPECT_THROW(spin.SetValueSilently(12), std::runtime_error);
  EXPECT_FALSE(spin.BlockChangeEvent());
}

TEST(IntegerSpin, WrapsAndReportsTheDirection) {
  TIntegerSpin spin;
  spin.SetUseLimit(true);
  spin.SetWrap(true);
  spin.SetMaxValue(10);
  QSignalSpy wraps(&spin, &TIntegerSpin::Wrapped);
  spin.SetValue(9);
  spin.StepUp();
  EXPECT_EQ(spin.Text(), QStringLiteral("0"));
  spin.StepDown();
  EXPECT_EQ(spin.Text(), QStringLiteral("9"));
  ASSERT_EQ(wraps.count(), 2);
  EXPECT_EQ(wraps.at(0).at(0).toInt(), 0);
  EXPECT_EQ(wraps.at(1).at(0).toInt(), 1);
}

TEST(IntegerSpin, StepsWrapOnSixtyFourBitOverflowWithoutLimits) {
  TIntegerSpin spin;
  spin.SetValue(std::numeric_limits<int64_t>::max());
  spin.StepUp();
  EXPECT_EQ(spin.Value(), std::numeric_limits<int64_t>::min());
}

TEST(IntegerSpin, WithEditorDisabledRefusesTypingAndPaste) {
  TSpinForm form(0, 1000, 1, 7);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("42"));
  if (clipboard->text() != QStringLiteral("42")) GTEST_SKIP() << "no clipboard on this platform";
  form.Enter();
  form.spin->selectAll();
  form.spin->Paste();
  ASSERT_EQ(form.spin->Text(), QStringLiteral("42"));

  form.spin->SetEditorEnabled(false);
  const uint64_t beeps = BeepCount();
  form.spin->selectAll();
  form.spin->Paste();
  QTest::keyClick(form.spin, Qt::Key_V, Qt::ControlModifier);
  form.spin->Cut();
  QTest::keyClick(form.spin, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("42"));
  EXPECT_EQ(BeepCount(), beeps);
  QTest::keyClick(form.spin, Qt::Key_5);
  QTest::keyClick(form.spin, Qt::Key_Backspace);
  EXPECT_EQ(BeepCount(), beeps + 2);
  EXPECT_EQ(form.spin->Text(), QStringLiteral("42"));
  // The arrows still step.
  form.ClickUp();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("43"));
}

TEST(CustomSpin, ShowsTheUnitsPanelBetweenTheNumberAndTheArrows) {
  TSpinForm form(0, 100, 5, 100);
  TCustomSpin& spin = *form.spin;
  const TUpDownButton& pair = *spin.UpDownButton();
  const int bw = pair.width();
  EXPECT_EQ(bw, 15);
  EXPECT_EQ(pair.geometry(), QRect(spin.width() - bw - 2, 2, bw, spin.height() - 4));
  EXPECT_FALSE(spin.UnitsPanel()->isVisible());
  EXPECT_EQ(spin.textMargins().right(), bw + 2);

  spin.SetUnitsString(QStringLiteral("%"));
  const int textWidth = QFontMetrics(spin.UnitsPanel()->font()).horizontalAdvance(QStringLiteral("%"));
  EXPECT_TRUE(spin.UnitsPanel()->isVisible());
  EXPECT_EQ(spin.UnitsString(), QStringLiteral("%"));
  EXPECT_EQ(spin.UnitsPanel()->geometry(), QRect(pair.x() - textWidth - 6, pair.y(), textWidth + 6, pair.height()));
  EXPECT_EQ(spin.textMargins().right(), bw + 2 + textWidth + 6);

  spin.SetPanelWidth(30);
  EXPECT_EQ(spin.UnitsPanel()->geometry(), QRect(pair.x() - 30, pair.y(), 30, pair.height()));
  spin.SetUnitsString(QStringLiteral("metres"));
  EXPECT_EQ(spin.UnitsPanel()->width(), 30);
  EXPECT_EQ(spin.textMargins().right(), bw + 2 + 30);

  spin.SetUnitsString(QString());
  EXPECT_FALSE(spin.UnitsPanel()->isVisible());
  EXPECT_EQ(spin.UnitsPanel()->width(), 0);
  EXPECT_EQ(spin.textMargins().right(), bw + 2);
  EXPECT_EQ(spin.Text(), QStringLiteral("100"));
}

TEST(CustomSpin, FollowsItsWidthAndGrowsToTheHeightItsFontNeeds) {
  QWidget window;
  TIntegerSpin spin(&window);
  window.show();
  EXPECT_EQ(spin.MinHeight(), QFontMetrics(spin.font()).height() + 4);
  spin.resize(120, 5);
  EXPECT_EQ(spin.height(), spin.MinHeight());
  spin.resize(90, 40);
  EXPECT_EQ(spin.size(), QSize(90, 40));
  EXPECT_EQ(spin.UpDownButton()->geometry(), QRect(90 - 15 - 2, 2, 15, 36));
  EXPECT_EQ(spin.UpDownButton()->DownButton()->geometry(), QRect(0, 17, 15, 19));
}

TEST(CustomSpin, DisablingGreysTheArrowsAndTheUnitsText) {
  TSpinForm form(0, 100, 5, 50);
  form.spin->SetUnitsString(QStringLiteral("%"));
  form.spin->setEnabled(false);
  EXPECT_FALSE(form.spin->UpDownButton()->UpButton()->isEnabled());
  EXPECT_EQ(form.spin->UpDownButton()->UpButton()->ArrowColor(), QColor(128, 128, 128));
  EXPECT_EQ(form.spin->UpDownButton()->DownButton()->ArrowColor(), QColor(128, 128, 128));
  const QLabel& panel = *form.spin->UnitsPanel();
  EXPECT_FALSE(panel.isEnabled());
  EXPECT_EQ(panel.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(128, 128, 128));
  form.ClickUp();
  EXPECT_EQ(form.spin->Text(), QStringLiteral("50"));
  form.spin->setEnabled(true);
  EXPECT_EQ(form.spin->UpDownButton()->UpButton()->ArrowColor(), QColor(0, 0, 0));
  EXPECT_EQ(panel.palette().color(panel.foregroundRole()), QColor(0, 0, 0));
}

TEST(CustomSpin, EnteringSelectsTheWholeTextWhenAutoSelectIsOn) {
  TSpinForm form(1, 500, 1, 123);
  form.Leave();
  form.spin->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(form.spin->selectedText(), QStringLiteral("123"));
  form.Leave();
  form.spin->SetAutoSelect(false);
  form.spin->setFocus(Qt::OtherFocusReason);
  EXPECT_TRUE(form.spin->selectedText().isEmpty());
}

TEST(CustomSpin, AlignsItsText) {
  TIntegerSpin spin;
  spin.SetAlignment(taRightJustify);
  EXPECT_EQ(spin.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  spin.SetAlignment(taCenter);
  EXPECT_EQ(spin.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  spin.SetAlignment(taLeftJustify);
  EXPECT_EQ(spin.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(CustomSpin, HoldingAnArrowStepsEveryRepeatThroughTheLimits) {
  TSpinForm form(0, 5, 1, 0);
  TArrowButton* up = form.spin->UpDownButton()->UpButton();
  QElapsedTimer clock;
  ASSERT_TRUE(RetryUntilClean([&] {
    form.spin->SetValue(0);
    clock.start();
    return HoldButton(up, Qt::LeftButton, 950, clock);
  }));
  // Seven steps from 0, held at the upper limit 5.
  EXPECT_EQ(form.spin->Text(), QStringLiteral("5"));
  EXPECT_EQ(form.spin->LastValue(), 6);
  form.spin->SetMaxValue(100);
  ASSERT_TRUE(RetryUntilClean([&] {
    form.spin->SetValue(0);
    clock.start();
    return HoldButton(up, Qt::LeftButton, 950, clock);
  }));
  EXPECT_EQ(form.spin->Text(), QStringLiteral("7"));
}

}  // namespace
